#pragma once

#include "system/qt/QtFileSystemChecks.h"
#include "system/qt/QtProcessStarter.h"

#include <memory>

class Registry;

// The registry, file checks and process start of the system the program runs
// on: the Windows registry on Windows, the stand-in registry elsewhere.
class SystemInfoPlatform {
public:
    SystemInfoPlatform();
    ~SystemInfoPlatform();

    SystemInfoPlatform(const SystemInfoPlatform&) = delete;
    SystemInfoPlatform& operator=(const SystemInfoPlatform&) = delete;

    Registry& registry() { return *m_registry; }
    FileSystemChecks& files() { return m_files; }
    ProcessStarter& processes() { return m_processes; }

private:
    std::unique_ptr<Registry> m_registry;
    QtFileSystemChecks m_files;
    QtProcessStarter m_processes;
};
