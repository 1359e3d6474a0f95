#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>

// A proof file as an authorization takes it: a regular file (never a folder,
// a device or a pipe, which could block or never end) of at most MaxBytes,
// known by the SHA-256 of its bytes. Its problems are the authorization's,
// told in sentences for the merchant that name the file.
namespace ProofFileCheck {

// 100 MB, counted as 100 × 1024 × 1024 bytes: far more than a scanned form
// or a call recording takes.
constexpr qint64 MaxBytes = qint64(100) * 1024 * 1024;

struct Result {
    QByteArray sha256; // empty when `problem` says why there is none
    QString problem;
    QByteArray bytes; // the file's bytes, kept only by readChosen()
};

// Reads the file at `path` whole, on the calling thread: opened without
// waiting for a writer or a device, then read only when it is a regular file
// no larger than MaxBytes. `progress` hears the share read so far, 0 to 100.
Result read(const QString& path, const std::function<void(int percent)>& progress = {});

// The bytes of the file at `path`, read as read() does, while it is still
// the file whose SHA-256 is `sha256`; otherwise `problem` says why it is not.
Result readChosen(const QString& path, const QByteArray& sha256);

// Why the file at `path` is no longer the one whose SHA-256 is `sha256`, the
// one chosen; empty when it still is.
QString problemSince(const QString& path, const QByteArray& sha256);

} // namespace ProofFileCheck
