#pragma once

#include <array>

// Where each of the fourteen values of a draft is kept, and which are sealed
// (the payor's lines and the bank line's numbers). The one list that both the
// register and its storage follow.
namespace RegisterColumns {

struct Box {
    int box; // Text<box>
    const char* column;
    bool sealed;
};

inline constexpr std::array<Box, 14> Boxes = {{
    {1, "payor_line1", true},
    {2, "payor_line2", true},
    {3, "payor_line3", true},
    {4, "bank_line1", false},
    {5, "bank_line2", false},
    {6, "check_number", false},
    {7, "payee", false},
    {8, "amount_in_words", false},
    {9, "amount_in_figures", false},
    {10, "check_date", false},
    {11, "routing_number", true},
    {12, "account_number", true},
    {13, "micr_check_number", true},
    {14, "memo", false},
}};

} // namespace RegisterColumns
