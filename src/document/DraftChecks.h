#pragma once

#include "document/CheckRecord.h"

#include <QDate>
#include <QString>

// The mistakes for which banks return drafts: a routing number no bank has,
// characters a MICR reader does not know, check numbers that differ, words
// and figures that disagree, and a missing, stale or postdated date. The
// checks only say what looks wrong; nothing is changed and nothing is refused.
namespace DraftChecks {

// Why each of Text1 to Text14 looks wrong, one sentence or more; empty for a
// box that looks right. The texts are read without their trailing spaces, and
// `today` is the day the draft's date is measured against. A draft that has
// no value in any box yet is not checked at all: nothing is wrong with a
// draft not begun.
using Reasons = PerBox<QString>;
Reasons run(const CheckTexts& texts, const QDate& today);

// Whether no box holds anything but spaces.
bool isUntouched(const CheckTexts& texts);

} // namespace DraftChecks
