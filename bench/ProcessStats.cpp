#include "ProcessStats.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray readProcFile(const QString& path)
{
    QFile file(path);
    // /proc files report a size of 0: read until the end.
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The fields of /proc/<pid>/stat after the command name, which may hold spaces.
QList<QByteArray> statFields(const QString& pid)
{
    const QByteArray stat = readProcFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype end = stat.lastIndexOf(')');
    return end < 0 ? QList<QByteArray>() : stat.mid(end + 2).split(' ');
}

std::int64_t statusKb(const QByteArray& key)
{
    for (const QByteArray& line : readProcFile(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

namespace ProcessStats {

std::int64_t bootNs()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

std::int64_t startNs()
{
    // Field 22 of the stat line; the list starts at field 3.
    const QList<QByteArray> fields = statFields(QStringLiteral("self"));
    const std::int64_t ticks = fields.size() > 19 ? fields[19].toLongLong() : 0;
    return ticks * (1000000000 / sysconf(_SC_CLK_TCK));
}

std::int64_t peakResidentKb()
{
    return statusKb("VmHWM");
}

std::int64_t residentKb()
{
    return statusKb("VmRSS");
}

std::int64_t descendantsResidentKb()
{
    // Parent of every process, then the tree below this one.
    QHash<QString, QStringList> children;
    QHash<QString, std::int64_t> residentPages;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs);
    for (const QString& pid : pids) {
        const QList<QByteArray> fields = statFields(pid);
        if (fields.size() > 21) {
            children[QString::fromLatin1(fields[1])].append(pid);
            residentPages[pid] = fields[21].toLongLong();
        }
    }
    std::int64_t pages = 0;
    QStringList pending = children.value(QString::number(getpid()));
    while (!pending.isEmpty()) {
        const QString pid = pending.takeLast();
        pages += residentPages.value(pid);
        pending += children.value(pid);
    }
    return pages * (sysconf(_SC_PAGESIZE) / 1024);
}

std::int64_t cpuNs()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return std::int64_t(used.tv_sec) * 1000000000 + used.tv_nsec;
}

std::int64_t contextSwitches()
{
    // The whole process, threads that have ended included.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw + usage.ru_nivcsw;
}

void report(const char* key, double value)
{
    std::printf("%s=%.6f\n", key, value);
}

void report(const char* key, const QString& value)
{
    std::printf("%s=%s\n", key, qPrintable(value));
}

void finish(int status)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(status);
}

} // namespace ProcessStats
