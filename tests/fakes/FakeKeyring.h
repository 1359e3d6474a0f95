#pragma once

#include "register/KeyringKeys.h"

#include <QHash>
#include <QPromise>

#include <memory>
#include <utility>
#include <vector>

// A keyring in memory; `answers` false makes it one that does not answer,
// `locked` one whose readLater() answers only at unlock(), as a keyring
// does once the merchant has typed its password.
class FakeKeyring : public KeyringKeys {
public:
    Readiness readiness() override { return ready; }

    Answer read(const QString& name) override
    {
        ++reads;
        if (!answers)
            return {Found::NoAnswer, {}};
        if (staysLocked)
            return {Found::Locked, {}};
        if (!keys.contains(name))
            return {Found::NoKey, {}};
        return {Found::Key, keys.value(name)};
    }

    bool write(const QString& name, const SecretBytes& key) override
    {
        if (!answers)
            return false;
        keys.insert(name, key.view().toByteArray());
        return true;
    }

    QFuture<Answer> readLater(const QString& name) override
    {
        if (!locked)
            return KeyringKeys::readLater(name);
        auto promise = std::make_shared<QPromise<Answer>>();
        promise->start();
        waiting.emplace_back(name, promise);
        return promise->future();
    }

    void unlock()
    {
        locked = false;
        for (auto& [name, promise] : std::exchange(waiting, {})) {
            promise->addResult(read(name));
            promise->finish();
        }
    }

    bool answers = true;
    // What it tells of itself without being read, and a keyring whose unlock the merchant refuses.
    Readiness ready = Readiness::Unlocked;
    bool staysLocked = false;
    bool locked = false;
    int reads = 0;
    QHash<QString, QByteArray> keys;
    std::vector<std::pair<QString, std::shared_ptr<QPromise<Answer>>>> waiting;
};
