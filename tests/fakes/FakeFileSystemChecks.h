#pragma once

#include "platform/FileSystemChecks.h"

#include <QSet>
#include <QStringList>

// Knows the files it is told exist and records every path it is asked about.
class FakeFileSystemChecks : public FileSystemChecks {
public:
    bool fileExists(const QString& path) const override
    {
        asked.append(path);
        return files.contains(path);
    }

    QSet<QString> files;
    mutable QStringList asked;
};
