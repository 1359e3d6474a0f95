#pragma once

#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QtTest>

#include <cstdio>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body`, a part of a test whose outcome rests on permission bits, as a
// user whom those bits bind. Root passes them, so as root the body runs in a
// child process that has become "nobody", after `folder` and everything in it
// have been handed to that user; `folder` must lie where every user may pass
// (as the system's temporary folder does). The child logs its own failures.
// Returns whether the body ran without a failure.
inline bool runAsOrdinaryUser(const QString& folder, const std::function<void()>& body)
{
    if (::geteuid() != 0) {
        body();
        return !QTest::currentTestFailed();
    }
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody)
        return false;
    QStringList paths{folder};
    QDirIterator entries(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        paths.append(entries.next());
    for (const QString& path : paths) {
        if (::lchown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) != 0)
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
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
