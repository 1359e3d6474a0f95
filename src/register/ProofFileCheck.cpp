#include "register/ProofFileCheck.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Closes the descriptor however the read ends.
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
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

ProofFileCheck::Result ProofFileCheck::read(const QString& path, const std::function<void(int percent)>& progress)
{
    // Non-blocking: a pipe with no writer, or a device, must not hold the open.
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd() < 0)
        return {{}, unreadable(path, errno)};
    struct stat status {};
    if (::fstat(file.fd(), &status) != 0)
        return {{}, unreadable(path, errno)};
    if (!S_ISREG(status.st_mode))
        return {{},
                named(path) + QStringLiteral(" is a folder, a device or a pipe, not a file: choose the file "
                                             "itself.")};
    if (status.st_size > MaxBytes)
        return {{},
                named(path) + QStringLiteral(" is larger than 100 MB, more than a proof needs: choose a "
                                             "smaller copy of it.")};

    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    qint64 done = 0;
    for (;;) {
        const ssize_t got = ::read(file.fd(), chunk.data(), size_t(chunk.size()));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {{}, unreadable(path, errno)};
        }
        if (got == 0)
            break;
        done += got;
        // Grown past the limit while it was read: no longer the file measured.
        if (done > MaxBytes)
            return {{}, named(path) + QStringLiteral(" changed while it was read: choose it again.")};
        hash.addData(QByteArrayView(chunk.constData(), got));
        if (progress && status.st_size > 0)
            progress(int(qMin<qint64>(100, done * 100 / status.st_size)));
    }
    return {hash.result(), {}};
}

QString ProofFileCheck::problemSince(const QString& path, const QByteArray& sha256)
{
    const Result now = read(path);
    if (!now.problem.isEmpty())
        return now.problem;
    if (now.sha256 != sha256)
        return named(path) + QStringLiteral(" has changed since it was chosen: choose it again.");
    return {};
}
