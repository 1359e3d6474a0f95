#include "register/ProofCopies.h"

#include "register/FolderProofShelf.h"
#include "register/ProofFileCheck.h"
#include "register/ProofFileError.h"
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

} // namespace

ProofCopies::ProofCopies(QString folder, const RegisterCipher& cipher)
    : ProofCopies(std::make_unique<FolderProofShelf>(std::move(folder)), cipher)
{}

ProofCopies::ProofCopies(std::unique_ptr<ProofShelf> shelf, const RegisterCipher& cipher)
    : m_shelf(std::move(shelf)), m_cipher(cipher)
{}

ProofCopies::~ProofCopies() = default;

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

QString ProofCopies::keep(const QString& path, const QByteArray& sha256)
{
    const QString name = nameFor(sha256);
    if (m_shelf->has(name))
        return name;
    // Read as it was when chosen (no pipe, no device, no more than a proof
    // needs); what has become of it since is the authorization's problem.
    const ProofFileCheck::Result chosen = ProofFileCheck::readChosen(path, sha256);
    if (!chosen.problem.isEmpty())
        throw ProofFileError(QStringLiteral("the proof file %1 is no longer the file chosen").arg(shown(path)),
                             chosen.problem);
    m_shelf->put(name, m_cipher.sealBytes(chosen.bytes, sealContext(sha256)));
    return name;
}

QByteArray ProofCopies::open(const QByteArray& sha256) const
{
    const QString name = nameFor(sha256);
    const QByteArray sealed = m_shelf->read(name);
    // A copy that does not open is no longer the file its SHA-256 names, just as one that opens to other bytes.
    const QString altered =
        QStringLiteral("the register's copy does not match the SHA-256 recorded with the authorization (%1)")
            .arg(QString::fromLatin1(sha256.toHex()));
    QByteArray clear;
    try {
        clear = m_cipher.openBytes(sealed, sealContext(sha256));
    } catch (const RegisterError&) {
        throw RegisterError(altered);
    }
    if (QCryptographicHash::hash(clear, QCryptographicHash::Sha256) != sha256)
        throw RegisterError(altered);
    return clear;
}

void ProofCopies::remove(const QString& name)
{
    m_shelf->remove(name);
}
