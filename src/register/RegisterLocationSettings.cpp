#include "register/RegisterLocationSettings.h"

#include "platform/SettingsStore.h"

namespace {

const QString Section = QStringLiteral("Register");
const QString LocationKey = QStringLiteral("Location");
const QString HostKey = QStringLiteral("Host");
const QString PortKey = QStringLiteral("Port");
const QString DatabaseKey = QStringLiteral("Database");
const QString UserKey = QStringLiteral("User");
const QString CaFileKey = QStringLiteral("CaFile");
const QString File = QStringLiteral("file");
const QString Server = QStringLiteral("server");
constexpr int DefaultPort = 5432;
constexpr int HighestPort = 65535;

} // namespace

RegisterLocation RegisterLocationSettings::load(const SettingsStore& settings, const QString& application,
                                                const QString& filePath)
{
    const auto read = [&](const QString& key) { return settings.readSetting(application, Section, key, QString()); };
    RegisterLocation location = RegisterLocation::file(filePath);
    if (read(LocationKey).trimmed().compare(Server, Qt::CaseInsensitive) == 0)
        location.kind = RegisterLocation::Kind::Server;
    location.host = read(HostKey).trimmed();
    bool ok = false;
    const int port = read(PortKey).trimmed().toInt(&ok);
    location.port = ok && port >= 1 && port <= HighestPort ? port : DefaultPort;
    location.database = read(DatabaseKey).trimmed();
    location.user = read(UserKey).trimmed();
    location.caFile = read(CaFileKey).trimmed();
    return location;
}

void RegisterLocationSettings::save(const RegisterLocation& location, SettingsStore& settings,
                                    const QString& application)
{
    settings.saveSetting(application, Section, LocationKey, location.isServer() ? Server : File);
    settings.saveSetting(application, Section, HostKey, location.host);
    settings.saveSetting(application, Section, PortKey, QString::number(location.port));
    settings.saveSetting(application, Section, DatabaseKey, location.database);
    settings.saveSetting(application, Section, UserKey, location.user);
    settings.saveSetting(application, Section, CaFileKey, location.caFile);
}
