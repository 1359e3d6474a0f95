#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>

// The fourteen boxes of the cheque, numbered as the window numbers them:
// Text1 is Box::PayorLine1, Text14 is Box::Memo.
enum class Box {
    PayorLine1 = 1,
    PayorLine2,
    PayorLine3,
    BankLine1,
    BankLine2,
    CheckNumber,
    Payee,
    AmountInWords,
    AmountInFigures,
    CheckDate,
    RoutingNumber,
    AccountNumber,
    MicrCheckNumber,
    Memo,
};

// How many boxes the cheque has.
inline constexpr int BoxCount = static_cast<int>(Box::Memo);

// The number of the box's text box: Text<number>.
constexpr int numberOf(Box box)
{
    return static_cast<int>(box);
}

// Every box, Text1 to Text14 in order.
inline constexpr std::array<Box, BoxCount> AllBoxes = [] {
    std::array<Box, BoxCount> boxes{};
    for (int k = 0; k < BoxCount; ++k)
        boxes[static_cast<std::size_t>(k)] = static_cast<Box>(k + 1);
    return boxes;
}();

// One value for each box, indexed by the box.
template <typename T> class PerBox {
public:
    PerBox() = default;
    // The values of Text1, Text2 and so on; boxes not given keep T's default.
    PerBox(std::initializer_list<T> values)
    {
        std::size_t k = 0;
        for (auto value = values.begin(); value != values.end() && k < m_values.size(); ++value)
            m_values[k++] = *value;
    }

    T& operator[](Box box) { return m_values[indexOf(box)]; }
    const T& operator[](Box box) const { return m_values[indexOf(box)]; }

    // In box order, for reading or changing all values alike.
    auto begin() { return m_values.begin(); }
    auto end() { return m_values.end(); }
    auto begin() const { return m_values.begin(); }
    auto end() const { return m_values.end(); }
    static constexpr std::size_t size() { return BoxCount; }

    bool operator==(const PerBox&) const = default;

private:
    static constexpr std::size_t indexOf(Box box) { return static_cast<std::size_t>(numberOf(box) - 1); }

    std::array<T, BoxCount> m_values{};
};
