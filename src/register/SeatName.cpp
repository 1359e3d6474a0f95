#include "register/SeatName.h"

#include <QSysInfo>

QString SeatName::ofThisComputer()
{
    QString login;
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        login = qEnvironmentVariable(variable);
        if (!login.isEmpty())
            break;
    }
    return login + QLatin1Char('@') + QSysInfo::machineHostName();
}
