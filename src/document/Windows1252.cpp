#include "document/Windows1252.h"

#include <algorithm>
#include <array>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals
// Latin-1. The five undefined bytes stand for the C1 controls of their value.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

constexpr char Unrepresentable = '?';

char16_t decodeByte(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x80 && value < 0xA0 ? HighControls[value - 0x80] : char16_t(value);
}

char encodeUnit(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return Unrepresentable;
}

} // namespace

namespace Windows1252 {

// Both directions write into a result of its final size: each of a record's
// fifteen fields is converted at every Open and Save.
QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    std::transform(text.begin(), text.end(), bytes.begin(), [](QChar ch) { return encodeUnit(ch.unicode()); });
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    std::transform(bytes.begin(), bytes.end(), text.begin(), [](char byte) { return QChar(decodeByte(byte)); });
    return text;
}

bool represents(QStringView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar ch) { return decodeByte(encodeUnit(ch.unicode())) == ch.unicode(); });
}

} // namespace Windows1252
