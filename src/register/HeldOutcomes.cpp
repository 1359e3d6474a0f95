#include "register/HeldOutcomes.h"

#include "platform/DurableFile.h"
#include "platform/PrivateFiles.h"
#include "register/RegisterError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

HeldOutcomes::HeldOutcomes(QString file) : m_file(std::move(file)) {}

QList<QByteArray> HeldOutcomes::all() const
{
    QFile file(m_file);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> records;
    for (const QByteArray& line : file.readAll().split('\n')) {
        // A line of nothing, or of nothing but what is not Base64, holds no
        // record: written back, it would read as no line at all.
        const QByteArray record = QByteArray::fromBase64(line);
        if (!record.isEmpty())
            records.append(record);
    }
    return records;
}

void HeldOutcomes::add(const QByteArray& sealed)
{
    write(all() << sealed);
}

void HeldOutcomes::keepOnly(const QList<QByteArray>& left)
{
    if (left.isEmpty()) {
        QFile::remove(m_file);
        return;
    }
    write(left);
}

void HeldOutcomes::write(const QList<QByteArray>& records)
{
    const QString folder = QFileInfo(m_file).absolutePath();
    QByteArray lines;
    for (const QByteArray& record : records)
        lines += record.toBase64() + '\n';
    try {
        if (!PrivateFiles::makeFolder(folder))
            throw FileFailure(QStringLiteral("The folder cannot be created."));
        DurableFile::replaceWhole(m_file, lines);
    } catch (const FileFailure& failure) {
        QString why = failure.message();
        if (why.endsWith(QLatin1Char('.')))
            why.chop(1);
        throw RegisterError(
            QStringLiteral("what became of it cannot be kept in %1 either: %2")
                .arg(QDir::toNativeSeparators(m_file), why.isEmpty() ? why : why.front().toLower() + why.mid(1)));
    }
}
