#include "platform/PrivateFiles.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t FolderMode = 0700;
constexpr mode_t FileMode = 0600;

// `mode` without the group's and others' bits, and without the owner's
// execute bit for a file.
mode_t ownersAlone(const struct stat& info)
{
    const mode_t owner = info.st_mode & (S_ISDIR(info.st_mode) ? FolderMode : FileMode);
    return owner | (info.st_mode & S_ISVTX);
}

bool tightenOpen(int fd)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    const mode_t wanted = ownersAlone(info);
    if ((info.st_mode & 07777) == wanted)
        return true;
    // Somebody else's file stays as it is: only its owner (or root) may change it.
    if (info.st_uid != ::geteuid() && ::geteuid() != 0)
        return true;
    return ::fchmod(fd, wanted) == 0;
}

} // namespace

bool PrivateFiles::makeFolder(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0)
        return S_ISDIR(info.st_mode);
    const qsizetype slash = name.lastIndexOf('/');
    if (slash > 0 && !makeFolder(QFile::decodeName(name.left(slash))))
        return false;
    if (::mkdir(name.constData(), FolderMode) != 0)
        return errno == EEXIST && ::stat(name.constData(), &info) == 0 && S_ISDIR(info.st_mode);
    // The umask may have taken bits from the owner.
    return ::chmod(name.constData(), FolderMode) == 0;
}

bool PrivateFiles::tighten(const QString& path)
{
    // Opened without following a link: a link's target is not this file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ELOOP;
    const bool done = tightenOpen(fd);
    ::close(fd);
    return done;
}

bool PrivateFiles::createFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, FileMode);
    if (fd < 0)
        return false;
    const bool done = tightenOpen(fd);
    ::close(fd);
    return done;
}
