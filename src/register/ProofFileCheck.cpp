#include "register/ProofFileCheck.h"

#include "platform/DurableFile.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <cstring>

namespace {

QString named(const QString& path)
{
    return QStringLiteral("The proof file \"%1\"").arg(QFileInfo(path).fileName());
}

QString unreadable(const QString& path, int error)
{
    QString why = QString::fromLocal8Bit(std::strerror(error));
    if (!why.isEmpty())
        why[0] = why[0].toLower();
    return QStringLiteral("%1 cannot be read: %2.").arg(named(path), why);
}

QString changed(const QString& path)
{
    return named(path) + QStringLiteral(" has changed since it was chosen: choose it again.");
}

ProofFileCheck::Result readFile(const QString& path, const std::function<void(int percent)>& progress,
                                QByteArray* bytes)
{
    using ProofFileCheck::MaxBytes;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 done = 0;
    const DurableFile::PiecesRead read =
        DurableFile::readPieces(path, MaxBytes, [&](QByteArrayView piece, qint64 size) {
            hash.addData(piece);
            if (bytes)
                bytes->append(piece);
            done += piece.size();
            if (progress && size > 0)
                progress(int(qMin<qint64>(100, done * 100 / size)));
        });
    switch (read.end) {
    case DurableFile::PiecesRead::End::Whole:
        return {hash.result(), {}, {}};
    case DurableFile::PiecesRead::End::NotAFile:
        return {{},
                named(path) + QStringLiteral(" is a folder, a device or a pipe, not a file: choose the file "
                                             "itself."),
                {}};
    case DurableFile::PiecesRead::End::TooLarge:
        return {{},
                named(path) + QStringLiteral(" is larger than 100 MB, more than a proof needs: choose a "
                                             "smaller copy of it."),
                {}};
    case DurableFile::PiecesRead::End::Grew:
        // Grown past the limit while it was read: no longer the file measured.
        return {{}, named(path) + QStringLiteral(" changed while it was read: choose it again."), {}};
    case DurableFile::PiecesRead::End::Failed:
        break;
    }
    return {{}, unreadable(path, read.error), {}};
}

} // namespace

ProofFileCheck::Result ProofFileCheck::read(const QString& path, const std::function<void(int percent)>& progress)
{
    return readFile(path, progress, nullptr);
}

ProofFileCheck::Result ProofFileCheck::readChosen(const QString& path, const QByteArray& sha256)
{
    QByteArray bytes;
    Result now = readFile(path, {}, &bytes);
    if (now.problem.isEmpty() && now.sha256 != sha256)
        now.problem = changed(path);
    if (now.problem.isEmpty())
        now.bytes = std::move(bytes);
    return now;
}

QString ProofFileCheck::problemSince(const QString& path, const QByteArray& sha256)
{
    const Result now = read(path);
    if (!now.problem.isEmpty())
        return now.problem;
    return now.sha256 == sha256 ? QString() : changed(path);
}
