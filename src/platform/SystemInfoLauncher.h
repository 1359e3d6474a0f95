#pragma once

#include <QString>
#include <cstdint>

class FileSystemChecks;
class MessageBoxService;
class ProcessStarter;
class Registry;

// Finds the system's System Information program through the registry and
// starts it, or tells the merchant that it is unavailable.
class SystemInfoLauncher {
public:
    // Size of the buffer a registry value is read into, in bytes.
    static constexpr std::uint32_t ValueBufferSize = 1024;

    static const QString UnavailableMessage;
    // Where the program's full path is recorded.
    static const QString SysInfoKey;
    static const QString SysInfoValue;
    // Where the folder that holds MSINFO32.EXE is recorded.
    static const QString SysInfoLocationKey;
    static const QString SysInfoLocationValue;
    static const QString SysInfoProgramName;

    SystemInfoLauncher(Registry& registry, FileSystemChecks& files, ProcessStarter& processes,
                       MessageBoxService& messages);

    // Reads the value `SubKeyRef` of the key `KeyName` under `KeyRoot` into
    // `KeyVal`. Text values are cut at their first NUL; a 32-bit number
    // becomes its unsigned decimal text; a value of any other type leaves
    // `KeyVal` as it was passed but still counts as read. On failure `KeyVal`
    // is emptied and the result is false; nothing is shown.
    bool GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef, QString& KeyVal);

    // Starts the System Information program without waiting for it, or shows
    // UnavailableMessage when it cannot be found or started.
    void StartSysInfo();

private:
    // The program's path as the registry records it; throws when it is not
    // recorded or its file is missing.
    QString sysInfoPath();

    Registry& m_registry;
    FileSystemChecks& m_files;
    ProcessStarter& m_processes;
    MessageBoxService& m_messages;
};
