#pragma once

#include "platform/Registry.h"

// The Windows registry through RegOpenKeyExA, RegQueryValueExA and
// RegCloseKey: names and text values in the system's ANSI code page.
class WindowsRegistry : public Registry {
public:
    std::int32_t openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t options, std::uint32_t access,
                         Key* key) override;
    std::int32_t queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                            std::uint32_t* size) override;
    std::int32_t closeKey(Key key) override;
};
