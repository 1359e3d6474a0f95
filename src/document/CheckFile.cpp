#include "document/CheckFile.h"

#include "platform/QuilloError.h"

#include <QFile>

#include <cerrno>
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
    return QStringLiteral("The cheque could not be saved to \"%1\". %2").arg(path, reason);
}

QString openFailure(const QString& path, const QString& reason)
{
    return QStringLiteral("The cheque could not be opened from \"%1\". %2").arg(path, reason);
}

QString otherReason(int error)
{
    return QStringLiteral("The system reported: %1.").arg(qt_error_string(error));
}

enum class Step { OpenExisting, Create, Write };

QString writeReason(int error, Step step)
{
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

// Opens an existing file for writing, or creates it; `created` tells which.
int openForWriting(const QByteArray& name, bool& created, Step& step)
{
    created = false;
    step = Step::OpenExisting;
    int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        step = Step::Create;
        fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
    }
    return fd;
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

} // namespace

void CheckFile::write(const QString& path, const CheckRecord& record)
{
    const QByteArray name = QFile::encodeName(path);
    const QByteArray bytes = record.toBytes();
    bool created = false;
    Step step = Step::OpenExisting;
    Descriptor file(openForWriting(name, created, step));
    if (!file.isOpen())
        throw QuilloError(saveFailure(path, writeReason(errno, step)));

    struct stat info {};
    const bool regular = ::fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode);
    bool ok = writeAll(file.get(), bytes);
    // Devices and pipes may not support fsync; only a real file must reach the disk.
    if (ok && ::fsync(file.get()) != 0 && (regular || errno != EINVAL))
        ok = false;
    int error = errno;
    if (ok && !file.close()) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        if (created)
            ::unlink(name.constData());
        throw QuilloError(saveFailure(path, writeReason(error, Step::Write)));
    }
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
