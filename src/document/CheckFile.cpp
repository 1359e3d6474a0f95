#include "document/CheckFile.h"

#include "document/CheckFileExtension.h"
#include "document/Windows1252.h"
#include "platform/DurableFile.h"

#include <QFileInfo>

#include <algorithm>

namespace {

QString saveFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be saved to \"%1\". %2").arg(path, reason);
}

QString openFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be opened from \"%1\". %2").arg(path, reason);
}

// Whether the record keeps every value as typed: spaces at the end of a value
// are the field's fill, so losing them loses nothing, and what is left must
// fit the field in characters the code page holds.
bool recordKeepsAll(const CheckTexts& texts)
{
    return std::all_of(texts.begin(), texts.end(), [](const QString& typed) {
        QStringView value(typed);
        while (value.endsWith(QLatin1Char(' ')))
            value.chop(1);
        return value.size() <= CheckRecord::FieldLength && Windows1252::represents(value);
    });
}

// What follows the record in the file at `path` now.
enum class Tail { None, Own, Foreign };

Tail tailOf(const QString& path)
{
    QByteArray start;
    try {
        start = DurableFile::readStart(path, CheckRecord::ByteLength + CheckFileExtension::MagicLength);
    } catch (const FileFailure&) {
        // A file that cannot be read may hold anything after the record.
        return QFileInfo::exists(path) ? Tail::Foreign : Tail::None;
    }
    if (start.size() <= CheckRecord::ByteLength)
        return Tail::None;
    return CheckFileExtension::isOwn(start.sliced(CheckRecord::ByteLength)) ? Tail::Own : Tail::Foreign;
}

} // namespace

CheckFile::Kept CheckFile::write(const QString& path, const CheckTexts& texts)
{
    const QByteArray record = CheckRecord::fromWindow(texts).toBytes();
    QByteArray extension;
    if (!recordKeepsAll(texts))
        extension = CheckFileExtension::write(record, texts);
    if (extension.size() > CheckFileExtension::MaxLength)
        extension.clear(); // more than any window holds; Open would not read it
    try {
        switch (tailOf(path)) {
        case Tail::None:
            // Without an extension, a file is written in place as it always was.
            if (extension.isEmpty())
                DurableFile::writeStart(path, record);
            else
                DurableFile::writeWhole(path, record + extension);
            break;
        case Tail::Own:
            DurableFile::writeWhole(path, record + extension);
            break;
        case Tail::Foreign:
            DurableFile::writeStart(path, record);
            extension.clear();
            break;
        }
    } catch (const FileFailure& failure) {
        throw QuilloError(saveFailure(path, failure.message()));
    }
    return extension.isEmpty() ? Kept::Record : Kept::WholeValues;
}

CheckTexts CheckFile::read(const QString& path)
{
    return open(path).texts;
}

CheckFile::Opened CheckFile::open(const QString& path)
{
    try {
        const QByteArray bytes =
            DurableFile::readStart(path, CheckRecord::ByteLength + CheckFileExtension::MaxLength + 1);
        // The record refuses data shorter than itself; the file says so by name.
        const CheckRecord record = CheckRecord::fromBytes(bytes);
        const QByteArrayView recordBytes = QByteArrayView(bytes).first(CheckRecord::ByteLength);
        const QByteArrayView tail = QByteArrayView(bytes).sliced(CheckRecord::ByteLength);
        if (std::optional<CheckTexts> whole = CheckFileExtension::read(recordBytes, tail))
            return {*whole, {}};
        return {record.toWindow(), CheckFileExtension::cutBoxes(recordBytes, tail)};
    } catch (const QuilloError& error) {
        throw QuilloError(openFailure(path, error.message()));
    }
}
