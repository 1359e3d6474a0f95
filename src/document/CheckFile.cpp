#include "document/CheckFile.h"

#include "platform/QuilloError.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

QString saveFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be saved to \"%1\". %2").arg(path, reason);
}

QString openFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The check could not be opened from \"%1\". %2").arg(path, reason);
}

QString otherReason(int error)
{
    return QStringLiteral("The system reported: %1.").arg(qt_error_string(error));
}

enum class Step { OpenExisting, Create, Write };

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

QString writeReason(int error, Step step, const QByteArray& name = {})
{
    // A folder that exists but says its files do not: a folder of the
    // system's (/proc, /sys), which shows what the system holds, not files.
    if (step == Step::Create && error == ENOENT && isFolder(folderOf(name)))
        return QStringLiteral("The folder belongs to the system and cannot hold files.");
    switch (error) {
    case ENOSPC:
        return QStringLiteral("The disk is full.");
    case EDQUOT:
        return QStringLiteral("Your share of the disk is full.");
    case EROFS:
        return QStringLiteral("The disk is read-only.");
    case EACCES:
    case EPERM:
        return step == Step::Create ? QStringLiteral("The folder is read-only, or you may not create files in it.")
                                    : QStringLiteral("The file is read-only, or you may not change it.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("The folder does not exist.");
    case EISDIR:
        return QStringLiteral("That name belongs to a folder, not a file.");
    case ENAMETOOLONG:
        return QStringLiteral("The name is too long.");
    case ETXTBSY:
    case EBUSY:
        return QStringLiteral("The file is in use.");
    case EIO:
        return QStringLiteral("The disk reported an error.");
    case ESPIPE:
        return QStringLiteral("That name belongs to a pipe or a device, not a file.");
    case ENXIO:
    case ENODEV:
        return QStringLiteral("That name belongs to a device or a socket, not a file.");
    default:
        return otherReason(error);
    }
}

QString readReason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("The file does not exist.");
    case ENOTDIR:
        return QStringLiteral("The folder does not exist.");
    case EACCES:
    case EPERM:
        return QStringLiteral("You may not read this file.");
    case ENAMETOOLONG:
        return QStringLiteral("The name is too long.");
    case EIO:
        return QStringLiteral("The disk reported an error.");
    default:
        return otherReason(error);
    }
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
bool writeAndSync(Descriptor& file, const QByteArray& bytes)
{
    struct stat info {};
    const bool regular = ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode);
    if (!writeAll(file.get(), bytes))
        return false;
    // Devices and pipes may not support fsync; only a real file must reach the disk.
    if (::fsync(file.get()) != 0 && (regular || errno != EINVAL))
        return false;
    return file.close();
}

// Creates the file at `name` holding `bytes` and nothing less: they go to a
// temporary file in the same folder, which is renamed into place once it is
// complete, so that a save cut short (the program killed, the disk full)
// never leaves a short file under the name. QSaveFile does the same, but
// reports a failure only as text, and the reasons here need the error number.
void createComplete(const QString& path, const QByteArray& name, const QByteArray& bytes)
{
    const QByteArray folder = folderOf(name);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/.quillo-save-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(temporary.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    Descriptor file(fd);
    if (!file.isOpen())
        throw QuilloError(saveFailure(path, writeReason(errno, Step::Create, name)));

    const bool ok = writeAndSync(file, bytes) && ::rename(temporary.constData(), name.constData()) == 0;
    const int error = errno;
    if (!ok) {
        ::unlink(temporary.constData());
        throw QuilloError(saveFailure(path, writeReason(error, Step::Write)));
    }
    // The new name is on the disk once its folder is.
    Descriptor folderFile(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFile.isOpen())
        ::fsync(folderFile.get());
}

} // namespace

void CheckFile::write(const QString& path, const CheckRecord& record)
{
    const QByteArray name = linkTarget(QFile::encodeName(path));
    const QByteArray bytes = record.toBytes();
    Descriptor file(::open(name.constData(), O_RDWR | O_CLOEXEC));
    if (!file.isOpen()) {
        if (errno != ENOENT)
            throw QuilloError(saveFailure(path, writeReason(errno, Step::OpenExisting)));
        createComplete(path, name, bytes);
        return;
    }
    // An existing file is written in place: whatever follows the record stays.
    if (!writeAndSync(file, bytes))
        throw QuilloError(saveFailure(path, writeReason(errno, Step::Write)));
}

CheckRecord CheckFile::read(const QString& path)
{
    // Non-blocking, so that a named pipe cannot hang the window; a regular
    // file reads the same either way.
    Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.isOpen())
        throw QuilloError(openFailure(path, readReason(errno)));

    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw QuilloError(openFailure(path, readReason(errno)));
    if (S_ISDIR(info.st_mode))
        throw QuilloError(openFailure(path, QStringLiteral("It is a folder, not a file.")));
    if (!S_ISREG(info.st_mode))
        throw QuilloError(openFailure(path, QStringLiteral("It is not an ordinary file.")));

    QByteArray bytes(CheckRecord::ByteLength, '\0');
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pread(file.get(), bytes.data() + done, static_cast<size_t>(bytes.size() - done), done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw QuilloError(openFailure(path, readReason(errno)));
        }
        if (n == 0)
            break; // end of the data
        done += n;
    }
    // The record refuses data shorter than itself; the file says so by name.
    try {
        return CheckRecord::fromBytes(QByteArrayView(bytes.constData(), done));
    } catch (const QuilloError& error) {
        throw QuilloError(openFailure(path, error.message()));
    }
}
