#include "platform/DurableFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Off only in tests of the way without nameless files.
std::atomic<bool> namelessFiles{true};

// Closes the descriptor on every way out of a call.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now and tells whether the system reported an error on close.
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// What the program was doing when the system said no: the same error number
// means a different thing to the merchant in each.
enum class Step { Read, OpenExisting, Create, Write };

bool isFolder(const QByteArray& path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder part of a file's path, "." for a bare name.
QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Why `step` failed with `error`, in plain words.
QString reason(int error, Step step, const QByteArray& name = {})
{
    const bool reading = step == Step::Read;
    switch (error) {
    case ENOENT:
        if (reading)
            return QStringLiteral("The file does not exist.");
        // A folder that exists but says its files do not: a folder of the
        // system's (/proc, /sys), which shows what the system holds, not files.
        if (step == Step::Create && isFolder(folderOf(name)))
            return QStringLiteral("The folder belongs to the system and cannot hold files.");
        return QStringLiteral("The folder does not exist.");
    case ENOTDIR:
        return QStringLiteral("The folder does not exist.");
    case EACCES:
    case EPERM:
        if (reading)
            return QStringLiteral("You may not read this file.");
        return step == Step::Create ? QStringLiteral("The folder is read-only, or you may not create files in it.")
                                    : QStringLiteral("The file is read-only, or you may not change it.");
    case ENAMETOOLONG:
        return QStringLiteral("The name is too long.");
    case EIO:
        return QStringLiteral("The disk reported an error.");
    }
    if (!reading) {
        switch (error) {
        case ENOSPC:
            return QStringLiteral("The disk is full.");
        case EDQUOT:
            return QStringLiteral("Your share of the disk is full.");
        case EROFS:
            return QStringLiteral("The disk is read-only.");
        case EISDIR:
            return QStringLiteral("That name belongs to a folder, not a file.");
        case ETXTBSY:
        case EBUSY:
            return QStringLiteral("The file is in use.");
        case ESPIPE:
            return QStringLiteral("That name belongs to a pipe or a device, not a file.");
        case ENXIO:
        case ENODEV:
            return QStringLiteral("That name belongs to a device or a socket, not a file.");
        }
    }
    return QStringLiteral("The system reported: %1.").arg(qt_error_string(error));
}

[[noreturn]] void fail(int error, Step step, const QByteArray& name = {})
{
    throw FileFailure(reason(error, step, name));
}

// The file a link leads to, through any number of links; the path itself
// when it is no link. A link to a missing file leads to that missing file, so
// saving creates it, as saving through a link to an existing file changes it.
QByteArray linkTarget(const QByteArray& path)
{
    QByteArray current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.constData(), target, sizeof target);
        if (length < 0 || length == sizeof target)
            return current; // not a link (or one the open reports on)
        const QByteArray next(target, length);
        current = next.startsWith('/') ? next : folderOf(current) + '/' + next;
    }
    return current;
}

// Writes all of `bytes` at offset 0; false with errno set on failure.
bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// Writes `bytes` over the start of the open file and makes sure they reached
// the disk; false with errno set on failure.
bool writeAndSync(int fd, const QByteArray& bytes)
{
    struct stat info {};
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!writeAll(fd, bytes))
        return false;
    // Devices and pipes may not support fsync; only a real file must reach the disk.
    return ::fsync(fd) == 0 || (!regular && errno == EINVAL);
}

// The new name is on the disk once its folder is.
void syncFolder(const QByteArray& folder)
{
    Descriptor folderFile(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFile.isOpen())
        ::fsync(folderFile.get());
}

// A name in `folder` that hides the file from a listing and that nothing else uses.
QByteArray hiddenName(const QByteArray& folder)
{
    return folder + "/.quillo-save-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
}

// Older kernels report the flag they do not know as a folder opened for writing.
bool noUnnamedFiles(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Whether the folder refused a new file for want of permission, as a folder
// may that holds a file the merchant may change.
bool folderRefused(int error)
{
    return error == EACCES || error == EPERM;
}

// The path under which the system shows the open file `fd`.
QByteArray selfPath(int fd)
{
    return "/proc/self/fd/" + QByteArray::number(fd);
}

// A file that no other file's place gives permissions to is its saver's
// alone: cheque files and exports hold whole bank numbers. Set after the
// open, whatever the umask took from it.
constexpr mode_t NewFileMode = 0600;

// A new file that takes an old one's place keeps the old one's permissions,
// and its owner where the system lets the saver give the file away (root), or
// at least its group; otherwise it belongs to the saver, readable by the saver
// alone.
void takeOwnerAndMode(int fd, const struct stat* old)
{
    if (old == nullptr) {
        ::fchmod(fd, NewFileMode);
        return;
    }
    if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
        [[maybe_unused]] const int groupKept = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    }
    ::fchmod(fd, old->st_mode & 07777);
}

