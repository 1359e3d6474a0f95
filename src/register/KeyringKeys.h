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
        Locked,   // it is locked, and was not unlocked when asked
        NoAnswer, // no keyring answered
    };
    // Whether the keyring would give a key without a question.
    enum class Readiness {
        Unlocked, // it runs and is open
        Locked,   // it runs, but reading asks for its unlock
        Absent,   // none runs: asking it would start one, which may ask to be set up
    };
    struct Answer {
        Found found = Found::NoAnswer;
        // The reader takes it into SecretBytes and wipes it (SecretBytes::takeFrom).
        QByteArray key;
    };

    virtual ~KeyringKeys() = default;
    // Found out without starting a keyring or asking for its unlock, so
    // that start-up asks nothing; may wait for the session bus, so it is
    // asked off the window's thread where it can be.
    virtual Readiness readiness() { return Readiness::Unlocked; }
    virtual Answer read(const QString& name) = 0;
    // The same without waiting for the answer: a keyring that is locked
    // answers only once the merchant has unlocked it.
    virtual QFuture<Answer> readLater(const QString& name) { return QtFuture::makeReadyFuture(read(name)); }
    // Whether the keyring took the key.
    virtual bool write(const QString& name, const SecretBytes& key) = 0;
};
