#include "document/BoxNames.h"

#include <array>

namespace {

constexpr std::array<const char*, BoxCount> Names = {
    "Payor Name and Address, line 1",
    "Payor Name and Address, line 2",
    "Payor Name and Address, line 3",
    "Bank Name and Address, line 1",
    "Bank Name and Address, line 2",
    "Check No.",
    "Pay to the Order of",
    "In the Amount of",
    "Amount",
    "Date",
    "9 Digit Routing No.",
    "Account No.",
    "Check No. on the MICR line",
    "Memo",
};

} // namespace

QString BoxNames::of(Box box)
{
    return QString::fromLatin1(Names.at(static_cast<std::size_t>(numberOf(box) - 1)));
}
