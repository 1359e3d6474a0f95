#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// Small helpers for tests that work on real files.
namespace TestFiles {

inline QByteArray read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

// The folder of the project's sources, as CTest passes it.
inline QString sourceDir()
{
    return qEnvironmentVariable("QUILLO_SOURCE_DIR");
}

} // namespace TestFiles
