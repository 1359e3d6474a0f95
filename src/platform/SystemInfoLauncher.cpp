#include "platform/SystemInfoLauncher.h"

#include "platform/FailureHandling.h"
#include "platform/FileSystemChecks.h"
#include "platform/MessageBoxService.h"
#include "platform/ProcessStarter.h"
#include "platform/QuilloError.h"
#include "platform/Registry.h"

#include <QByteArray>

const QString SystemInfoLauncher::UnavailableMessage = QStringLiteral("System Information Is Unavailable At This Time");
const QString SystemInfoLauncher::SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString SystemInfoLauncher::SysInfoValue = QStringLiteral("PATH");
const QString SystemInfoLauncher::SysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString SystemInfoLauncher::SysInfoLocationValue = QStringLiteral("MSINFO");
const QString SystemInfoLauncher::SysInfoProgramName = QStringLiteral("\\MSINFO32.EXE");

namespace {

// A REG_DWORD as the plain decimal number. The registry keeps it as four
// little-endian bytes; all four are read, so a zero byte inside the number
// (256 is 00 01 00 00) does not cut it short the way the text cut would.
// The number is unsigned, so a value with the top bit set reads as
// 4294967295 and not as a negative 32-bit number.
QString dwordText(const char* buffer)
{
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = (number << 8) | static_cast<unsigned char>(buffer[i]);
    return QString::number(number);
}

} // namespace

SystemInfoLauncher::SystemInfoLauncher(Registry& registry, FileSystemChecks& files, ProcessStarter& processes,
                                       MessageBoxService& messages)
    : m_registry(registry), m_files(files), m_processes(processes), m_messages(messages)
{}

bool SystemInfoLauncher::GetKeyValue(std::uint32_t KeyRoot, const QString& KeyName, const QString& SubKeyRef,
                                     QString& KeyVal)
{
    // Read access only: a standard user may not open keys under
    // HKEY_LOCAL_MACHINE for writing, and nothing here writes.
    Registry::Key hKey = 0;
    if (m_registry.openKey(KeyRoot, KeyName.toLocal8Bit(), 0, Registry::KeyRead, &hKey) != Registry::ErrorSuccess) {
        KeyVal.clear();
        return false;
    }

    QByteArray tmpVal(ValueBufferSize, '\0');
    std::uint32_t KeyValSize = ValueBufferSize;
    std::uint32_t KeyValType = 0;
    if (m_registry.queryValue(hKey, SubKeyRef.toLocal8Bit(), &KeyValType, tmpVal.data(), &KeyValSize) !=
        Registry::ErrorSuccess) {
        KeyVal.clear();
        m_registry.closeKey(hKey);
        return false;
    }

    // The reported size is not trusted; the text ends at the first NUL.
    const qsizetype end = tmpVal.indexOf('\0');
    const QByteArray text = end < 0 ? tmpVal : tmpVal.left(end);

    switch (KeyValType) {
    case Registry::RegSz:
        KeyVal = QString::fromLocal8Bit(text);
        break;
    case Registry::RegDword:
        KeyVal = dwordText(tmpVal.constData());
        break;
    default:
        break;
    }

    m_registry.closeKey(hKey);
    return true;
}

void SystemInfoLauncher::StartSysInfo()
{
    Failures::withFixedMessage(m_messages, UnavailableMessage, [this] {
        const QString path = sysInfoPath();
        if (!m_processes.startDetached(path))
            throw QuilloError(QStringLiteral("The System Information program \"%1\" could not be started.").arg(path));
    });
}

QString SystemInfoLauncher::sysInfoPath()
{
    QString SysInfoPath;
    // The full path, used as it stands; a path that does not start fails later.
    if (GetKeyValue(Registry::HKeyLocalMachine, SysInfoKey, SysInfoValue, SysInfoPath))
        return SysInfoPath;

    if (!GetKeyValue(Registry::HKeyLocalMachine, SysInfoLocationKey, SysInfoLocationValue, SysInfoPath))
        throw QuilloError(QStringLiteral("The registry does not say where System Information is."));

    const QString program = SysInfoPath + SysInfoProgramName;
    if (!m_files.fileExists(program))
        throw QuilloError(QStringLiteral("The System Information program \"%1\" is missing.").arg(program));
    return program;
}
