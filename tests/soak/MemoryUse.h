#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (declared in clang's sanitizer/allocator_interface.h,
// which GCC does not ship).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

// How much memory this test program holds, for soak tests that open and close
// windows many times and check that the memory comes back.
namespace MemoryUse {

// Bytes allocated from the heap and not yet freed. Under AddressSanitizer,
// whose allocator keeps freed blocks in quarantine, its own count.
inline std::int64_t heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return std::int64_t(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks + info.hblkhd);
#endif
}

namespace Detail {

inline QList<QByteArray> statFields(const QString& pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray stat = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const qsizetype end = stat.lastIndexOf(')');
    return end < 0 ? QList<QByteArray>() : stat.mid(end + 2).split(' ');
}

inline std::int64_t residentBytes(const QString& pid)
{
    const QList<QByteArray> fields = statFields(pid);
    return fields.size() > 21 ? fields[21].toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

} // namespace Detail

// Resident memory of this process.
inline std::int64_t residentBytes()
{
    return Detail::residentBytes(QStringLiteral("self"));
}

// Resident memory of all processes this one started (the web engine's).
inline std::int64_t descendantsResidentBytes()
{
    QHash<QString, QStringList> children;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        const QList<QByteArray> fields = Detail::statFields(pid);
        if (fields.size() > 1)
            children[QString::fromLatin1(fields[1])].append(pid);
    }
    std::int64_t total = 0;
    QStringList pending = children.value(QString::number(getpid()));
    while (!pending.isEmpty()) {
        const QString pid = pending.takeLast();
        total += Detail::residentBytes(pid);
        pending += children.value(pid);
    }
    return total;
}

} // namespace MemoryUse
