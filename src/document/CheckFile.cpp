#include "document/CheckFile.h"

#include "platform/DurableFile.h"

namespace {

QString saveFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be saved to \"%1\". %2").arg(path, reason);
}

QString openFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be opened from \"%1\". %2").arg(path, reason);
}

} // namespace

void CheckFile::write(const QString& path, const CheckRecord& record)
{
    try {
        DurableFile::writeStart(path, record.toBytes());
    } catch (const FileFailure& failure) {
        throw QuilloError(saveFailure(path, failure.message()));
    }
}

CheckRecord CheckFile::read(const QString& path)
{
    try {
        // The record refuses data shorter than itself; the file says so by name.
        return CheckRecord::fromBytes(DurableFile::readStart(path, CheckRecord::ByteLength));
    } catch (const QuilloError& error) {
        throw QuilloError(openFailure(path, error.message()));
    }
}
