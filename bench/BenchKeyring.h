#pragma once

#include "register/KeyringKeys.h"

#include <chrono>

// The keyring as the runs of one bench see it: a file in the bench's data
// folder, so that every run finds the key the first one made. It answers at
// once, without the Secret Service's round trip over D-Bus; with `unlockAfter`
// it is a locked keyring that answers only after that long, as one does once
// the merchant has typed its password.
class BenchKeyring : public KeyringKeys {
public:
    explicit BenchKeyring(std::chrono::milliseconds unlockAfter = {}) : m_unlockAfter(unlockAfter) {}

    Answer read(const QString& name) override;
    QFuture<Answer> readLater(const QString& name) override;
    bool write(const QString& name, const SecretBytes& key) override;

private:
    std::chrono::milliseconds m_unlockAfter;
};
