#pragma once

#include <QString>

// Folders and files that only their owner may read: the register, its proof
// copies. Modes are set explicitly, whatever the process's umask.
namespace PrivateFiles {

// Creates the folder at `path` and any missing folder above it, each new one
// readable by its owner alone (0700). False when a folder cannot be created.
bool makeFolder(const QString& path);

// Takes every permission away from the group and others on the file or
// folder at `path` (0600 for a file, 0700 for a folder, as far as its owner
// had them), if it exists and this user owns it. False when the system
// refused the change; a missing path is no failure.
bool tighten(const QString& path);

// Creates the file at `path` empty and readable by its owner alone (0600),
// if it does not exist yet; an existing file is tightened. False when it
// cannot be created.
bool createFile(const QString& path);

} // namespace PrivateFiles
