#include "register/ProofCopies.h"

#include "platform/DurableFile.h"
#include "platform/PrivateFiles.h"
#include "register/RegisterCipher.h"
#include "register/RegisterError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QByteArray sealContext(const QByteArray& sha256)
{
    return QByteArrayLiteral("quillo-register\x1fproof\x1f") + sha256.toHex();
}

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

ProofCopies::ProofCopies(QString folder, const RegisterCipher& cipher) : m_folder(std::move(folder)), m_cipher(cipher)
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

std::optional<QByteArray> ProofCopies::sha256Of(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return std::nullopt;
    return hash.result();
}

QString ProofCopies::nameFor(const QByteArray& sha256) const
{
    return QString::fromLatin1(m_cipher.blindIndex(QByteArrayLiteral("proof\x1f") + sha256).toHex()) +
           QStringLiteral(".proof");
}

QString ProofCopies::pathOf(const QString& name) const
{
    return m_folder + QLatin1Char('/') + name;
}

QString ProofCopies::keep(const QString& path, const QByteArray& sha256)
{
    const QString name = nameFor(sha256);
    if (QFile::exists(pathOf(name)))
        return name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RegisterError(QStringLiteral("the proof file %1 cannot be read").arg(shown(path)));
    const QByteArray clear = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RegisterError(QStringLiteral("the proof file %1 cannot be read").arg(shown(path)));
    if (QCryptographicHash::hash(clear, QCryptographicHash::Sha256) != sha256)
        throw RegisterError(QStringLiteral("the proof file %1 has changed since it was chosen").arg(shown(path)));
    if (!PrivateFiles::makeFolder(m_folder))
        throw RegisterError(QStringLiteral("the folder %1 cannot be created").arg(shown(m_folder)));
    try {
        DurableFile::replaceWhole(pathOf(name), m_cipher.sealBytes(clear, sealContext(sha256)));
    } catch (const FileFailure& failure) {
        throw RegisterError(QStringLiteral("the copy of the proof file cannot be written in %1: %2")
                                .arg(shown(m_folder), inSentence(failure.message())));
    }
    return name;
}

QByteArray ProofCopies::open(const QByteArray& sha256) const
{
    const QString name = nameFor(sha256);
    QFile file(pathOf(name));
    if (!file.open(QIODevice::ReadOnly))
        throw RegisterError(QStringLiteral("the copy of the proof file %1 is missing").arg(shown(pathOf(name))));
    // A copy that does not open is no longer the file its SHA-256 names, just as one that opens to other bytes.
    const QString altered =
        QStringLiteral("the register's copy does not match the SHA-256 recorded with the authorization (%1)")
            .arg(QString::fromLatin1(sha256.toHex()));
    QByteArray clear;
    try {
        clear = m_cipher.openBytes(file.readAll(), sealContext(sha256));
    } catch (const RegisterError&) {
        throw RegisterError(altered);
    }
    if (QCryptographicHash::hash(clear, QCryptographicHash::Sha256) != sha256)
        throw RegisterError(altered);
    return clear;
}

void ProofCopies::remove(const QString& name)
{
    QFile::remove(pathOf(name));
}
