#include "system/NativeSystem.h"

#include "system/win/WindowsRegistry.h"

#include <QDir>
#include <string>
#include <windows.h>

std::unique_ptr<Registry> NativeSystem::registry()
{
    return std::make_unique<WindowsRegistry>();
}

bool NativeSystem::isSystemFile(const QString& path)
{
    const std::wstring nativePath = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(nativePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
}
