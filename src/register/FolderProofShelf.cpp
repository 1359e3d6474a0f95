#include "register/FolderProofShelf.h"

#include "platform/DurableFile.h"
#include "platform/PrivateFiles.h"
#include "register/RegisterError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// "The disk is full." as part of a reason: "the disk is full".
QString inSentence(QString sentence)
{
    if (sentence.endsWith(QLatin1Char('.')))
        sentence.chop(1);
    if (!sentence.isEmpty())
        sentence[0] = sentence[0].toLower();
    return sentence;
}

} // namespace

FolderProofShelf::FolderProofShelf(QString folder) : m_folder(std::move(folder))
{
    // Copies kept by an older version, or in a folder another program made,
    // become the merchant's alone; new ones are made so (DurableFile).
    if (!QFileInfo::exists(m_folder))
        return;
    PrivateFiles::tighten(m_folder);
    const QStringList copies = QDir(m_folder).entryList({QStringLiteral("*.proof")}, QDir::Files | QDir::Hidden);
    for (const QString& name : copies)
        PrivateFiles::tighten(pathOf(name));
}

QString FolderProofShelf::pathOf(const QString& name) const
{
    return m_folder + QLatin1Char('/') + name;
}

bool FolderProofShelf::has(const QString& name)
{
    return QFile::exists(pathOf(name));
}

void FolderProofShelf::put(const QString& name, const QByteArray& sealed)
{
    if (!PrivateFiles::makeFolder(m_folder))
        throw RegisterError(QStringLiteral("the folder %1 cannot be created").arg(shown(m_folder)));
    try {
        DurableFile::replaceWhole(pathOf(name), sealed);
    } catch (const FileFailure& failure) {
        throw RegisterError(QStringLiteral("the copy of the proof file cannot be written in %1: %2")
                                .arg(shown(m_folder), inSentence(failure.message())));
    }
}

QByteArray FolderProofShelf::read(const QString& name)
{
    QFile file(pathOf(name));
    if (!file.open(QIODevice::ReadOnly))
        throw RegisterError(QStringLiteral("the copy of the proof file %1 is missing").arg(shown(pathOf(name))));
    return file.readAll();
}

void FolderProofShelf::remove(const QString& name)
{
    QFile::remove(pathOf(name));
}
