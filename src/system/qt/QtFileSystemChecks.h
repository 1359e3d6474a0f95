#pragma once

#include "platform/FileSystemChecks.h"

// File checks through QFileInfo. Hidden files (dot-files on Linux, the hidden
// attribute on Windows) and, on Windows, system files do not count.
class QtFileSystemChecks : public FileSystemChecks {
public:
    bool fileExists(const QString& path) const override;
};
