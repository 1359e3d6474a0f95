#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Alters a register file behind Quillo's back, as another program could.
namespace AlteredRegister {

// Flips one byte inside the sealed payor of check `checkNumber` in the
// register file at `path`, which SQLite's own checks let pass. False when the
// file or the draft could not be changed.
inline bool flipPayorByte(const QString& path, const QString& checkNumber)
{
    bool flipped = false;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("altered"));
        file.setDatabaseName(path);
        if (file.open()) {
            QSqlQuery query(file);
            query.prepare(QStringLiteral("SELECT payor_line1 FROM drafts WHERE check_number = ?"));
            query.addBindValue(checkNumber);
            if (query.exec() && query.next()) {
                QByteArray sealed = query.value(0).toByteArray();
                sealed[30] = char(sealed[30] ^ 0x01);
                query.finish();
                query.prepare(QStringLiteral("UPDATE drafts SET payor_line1 = ? WHERE check_number = ?"));
                query.addBindValue(sealed);
                query.addBindValue(checkNumber);
                flipped = query.exec() && query.numRowsAffected() == 1;
            }
            file.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("altered"));
    return flipped;
}

} // namespace AlteredRegister
