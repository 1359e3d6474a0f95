#pragma once

#include "register/SecretBytes.h"

#include <QByteArray>
#include <QString>

// The register's protection of bank numbers and payor details: each value
// sealed with XChaCha20-Poly1305 under a random nonce of its own, and
// equality look-ups through a keyed hash (a blind index) under a second key.
// Both keys, and the key check that tells a wrong key from the right one, are
// derived from one 32-byte register key.
class RegisterCipher {
public:
    static constexpr int KeyBytes = 32;
    static constexpr int SaltBytes = 16;

    // `registerKey` is KeyBytes long; the cipher keeps only what it derives,
    // in memory of libsodium's (SecretBytes).
    explicit RegisterCipher(const SecretBytes& registerKey);
    ~RegisterCipher();
    RegisterCipher(const RegisterCipher&) = delete;
    RegisterCipher& operator=(const RegisterCipher&) = delete;

    // `value` sealed: nonce, cipher text and tag. `context` is bound to it
    // (the draft and the field), so that a value moved elsewhere in the file
    // no longer opens.
    QByteArray seal(const QString& value, const QByteArray& context) const;
    // The value again; a RegisterError when it does not open with this key
    // and context (the file has been altered).
    QString open(const QByteArray& sealed, const QByteArray& context) const;
    // The same for bytes (a proof file's copy).
    QByteArray sealBytes(const QByteArray& clear, const QByteArray& context) const;
    QByteArray openBytes(const QByteArray& sealed, const QByteArray& context) const;

    // A keyed hash of `message`, the same for the same message and key.
    QByteArray blindIndex(const QByteArray& message) const;

    // A value kept in the register that only the right key reproduces.
    QByteArray keyCheck() const;

    // A new random register key, and a random salt for a passphrase.
    static SecretBytes randomKey();
    static QByteArray randomSalt();
    // A random identifier, as 32 hexadecimal digits.
    static QString randomId();

    // The Argon2id parameters a new register keeps with its salt.
    struct Work {
        quint64 operations;
        quint64 memoryBytes;
    };
    static Work passphraseWork();
    // The register key derived from a passphrase (UTF-8) with Argon2id;
    // empty when the system cannot spare the memory it takes.
    static SecretBytes passphraseKey(const SecretBytes& passphrase, const QByteArray& salt, Work work);

private:
    // The seal, index and check keys, one after the other.
    SecretBytes m_keys;
    const unsigned char* sealKey() const { return m_keys.data(); }
    const unsigned char* indexKey() const { return m_keys.data() + KeyBytes; }
    const unsigned char* checkKey() const { return m_keys.data() + 2 * KeyBytes; }
};
