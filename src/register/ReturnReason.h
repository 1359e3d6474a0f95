#pragma once

#include <QString>
#include <optional>
#include <vector>

// Why a bank returned a draft, from the standard list of check return
// reasons. Other carries the merchant's own words.
enum class ReturnReason {
    InsufficientFunds,
    UncollectedFunds,
    StopPayment,
    AccountClosed,
    NoAccount,
    AccountFrozen,
    StaleDated,
    PostDated,
    ReferToMaker,
    NotAuthorized,
    AlteredOrFictitious,
    Other,
};

namespace ReturnReasons {

// Every reason, in the order the return dialog lists them.
const std::vector<ReturnReason>& all();

// "Insufficient funds", "Not authorized"...
QString name(ReturnReason reason);

// The code the register file keeps ("insufficient-funds"...), and back;
// nothing for a text that names no reason.
QString code(ReturnReason reason);
std::optional<ReturnReason> fromCode(const QString& code);

// A return that says the customer will not pay drafts on the account at
// all: every later draft on it is marked and asked about.
bool refusesAccount(ReturnReason reason);

} // namespace ReturnReasons
