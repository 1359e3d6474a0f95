#pragma once

#include <QByteArray>
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
        QByteArray key;
    };

    virtual ~KeyringKeys() = default;
    virtual Answer read(const QString& name) = 0;
    // Whether the keyring took the key.
    virtual bool write(const QString& name, const QByteArray& key) = 0;
};
