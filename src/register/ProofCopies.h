#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class RegisterCipher;

// The proof files of authorizations (a signed form, a call recording) as the
// register keeps them: a copy of each in a folder beside the register,
// sealed with the register's key like the bank numbers, so that the folder
// never holds their clear bytes. One copy serves every draft whose proof has
// the same SHA-256; its name is a keyed hash of that SHA-256, which tells
// nothing of the file to someone without the key.
class ProofCopies {
public:
    ProofCopies(QString folder, const RegisterCipher& cipher);

    // The SHA-256 of the file at `path`; nothing when it cannot be read.
    static std::optional<QByteArray> sha256Of(const QString& path);

    // The name of the copy of the proof whose SHA-256 is `sha256`, written
    // now from the file at `path` unless the folder has it already. A
    // RegisterError says why it cannot be kept: the file cannot be read, or
    // is no longer the file that was chosen, or the copy cannot be written.
    QString keep(const QString& path, const QByteArray& sha256);
    // The proof's bytes again; a RegisterError when the copy is missing or
    // does not open to bytes with that SHA-256.
    QByteArray open(const QByteArray& sha256) const;
    // Removes the copy `name`; one that is gone already is no failure.
    void remove(const QString& name);

    QString pathOf(const QString& name) const;
    QString nameFor(const QByteArray& sha256) const;

private:
    QString m_folder;
    const RegisterCipher& m_cipher;
};
