#pragma once

#include "register/KeyringKeys.h"

#include <QCoreApplication>
#include <QHash>
#include <QPromise>
#include <QSemaphore>
#include <QThread>

#include <memory>
#include <utility>
#include <vector>

// A keyring in memory; `answers` false makes it one that does not answer,
// `locked` one whose readLater() answers only at unlock(), as a keyring
// does once the merchant has typed its password, and `holdsWrites` one
// that takes a key only when the test lets it (writesLetThrough).
class FakeKeyring : public KeyringKeys {
public:
    Readiness readiness() override
    {
        noteThread();
        return ready;
    }

    Answer read(const QString& name) override
    {
        noteThread();
        return answerFor(name);
    }

    bool write(const QString& name, const SecretBytes& key) override
    {
        noteThread();
        if (holdsWrites)
            writesLetThrough->acquire();
        if (!answers)
            return false;
        keys.insert(name, key.view().toByteArray());
        return true;
    }

    QFuture<Answer> readLater(const QString& name) override
    {
        if (!locked)
            return QtFuture::makeReadyFuture(answerFor(name));
        auto promise = std::make_shared<QPromise<Answer>>();
        promise->start();
        waiting.emplace_back(name, promise);
        return promise->future();
    }

    void unlock()
    {
        locked = false;
        for (auto& [name, promise] : std::exchange(waiting, {})) {
            promise->addResult(answerFor(name));
            promise->finish();
        }
    }

    bool answers = true;
    // What it tells of itself without being read, and a keyring whose unlock the merchant refuses.
    Readiness ready = Readiness::Unlocked;
    bool staysLocked = false;
    bool locked = false;
    bool holdsWrites = false;
    std::shared_ptr<QSemaphore> writesLetThrough = std::make_shared<QSemaphore>();
    int reads = 0;
    // Calls that waited for it on the program's main thread (read, write, readiness).
    int onMainThread = 0;
    QHash<QString, QByteArray> keys;
    std::vector<std::pair<QString, std::shared_ptr<QPromise<Answer>>>> waiting;

private:
    // Counted on the main thread only, which alone reads it.
    void noteThread()
    {
        if (QThread::currentThread() == QCoreApplication::instance()->thread())
            ++onMainThread;
    }

    Answer answerFor(const QString& name)
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
};
