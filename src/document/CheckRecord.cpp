#include "document/CheckRecord.h"

#include "document/Windows1252.h"
#include "platform/QuilloError.h"

#include <algorithm>

namespace {

using FieldMember = QString CheckRecord::*;

constexpr std::array<FieldMember, CheckRecord::FieldCount> Fields = {
    &CheckRecord::Reserved,      &CheckRecord::PayorLine1,      &CheckRecord::PayorLine2,  &CheckRecord::PayorLine3,
    &CheckRecord::BankLine1,     &CheckRecord::BankLine2,       &CheckRecord::CheckNumber, &CheckRecord::Payee,
    &CheckRecord::AmountInWords, &CheckRecord::AmountInFigures, &CheckRecord::CheckDate,   &CheckRecord::RoutingNumber,
    &CheckRecord::AccountNumber, &CheckRecord::MicrCheckNumber, &CheckRecord::Memo,
};

} // namespace

QString fixedWidth(const QString& value, int width)
{
    if (value.size() >= width)
        return value.left(width);
    return value + QString(width - value.size(), QLatin1Char(' '));
}

QString withoutTrailingSpaces(const QString& value)
{
    qsizetype end = value.size();
    while (end > 0 && value.at(end - 1) == QLatin1Char(' '))
        --end;
    return value.left(end);
}

CheckRecord::CheckRecord()
{
    // One field of NULs, which every new record's fields share until they change.
    static const QString nuls(FieldLength, QChar(u'\0'));
    for (FieldMember member : Fields)
        this->*member = nuls;
}

QString& CheckRecord::field(int index)
{
    return this->*Fields.at(static_cast<std::size_t>(index));
}

const QString& CheckRecord::field(int index) const
{
    return this->*Fields.at(static_cast<std::size_t>(index));
}

CheckRecord CheckRecord::fromWindow(const CheckTexts& texts)
{
    CheckRecord record;
    for (Box box : AllBoxes)
        record.field(numberOf(box)) = fixedWidth(texts[box], FieldLength);
    return record;
}

CheckTexts CheckRecord::toWindow() const
{
    CheckTexts texts;
    for (Box box : AllBoxes)
        texts[box] = field(numberOf(box));
    return texts;
}

QByteArray CheckRecord::toBytes() const
{
    // A field assigned by hand may not hold 32 characters; the file form
    // always does, so each field is cut or filled with spaces to 32 bytes.
    QByteArray bytes(ByteLength, ' ');
    for (int k = 0; k < FieldCount; ++k) {
        const QByteArray encoded =
            Windows1252::encode(QStringView(field(k)).first(std::min<qsizetype>(field(k).size(), FieldLength)));
        std::copy(encoded.begin(), encoded.end(), bytes.begin() + k * FieldLength);
    }
    return bytes;
}

CheckRecord CheckRecord::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() < ByteLength) {
        throw QuilloError(QStringLiteral("The file is too short to be a check: it holds %1 bytes, "
                                         "and a check file holds %2.")
                              .arg(bytes.size())
                              .arg(ByteLength));
    }
    CheckRecord record;
    for (int k = 0; k < FieldCount; ++k)
        record.field(k) = Windows1252::decode(bytes.sliced(k * FieldLength, FieldLength));
    return record;
}
