#pragma once

#include "platform/DurableFile.h"
#include "platform/FolderFiles.h"

#include <QMap>
#include <QSet>
#include <QStringList>

// Folders and files kept in memory. The `failingWrite`-th write (counted
// from 1) fails as a full disk does, before anything of that file is kept;
// 0 lets every write through. `folderRefused` and `renameRefused` make
// those steps fail as a folder without room or a name taken meanwhile do.
class FakeFolderFiles : public FolderFiles {
public:
    bool exists(const QString& path) override { return folders.contains(path) || files.contains(path); }

    void makeFolder(const QString& path) override
    {
        steps.append("folder " + path);
        if (folderRefused)
            throw FileFailure(QStringLiteral("The folder cannot be created there."));
        folders.insert(path);
    }

    void write(const QString& path, const QByteArray& bytes) override
    {
        ++writes;
        steps.append("write " + path);
        if (writes == failingWrite)
            throw FileFailure(QStringLiteral("The disk is full."));
        files.insert(path, bytes);
    }

    void rename(const QString& from, const QString& to) override
    {
        steps.append("rename " + from + " " + to);
        if (renameRefused || exists(to))
            throw FileFailure(QStringLiteral("The folder cannot take that name."));
        folders.remove(from);
        folders.insert(to);
        QMap<QString, QByteArray> moved;
        for (auto file = files.cbegin(); file != files.cend(); ++file)
            moved.insert(file.key().startsWith(from + '/') ? to + file.key().mid(from.size()) : file.key(),
                         file.value());
        files = moved;
    }

    void remove(const QString& path) override
    {
        steps.append("remove " + path);
        folders.remove(path);
        for (const QString& file : files.keys()) {
            if (file.startsWith(path + '/'))
                files.remove(file);
        }
    }

    int failingWrite = 0;
    bool folderRefused = false;
    bool renameRefused = false;
    int writes = 0;
    QSet<QString> folders;
    QMap<QString, QByteArray> files;
    QStringList steps;
};
