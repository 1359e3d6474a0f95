#pragma once

#include "register/DraftRegister.h"
#include "register/RegisterStore.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class KeyringKeys;
class PassphrasePrompt;

// The program's one draft register for the whole run: opened on first use,
// its key asked for once and kept while the program runs.
class RegisterSession {
public:
    // The passphrase given beforehand in the environment, for scripts.
    static constexpr const char* PassphraseVariable = "QUILLO_REGISTER_PASSPHRASE";

    // Drafts and events are written as made by `seat`.
    RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now = &QDateTime::currentDateTimeUtc,
                    QString seat = SeatName::ofThisComputer());
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

    // Opens the register without holding up the event loop and without a
    // question: only when its key can be had without one (an unlocked
    // keyring, or the passphrase variable). The file's pages are checked and
    // the keyring's state found out on a worker thread, and the keyring is
    // read without waiting for it; the rest, a few queries, runs on this
    // thread. `opened` then says whether the register is open. A register
    // left closed is opened, asking what it needs, when it is next used.
    void openInBackground(std::function<void(bool)> opened);

private:
    QString m_path;
    KeyringKeys* m_keyring;
    DraftRegister::Clock m_now;
    QString m_seat;
    std::unique_ptr<DraftRegister> m_register;
    // Answers from the background come only while the session lives.
    QObject m_answers;

    DraftRegister& openWith(PassphrasePrompt* prompt, KeyringKeys* keyring, RegisterStore::Check check);
    bool finishOpening(KeyringKeys* keyring);
};
