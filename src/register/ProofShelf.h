#pragma once

#include <QByteArray>
#include <QString>

// Where the register keeps the sealed copies of proof files, by name: a
// folder beside a register file, or the database of a register that seats
// share (they share no folder). Every failure is a RegisterError.
class ProofShelf {
public:
    virtual ~ProofShelf() = default;

    virtual bool has(const QString& name) = 0;
    virtual void put(const QString& name, const QByteArray& sealed) = 0;
    // The sealed bytes of the copy `name`; a RegisterError when it is missing.
    virtual QByteArray read(const QString& name) = 0;
    // Removes the copy `name`; one that is gone already is no failure.
    virtual void remove(const QString& name) = 0;
};
