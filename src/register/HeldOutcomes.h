#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What became of prints that this seat could not write to the office
// register, kept on this computer until the register takes it: one sealed
// record a line, in a file readable by the merchant alone. Each change
// replaces the whole file, so that a failure or a kill leaves it as it was.
class HeldOutcomes {
public:
    explicit HeldOutcomes(QString file);

    // The records held, oldest first; none when the file is missing.
    QList<QByteArray> all() const;
    // Adds `sealed` after the others. A RegisterError says why it cannot be kept.
    void add(const QByteArray& sealed);
    // Keeps only `left` (written elsewhere meanwhile: the rest); the file goes with the last.
    void keepOnly(const QList<QByteArray>& left);

    const QString& file() const { return m_file; }

private:
    void write(const QList<QByteArray>& records);

    QString m_file;
};
