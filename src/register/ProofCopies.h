#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class ProofShelf;
class RegisterCipher;

// The proof files of authorizations (a signed form, a call recording) as the
// register keeps them: a copy of each on its shelf (a folder beside the
// register file, or the shared register's database), sealed with the
// register's key like the bank numbers, so that the shelf never holds their
// clear bytes. One copy serves every draft whose proof has
// the same SHA-256; its name is a keyed hash of that SHA-256, which tells
// nothing of the file to someone without the key.
class ProofCopies {
public:
    ProofCopies(QString folder, const RegisterCipher& cipher);
    ProofCopies(std::unique_ptr<ProofShelf> shelf, const RegisterCipher& cipher);
    ~ProofCopies();

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

    QString nameFor(const QByteArray& sha256) const;

private:
    std::unique_ptr<ProofShelf> m_shelf;
    const RegisterCipher& m_cipher;
};
