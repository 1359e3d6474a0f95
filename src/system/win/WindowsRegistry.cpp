#include "system/win/WindowsRegistry.h"

#include <windows.h>

namespace {

// The predefined roots are 32-bit values that Windows sign-extends to a
// pointer-sized handle (HKEY_LOCAL_MACHINE is (HKEY)(ULONG_PTR)(LONG)0x80000002).
HKEY rootHandle(std::uint32_t root)
{
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

HKEY keyHandle(Registry::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

std::int32_t WindowsRegistry::openKey(std::uint32_t root, const QByteArray& keyName, std::uint32_t options,
                                      std::uint32_t access, Key* key)
{
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(rootHandle(root), keyName.constData(), static_cast<DWORD>(options),
                                      static_cast<REGSAM>(access), &opened);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<Key>(opened);
    return static_cast<std::int32_t>(result);
}

std::int32_t WindowsRegistry::queryValue(Key key, const QByteArray& valueName, std::uint32_t* type, char* buffer,
                                         std::uint32_t* size)
{
    DWORD valueType = 0;
    DWORD valueSize = static_cast<DWORD>(*size);
    const LONG result = RegQueryValueExA(keyHandle(key), valueName.constData(), nullptr, &valueType,
                                         reinterpret_cast<LPBYTE>(buffer), &valueSize);
    *type = static_cast<std::uint32_t>(valueType);
    *size = static_cast<std::uint32_t>(valueSize);
    return static_cast<std::int32_t>(result);
}

std::int32_t WindowsRegistry::closeKey(Key key)
{
    return static_cast<std::int32_t>(RegCloseKey(keyHandle(key)));
}
