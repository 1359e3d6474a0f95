#pragma once

#include "platform/Registry.h"

#include <QStringList>
#include <map>

// Stands in for the registry where the system has none. It knows one key,
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" under HKEY_LOCAL_MACHINE, whose
// value "PATH" is the full path of the first system-information program
// found on the user's PATH; with none found the value is absent. Every other
// key is absent. Key and value names are matched without regard to case, as
// the registry does.
class StandInRegistry : public Registry {
public:
    // Programs that show the machine's hardware and system, best first.
    static const QStringList SysInfoPrograms;

    explicit StandInRegistry(QStringList programs = SysInfoPrograms);

    std::int32_t openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t options, std::uint32_t access,
                         Key* key) override;
    std::int32_t queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                            std::uint32_t* size) override;
    std::int32_t closeKey(Key key) override;

    // The first of the programs found on PATH, or an empty text.
    QString findSysInfoProgram() const;

private:
    QStringList m_programs;
    std::map<Key, QByteArray> m_openKeys;
    Key m_nextKey = 1;
};
