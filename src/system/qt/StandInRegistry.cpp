#include "system/qt/StandInRegistry.h"

#include "platform/SystemInfoLauncher.h"

#include <QStandardPaths>
#include <algorithm>
#include <cstring>

const QStringList StandInRegistry::SysInfoPrograms = {
    QStringLiteral("hardinfo2"),
    QStringLiteral("hardinfo"),
    QStringLiteral("kinfocenter"),
    QStringLiteral("cpu-x"),
    QStringLiteral("gnome-system-monitor"),
    QStringLiteral("mate-system-monitor"),
};

namespace {

bool sameName(const QByteArray& a, const QString& b)
{
    return QString::fromLocal8Bit(a).compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

StandInRegistry::StandInRegistry(QStringList programs) : m_programs(std::move(programs)) {}

std::int32_t StandInRegistry::openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t, std::uint32_t,
                                      Key* key)
{
    if (root != HKeyLocalMachine || !sameName(keyName, SystemInfoLauncher::SysInfoKey))
        return ErrorFileNotFound;
    *key = m_nextKey++;
    m_openKeys[*key] = keyName;
    return ErrorSuccess;
}

std::int32_t StandInRegistry::queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                                         std::uint32_t* size)
{
    if (m_openKeys.find(key) == m_openKeys.end())
        return ErrorInvalidHandle;
    if (!sameName(valueName, SystemInfoLauncher::SysInfoValue))
        return ErrorFileNotFound;

    const QString program = findSysInfoProgram();
    if (program.isEmpty())
        return ErrorFileNotFound;

    // Stored as text with its terminating NUL, as the registry keeps a REG_SZ.
    QByteArray value = program.toLocal8Bit();
    value.append('\0');
    const auto needed = static_cast<std::uint32_t>(value.size());
    const std::uint32_t capacity = *size;
    *type = RegSz;
    *size = needed;
    if (needed > capacity)
        return ErrorMoreData;
    std::memcpy(buffer, value.constData(), needed);
    return ErrorSuccess;
}

std::int32_t StandInRegistry::closeKey(Key key)
{
    return m_openKeys.erase(key) == 1 ? ErrorSuccess : ErrorInvalidHandle;
}

QString StandInRegistry::findSysInfoProgram() const
{
    for (const QString& name : m_programs) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}
