#include "platform/qt/QtFileSystemChecks.h"

#include <QFileInfo>

#ifdef Q_OS_WIN
#include <QDir>
#include <string>
#include <windows.h>
#endif

namespace {

bool isSystemFile([[maybe_unused]] const QString& path)
{
#ifdef Q_OS_WIN
    const std::wstring nativePath = QDir::toNativeSeparators(path).toStdWString();
    const DWORD attributes = GetFileAttributesW(nativePath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM) != 0;
#else
    return false;
#endif
}

} // namespace

bool QtFileSystemChecks::fileExists(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && !info.isHidden() && !isSystemFile(path);
}
