#pragma once

#include "document/Box.h"

#include <array>

// Where each of the fourteen values of a draft is kept, and which are sealed
// (the payor's lines and the bank line's numbers). The one list that both the
// register and its storage follow.
namespace RegisterColumns {

struct Column {
    ::Box box;
    const char* column;
    bool sealed;
};

inline constexpr std::array<Column, BoxCount> Boxes = {{
    {::Box::PayorLine1, "payor_line1", true},
    {::Box::PayorLine2, "payor_line2", true},
    {::Box::PayorLine3, "payor_line3", true},
    {::Box::BankLine1, "bank_line1", false},
    {::Box::BankLine2, "bank_line2", false},
    {::Box::CheckNumber, "check_number", false},
    {::Box::Payee, "payee", false},
    {::Box::AmountInWords, "amount_in_words", false},
    {::Box::AmountInFigures, "amount_in_figures", false},
    {::Box::CheckDate, "check_date", false},
    {::Box::RoutingNumber, "routing_number", true},
    {::Box::AccountNumber, "account_number", true},
    {::Box::MicrCheckNumber, "micr_check_number", true},
    {::Box::Memo, "memo", false},
}};

} // namespace RegisterColumns
