#pragma once

#include "platform/FolderFiles.h"

// Folders and files on the disk, written through DurableFile and made
// private through PrivateFiles.
class QtFolderFiles : public FolderFiles {
public:
    bool exists(const QString& path) override;
    void makeFolder(const QString& path) override;
    void write(const QString& path, const QByteArray& bytes) override;
    void rename(const QString& from, const QString& to) override;
    void remove(const QString& path) override;
};
