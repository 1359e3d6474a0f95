#pragma once

#include "register/RegisterLocation.h"

#include <QString>

class SettingsStore;

// The register's place as the settings file's [Register] section keeps it:
// Location (file or server), Host, Port, Database, User and CaFile.
class RegisterLocationSettings {
public:
    // The place kept in `application`'s settings. A missing or unknown
    // Location is this computer's file at `filePath`; a Port that is not a
    // number from 1 to 65535 is PostgreSQL's own, 5432.
    static RegisterLocation load(const SettingsStore& settings, const QString& application, const QString& filePath);
    // Keeps the server's fields whatever the choice, so that choosing the
    // server again finds them filled in.
    static void save(const RegisterLocation& location, SettingsStore& settings, const QString& application);
};
