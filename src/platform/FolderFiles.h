#pragma once

#include <QByteArray>
#include <QString>

// The file system as a command that makes a folder of files sees it. Each
// failure is a FileFailure whose message is the reason alone ("The disk is
// full.").
class FolderFiles {
public:
    virtual ~FolderFiles() = default;

    // Whether anything (a file, a folder, a link) is at `path`.
    virtual bool exists(const QString& path) = 0;
    // Creates the folder at `path`, whose parent exists, readable by its owner alone (0700).
    virtual void makeFolder(const QString& path) = 0;
    // Creates the file at `path` holding exactly `bytes`, readable by its
    // owner alone (0600); returns once the bytes have reached the disk.
    virtual void write(const QString& path, const QByteArray& bytes) = 0;
    // Gives the folder at `from` the name `to`, which nothing may have yet.
    virtual void rename(const QString& from, const QString& to) = 0;
    // Removes the folder at `path` with everything in it, as far as it can;
    // never fails.
    virtual void remove(const QString& path) = 0;
};
