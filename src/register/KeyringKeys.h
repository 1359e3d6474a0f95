#pragma once

#include "register/SecretBytes.h"

#include <QByteArray>
#include <QFuture>
#include <QString>

// The desktop's keyring as the register uses it: one secret by name.
class KeyringKeys {
public:
    enum class Found {
        Key,      // the keyring holds a key by that name
        NoKey,    // it answered: it holds none
        NoAnswer, // no keyring answered, or it is locked and stays so
    };
    struct Answer {
        Found found = Found::NoAnswer;
        // The reader takes it into SecretBytes and wipes it (SecretBytes::takeFrom).
        QByteArray key;
    };

    virtual ~KeyringKeys() = default;
    virtual Answer read(const QString& name) = 0;
    // The same without waiting for the answer: a keyring that is locked
    // answers only once the merchant has unlocked it.
    virtual QFuture<Answer> readLater(const QString& name) { return QtFuture::makeReadyFuture(read(name)); }
    // Whether the keyring took the key.
    virtual bool write(const QString& name, const SecretBytes& key) = 0;
};