enum class Created { Done, NameTaken, Unsupported };

// Creates the file as a nameless file in its folder and gives it its name only
// once it is complete: a program killed at any moment leaves either nothing
// or the whole file.
Created createUnnamed(const QByteArray& name, const QByteArray& bytes)
{
    if (!namelessFiles)
        return Created::Unsupported;
    const QByteArray folder = folderOf(name);
    Descriptor file(::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, NewFileMode));
    if (!file.isOpen()) {
        if (noUnnamedFiles(errno))
            return Created::Unsupported;
        fail(errno, Step::Create, name);
    }
    takeOwnerAndMode(file.get(), nullptr);
    if (!writeAndSync(file.get(), bytes))
        fail(errno, Step::Write);
    if (::linkat(AT_FDCWD, selfPath(file.get()).constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0) {
        if (errno == EEXIST)
            return Created::NameTaken;
        // Without /proc the nameless file cannot be given a name.
        if (errno == ENOENT && !isFolder("/proc/self/fd"))
            return Created::Unsupported;
        fail(errno, Step::Create, name);
    }
    syncFolder(folder);
    return Created::Done;
}

// For file systems without nameless files: the bytes go to a hidden file in
// the same folder, which is renamed into place once complete, replacing any
// file of that name, and removed on every failure. Returns 0, or the error
// with which the folder refused the hidden file (see folderRefused); fails on
// every other error.
int placeThroughHiddenFile(const QByteArray& name, const QByteArray& bytes, const struct stat* old)
{
    const QByteArray folder = folderOf(name);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = hiddenName(folder);
        fd = ::open(temporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    Descriptor file(fd);
    if (!file.isOpen()) {
        if (folderRefused(errno))
            return errno;
        fail(errno, Step::Create, name);
    }

    takeOwnerAndMode(file.get(), old);
    const bool ok =
        writeAndSync(file.get(), bytes) && file.close() && ::rename(temporary.constData(), name.constData()) == 0;
    const int error = errno;
    if (!ok) {
        ::unlink(temporary.constData());
        fail(error, Step::Write);
    }
    syncFolder(folder);
    return 0;
}

// Puts a complete new file holding `bytes` under `name`, replacing whatever
// has that name, with the permissions and owner of `old` when given. Returns
// 0, or the error with which the folder refused the new file; fails on every
// other error, leaving the old file as it was.
int placeNewFile(const QByteArray& name, const QByteArray& bytes, const struct stat* old)
{
    if (!namelessFiles)
        return placeThroughHiddenFile(name, bytes, old);
    const QByteArray folder = folderOf(name);
    Descriptor file(::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, NewFileMode));
    if (!file.isOpen()) {
        if (noUnnamedFiles(errno))
            return placeThroughHiddenFile(name, bytes, old);
        if (folderRefused(errno))
            return errno;
        fail(errno, Step::Create, name);
    }
    takeOwnerAndMode(file.get(), old);
    if (!writeAndSync(file.get(), bytes))
        fail(errno, Step::Write);
    const QByteArray self = selfPath(file.get());
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0) {
        syncFolder(folder);
        return 0;
    }
    if (errno == ENOENT && !isFolder("/proc/self/fd"))
        return placeThroughHiddenFile(name, bytes, old);
    if (errno != EEXIST)
        fail(errno, Step::Create, name);

    // The name is taken. The system gives a nameless file only a name that is
    // free, and none replaces an existing file but rename, which needs a name
    // to start from. So the complete file takes a hidden name and is renamed
    // over the old one by the very next call: only a kill between these two
    // calls leaves the hidden file behind, where writing the bytes under a
    // hidden name (the path without nameless files) leaves one for as long as
    // the write and the flush take. Removing the old name first instead would
    // let a kill lose the old file.
    QByteArray hidden;
    int linked = -1;
    for (int attempt = 0; attempt < 100 && linked != 0; ++attempt) {
        hidden = hiddenName(folder);
        linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, hidden.constData(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno != EEXIST)
            break;
    }
    if (linked != 0)
        fail(errno, Step::Create, name);
    if (::rename(hidden.constData(), name.constData()) != 0) {
        // A folder under the name makes the rename fail with EISDIR, which says so.
        const int error = errno;
        ::unlink(hidden.constData());
        fail(error, Step::Write);
    }
    syncFolder(folder);
    return 0;
}

