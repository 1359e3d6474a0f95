#pragma once

#include "platform/QuilloError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// A file failure: its message is the reason alone, in plain words ("The disk
// is full."), for the caller to put in a sentence that names the file.
class FileFailure : public QuilloError {
public:
    using QuilloError::QuilloError;
};

// Files whose start holds a record, read and written so that no failure, not
// even the program being killed, leaves a short or damaged file behind. Each
// call opens and closes the file; each failure throws a FileFailure.
namespace DurableFile {

// Reads at most `length` bytes from the start of the file at `path`; fewer
// when the file is shorter. Read permission is enough. A folder or anything
// other than an ordinary file is refused, and a pipe never blocks the call.
QByteArray readStart(const QString& path, qsizetype length);

// Writes `bytes` over the start of the file at `path`, following links to
// their target. An existing file is written in place and keeps whatever
// follows; it is never truncated. A missing file is created complete or not
// at all: no failure leaves a short file, or any other file, behind. A new
// file is readable by its saver alone (0600), whatever the umask. Returns
// only once the data has reached the disk.
void writeStart(const QString& path, const QByteArray& bytes);

// Makes the file at `path` hold exactly `bytes`, as writeStart would write a
// file that it may change: links are followed, and an existing file that
// writeStart refuses is refused the same way. What followed the bytes in an
// existing file is gone. The new content is a complete new file that takes the
// old one's place, with its permissions and, where the system allows, its
// owner; a failure or a kill leaves the old file as it was. In a folder that
// takes no new files the file is written in place instead, start first, then
// cut to length: a kill there may leave the new start before old bytes.
// Returns only once the data has reached the disk.
void writeWhole(const QString& path, const QByteArray& bytes);

// Makes the file at `path` hold exactly `bytes`, creating or replacing it
// whole, whatever the old file's permissions: the bytes go to a file that has
// no name until it is complete. A replaced file's permissions and owner stay
// as they were; a new file is readable by its saver alone (0600). A failure
// leaves an existing file as it was, and no failure leaves any other file
// behind.
void replaceWhole(const QString& path, const QByteArray& bytes);

// Whether new files start without a name where the file system has such
// files (the default). Turned off, every save takes the way of file systems
// without them, a hidden file renamed into place, so that tests can drive it.
void useNamelessFiles(bool use);

// How a read in pieces ended.
struct PiecesRead {
    enum class End {
        Whole,    // every byte was handed on
        NotAFile, // a folder, a device or a pipe: nothing was read
        TooLarge, // more than the limit when opened: nothing was read
        Grew,     // grew past the limit while it was read
        Failed,   // the system refused: `error` says why
    };
    End end = End::Whole;
    int error = 0; // the system's error number, for Failed
};

// Reads the file at `path` from start to end in pieces of at most 1 MiB,
// handing each to `piece` with the file's size as it was opened. Opened
// without waiting for a writer or a device, and read only when it is an
// ordinary file of at most `maxBytes`.
PiecesRead readPieces(const QString& path, qint64 maxBytes,
                      const std::function<void(QByteArrayView piece, qint64 size)>& piece);

} // namespace DurableFile
