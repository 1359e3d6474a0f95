#include "register/DraftProof.h"

#include "platform/DurableFile.h"
#include "platform/PrivateFiles.h"
#include "register/DraftRegister.h"
#include "register/RegisterError.h"

#include <QCryptographicHash>
#include <QDir>

namespace {

QString notSaved(const AuthorizationRecord& authorization)
{
    return QStringLiteral("The proof file \"%1\" was not saved: ").arg(authorization.proofFile);
}

} // namespace

std::optional<QString> DraftProof::missing(const DraftDetails& draft)
{
    if (!draft.record.authorization)
        return QStringLiteral("The draft was printed without an authorization record.");
    if (!draft.record.authorization->hasProof())
        return QStringLiteral("The draft's authorization has no proof file.");
    return std::nullopt;
}

QByteArray DraftProof::checked(const QByteArray& bytes, const AuthorizationRecord& authorization)
{
    if (QCryptographicHash::hash(bytes, QCryptographicHash::Sha256) != authorization.proofSha256)
        throw QuilloError(notSaved(authorization) +
                          QStringLiteral("the register's copy does not match the SHA-256 recorded with the "
                                         "authorization (%1).")
                              .arg(QString::fromLatin1(authorization.proofSha256.toHex())));
    return bytes;
}

QByteArray DraftProof::opened(DraftRegister& drafts, const DraftDetails& draft)
{
    if (const std::optional<QString> why = missing(draft))
        throw QuilloError(*why);
    const AuthorizationRecord& authorization = *draft.record.authorization;
    QByteArray bytes;
    try {
        bytes = drafts.proof(authorization);
    } catch (const RegisterError& error) {
        throw QuilloError(notSaved(authorization) + error.reason() + QLatin1Char('.'));
    }
    return checked(bytes, authorization);
}

void DraftProof::save(DraftRegister& drafts, const DraftDetails& draft, const QString& path)
{
    const QByteArray bytes = opened(drafts, draft);
    try {
        DurableFile::replaceWhole(path, bytes);
    } catch (const FileFailure& failure) {
        throw QuilloError(QStringLiteral("The proof file could not be saved as \"%1\". %2")
                              .arg(QDir::toNativeSeparators(path), failure.message()));
    }
    // A file it replaced keeps its permissions: the proof is the merchant's alone.
    if (!PrivateFiles::tighten(path))
        throw QuilloError(QStringLiteral("The proof file was saved as \"%1\", but others may still read it: its "
                                         "permissions could not be changed.")
                              .arg(QDir::toNativeSeparators(path)));
}
