#pragma once

#include <QString>

// Questions about files that the program asks before it relies on one.
class FileSystemChecks {
public:
    virtual ~FileSystemChecks() = default;

    // True when `path` names an ordinary file that a directory listing shows:
    // folders and hidden or system files do not count.
    virtual bool fileExists(const QString& path) const = 0;
};
