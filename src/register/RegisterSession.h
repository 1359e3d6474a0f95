#pragma once

#include "register/DraftRegister.h"

#include <QString>
#include <memory>

class KeyringKeys;
class PassphrasePrompt;

// The program's one draft register for the whole run: opened on first use,
// its key asked for once and kept while the program runs.
class RegisterSession {
public:
    // The passphrase given beforehand in the environment, for scripts.
    static constexpr const char* PassphraseVariable = "QUILLO_REGISTER_PASSPHRASE";

    RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now = &QDateTime::currentDateTimeUtc);
    ~RegisterSession();

    // Where the register is kept: the user's data folder for the program
    // (QStandardPaths::AppDataLocation), file register.sqlite.
    static QString defaultPath();

    const QString& path() const { return m_path; }
    bool isOpen() const { return m_register != nullptr; }

    // The register, opened now if it is not open yet; `prompt` asks the
    // merchant for its passphrase where one is needed. A RegisterError says
    // why it cannot be opened; the next call tries again.
    DraftRegister& open(PassphrasePrompt* prompt);

private:
    QString m_path;
    KeyringKeys* m_keyring;
    DraftRegister::Clock m_now;
    std::unique_ptr<DraftRegister> m_register;
};
