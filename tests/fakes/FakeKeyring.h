#pragma once

#include "register/KeyringKeys.h"

#include <QHash>

// A keyring in memory; `answers` false makes it one that does not answer.
class FakeKeyring : public KeyringKeys {
public:
    Answer read(const QString& name) override
    {
        if (!answers)
            return {Found::NoAnswer, {}};
        if (!keys.contains(name))
            return {Found::NoKey, {}};
        return {Found::Key, keys.value(name)};
    }

    bool write(const QString& name, const QByteArray& key) override
    {
        if (!answers)
            return false;
        keys.insert(name, key);
        return true;
    }

    bool answers = true;
    QHash<QString, QByteArray> keys;
};