// Creates the missing file `name` whole; false when a file appeared under the
// name meanwhile.
bool createMissing(const QByteArray& name, const QByteArray& bytes)
{
    switch (createUnnamed(name, bytes)) {
    case Created::Done:
        return true;
    case Created::NameTaken:
        return false;
    case Created::Unsupported:
        break;
    }
    if (const int refused = placeThroughHiddenFile(name, bytes, nullptr))
        fail(refused, Step::Create, name);
    return true;
}

// Runs `change` on the file under `name`, opened for reading and writing, or
// creates it whole with `bytes` when it is missing. Twice at most: a file that
// appears under the name while it is being created is then changed like any
// existing file.
template <typename Change> void changeOrCreate(const QByteArray& name, const QByteArray& bytes, Change change)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        Descriptor file(::open(name.constData(), O_RDWR | O_CLOEXEC));
        if (file.isOpen()) {
            change(file);
            return;
        }
        if (errno != ENOENT)
            fail(errno, Step::OpenExisting);
        if (createMissing(name, bytes))
            return;
    }
    fail(EEXIST, Step::Create, name);
}

} // namespace

namespace DurableFile {

QByteArray readStart(const QString& path, qsizetype length)
{
    // Non-blocking, so that a named pipe cannot hang the window; a regular
    // file reads the same either way.
    Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen())
        fail(errno, Step::Read);

    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        fail(errno, Step::Read);
    if (S_ISDIR(info.st_mode))
        throw FileFailure(QStringLiteral("It is a folder, not a file."));
    if (!S_ISREG(info.st_mode))
        throw FileFailure(QStringLiteral("It is not an ordinary file."));

    // No larger than the file: a reader that may take a long file must not
    // pay for the whole limit on every short one.
    QByteArray bytes(std::min<qsizetype>(length, static_cast<qsizetype>(info.st_size)), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(file.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, Step::Read);
        }
        if (n == 0)
            break; // end of the data
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void writeStart(const QString& path, const QByteArray& bytes)
{
    changeOrCreate(linkTarget(QFile::encodeName(path)), bytes, [&](Descriptor& file) {
        // An existing file is written in place: whatever follows the record stays.
        if (!writeAndSync(file.get(), bytes) || !file.close())
            fail(errno, Step::Write);
    });
}

void writeWhole(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = linkTarget(QFile::encodeName(path));
    changeOrCreate(name, bytes, [&](Descriptor& file) {
        // Opened for writing, the file is one the saver may change.
        struct stat info {};
        const bool regular = ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode);
        if (regular && placeNewFile(name, bytes, &info) == 0)
            return;
        // A device, or a folder that takes no new files: in place, the start
        // first, then cut to length.
        const bool ok = writeAndSync(file.get(), bytes) &&
                        (!regular || (::ftruncate(file.get(), bytes.size()) == 0 && ::fsync(file.get()) == 0)) &&
                        file.close();
        if (!ok)
            fail(errno, Step::Write);
    });
}

void replaceWhole(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = linkTarget(QFile::encodeName(path));
    // A file exported over keeps its permissions and owner, as a saved one does.
    struct stat old {};
    const bool replacing = ::stat(name.constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (const int refused = placeNewFile(name, bytes, replacing ? &old : nullptr))
        fail(refused, Step::Create, name);
}

void useNamelessFiles(bool use)
{
    namelessFiles = use;
}

PiecesRead readPieces(const QString& path, qint64 maxBytes,
                      const std::function<void(QByteArrayView piece, qint64 size)>& piece)
{
    // Non-blocking: a pipe with no writer, or a device, must not hold the open.
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.isOpen())
        return {PiecesRead::End::Failed, errno};
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return {PiecesRead::End::Failed, errno};
    if (!S_ISREG(info.st_mode))
        return {PiecesRead::End::NotAFile};
    if (info.st_size > maxBytes)
        return {PiecesRead::End::TooLarge};

    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk.data(), static_cast<size_t>(chunk.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {PiecesRead::End::Failed, errno};
        }
        if (got == 0)
            return {};
        done += got;
        if (done > maxBytes)
            return {PiecesRead::End::Grew};
        piece(QByteArrayView(chunk.constData(), got), info.st_size);
    }
}

} // namespace DurableFile
