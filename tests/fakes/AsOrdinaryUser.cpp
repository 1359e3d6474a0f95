#include "AsOrdinaryUser.h"

#include <QDirIterator>
#include <QFile>
#include <QtTest>

#include <cstdio>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool handOver(const QString& folder, uid_t user, gid_t group)
{
    QStringList paths{folder};
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        paths.append(entries.next());
    for (const QString& path : paths) {
        if (::lchown(QFile::encodeName(path).constData(), user, group) != 0)
            return false;
    }
    return true;
}

} // namespace

bool runAsOrdinaryUser(const QString& folder, const std::function<void()>& body)
{
    if (::geteuid() != 0) {
        body();
        return !QTest::currentTestFailed();
    }
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody || !handOver(folder, nobody->pw_uid, nobody->pw_gid)) {
        qWarning("Could not hand %s to the user nobody.", qPrintable(folder));
        return false;
    }
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0 ||
            ::geteuid() == 0) {
            std::fputs("Could not become the user nobody.\n", stderr);
            ::_exit(2);
        }
        body();
        std::fflush(nullptr);
        ::_exit(QTest::currentTestFailed() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
