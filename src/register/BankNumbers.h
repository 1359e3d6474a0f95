#pragma once

#include "document/CheckRecord.h"

#include <QString>

// How the register reads the bank numbers of a draft that were typed as free
// text: by their digits, as a bank's reader does, so that "A021000021A" and
// "021000021" are the same routing number and a file's fill spaces count for
// nothing.
namespace BankNumbers {

// The digits of `value`, in order; everything else is left out.
QString digits(const QString& value);

// The number that identifies the check: the digits of the bank line's check
// number (Text13), or of the top one (Text6) when the bank line has none,
// without leading zeros. Empty when neither has a digit.
QString chequeNumber(const CheckTexts& texts);

// The last four digits of the account number (fewer when it has fewer).
QString lastFour(const QString& account);

// The account as the register shows it: "****" and its last four digits;
// empty for an account without digits.
QString masked(const QString& lastFour);

} // namespace BankNumbers
