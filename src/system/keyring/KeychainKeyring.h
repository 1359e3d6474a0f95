#pragma once

#include "register/KeyringKeys.h"

#include <chrono>

// The desktop's keyring through QtKeychain (the Secret Service on Linux).
// The key is kept as Base64 text, so that the keyring's own tools show it in
// a form that can be typed in elsewhere. Requests run on one thread kept for
// the whole run (the Secret Service library stays bound to the event loop it
// first ran on), and a caller of read() or write() waits at most `limit` for
// an answer: a keyring that has not answered by then counts as none.
class KeychainKeyring : public KeyringKeys {
public:
    explicit KeychainKeyring(QString service, std::chrono::milliseconds limit = std::chrono::seconds(30));

    // The Secret Service as the session bus shows it: whether it is running
    // and its default collection unlocked.
    Readiness readiness() override;
    Answer read(const QString& name) override;
    // Answers once the keyring has, with no limit: nobody waits for it.
    QFuture<Answer> readLater(const QString& name) override;
    bool write(const QString& name, const SecretBytes& key) override;

private:
    QString m_service;
    std::chrono::milliseconds m_limit;
};
