#include "document/CheckFileExtension.h"

#include <QCryptographicHash>
#include <QStringDecoder>
#include <QtEndian>

namespace {

constexpr QByteArrayView Magic("\x89QLO\r\n\x1a\n", CheckFileExtension::MagicLength);
constexpr quint16 Version = 1;
constexpr qsizetype ChecksumLength = 32;
constexpr qsizetype LengthOffset = 10;
constexpr qsizetype RecordChecksumOffset = 14;
constexpr qsizetype ValuesOffset = RecordChecksumOffset + ChecksumLength;

QByteArray checksum(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

// The part of the record that the extension belongs to: its fourteen fields.
QByteArray recordChecksum(QByteArrayView record)
{
    return checksum(record.sliced(CheckRecord::FieldLength, CheckRecord::ByteLength - CheckRecord::FieldLength));
}

template <typename Number> void append(QByteArray& bytes, Number value)
{
    char little[sizeof(Number)];
    qToLittleEndian(value, little);
    bytes.append(little, sizeof little);
}

template <typename Number> Number numberAt(QByteArrayView bytes, qsizetype offset)
{
    return qFromLittleEndian<Number>(bytes.data() + offset);
}

// The text of `utf8`, or nothing when it is not UTF-8. A leading U+FEFF is
// part of the value, not a byte-order mark.
std::optional<QString> decoded(QByteArrayView utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder(utf8);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

QByteArray CheckFileExtension::write(QByteArrayView record, const CheckTexts& texts)
{
    QByteArray bytes = Magic.toByteArray();
    append<quint16>(bytes, Version);
    append<quint32>(bytes, 0); // the length, once known
    bytes += recordChecksum(record);
    for (const QString& value : texts) {
        const QByteArray utf8 = value.toUtf8();
        append<quint32>(bytes, static_cast<quint32>(utf8.size()));
        bytes += utf8;
    }
    qToLittleEndian(static_cast<quint32>(bytes.size() + ChecksumLength), bytes.data() + LengthOffset);
    bytes += checksum(bytes);
    return bytes;
}

std::optional<CheckTexts> CheckFileExtension::read(QByteArrayView record, QByteArrayView tail)
{
    if (tail.size() < ValuesOffset + ChecksumLength || tail.size() > MaxLength || !isOwn(tail) ||
        numberAt<quint16>(tail, Magic.size()) != Version || numberAt<quint32>(tail, LengthOffset) != tail.size())
        return std::nullopt;
    const qsizetype end = tail.size() - ChecksumLength;
    if (checksum(tail.first(end)) != tail.sliced(end) ||
        recordChecksum(record) != tail.sliced(RecordChecksumOffset, ChecksumLength))
        return std::nullopt;

    CheckTexts texts;
    qsizetype at = ValuesOffset;
    for (QString& value : texts) {
        if (end - at < qsizetype(sizeof(quint32)))
            return std::nullopt;
        const quint32 length = numberAt<quint32>(tail, at);
        at += sizeof(quint32);
        if (length > quint64(end - at))
            return std::nullopt;
        const std::optional<QString> text = decoded(tail.sliced(at, length));
        if (!text)
            return std::nullopt;
        value = *text;
        at += length;
    }
    if (at != end)
        return std::nullopt;
    return texts;
}

QList<Box> CheckFileExtension::cutBoxes(QByteArrayView record, QByteArrayView tail)
{
    if (!isOwn(tail) || read(record, tail))
        return {};
    if (tail.size() >= ValuesOffset && recordChecksum(record) != tail.sliced(RecordChecksumOffset, ChecksumLength))
        return {};
    const CheckTexts fields = CheckRecord::fromBytes(record).toWindow();
    QList<Box> cut;
    for (Box box : AllBoxes) {
        const QString& field = fields[box];
        if (field.size() >= CheckRecord::FieldLength && field.back() != QLatin1Char(' '))
            cut.append(box);
    }
    return cut;
}

bool CheckFileExtension::isOwn(QByteArrayView tail)
{
    return tail.startsWith(Magic);
}
