#include "system/qt/QtProcessStarter.h"

#include <QProcess>

bool QtProcessStarter::startDetached(const QString& program)
{
    if (program.isEmpty())
        return false;
    // startDetached reports whether the program could be executed at all, so
    // a path to a missing or non-executable file fails here.
    return QProcess::startDetached(program, {});
}
