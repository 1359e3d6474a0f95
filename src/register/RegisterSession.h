#pragma once

#include "register/DraftRegister.h"
#include "register/RegisterLocation.h"
#include "register/RegisterStore.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class KeyringKeys;
class PassphrasePrompt;

// The program's one draft register for the whole run: opened on first use,
// its key asked for once and kept while the program runs. It is a file on
// this computer or a database on the office server (RegisterLocation).
class RegisterSession {
public:
    // The passphrase given beforehand in the environment, for scripts; for
    // a register on the office server, the office passphrase.
    static constexpr const char* PassphraseVariable = "QUILLO_REGISTER_PASSPHRASE";

    // Opens the store at a place: for a server, with the password found for
    // it (empty: the connection's own conventions, such as ~/.pgpass). A
    // server that wants another password throws ServerPasswordRefused.
    using StoreOpener = std::function<std::unique_ptr<RegisterStore>(
        const RegisterLocation& location, const QString& password, RegisterStore::Check check)>;

    RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now = &QDateTime::currentDateTimeUtc);
    // `passwordPrompt` asks for the office server's password when the
    // keyring holds none that the server takes; none: nobody is asked.
    RegisterSession(RegisterLocation location, KeyringKeys* keyring, StoreOpener opener,
                    PassphrasePrompt* passwordPrompt = nullptr,
                    DraftRegister::Clock now = &QDateTime::currentDateTimeUtc);
    ~RegisterSession();

    // Where the register is kept: the user's data folder for the program
    // (QStandardPaths::AppDataLocation), file register.sqlite.
    static QString defaultPath();
    // The stores of this version: the file's; the server's where it can be reached.
    static std::unique_ptr<RegisterStore> openStore(const RegisterLocation& location, const QString& password,
                                                    RegisterStore::Check check);
    // The name under which the keyring keeps the password of the server's user.
    static QString passwordKeyringName(const RegisterLocation& location);

    const QString& path() const { return m_location.path; }
    const RegisterLocation& location() const { return m_location; }
    bool isOpen() const { return m_register != nullptr; }

    // The register is kept at `location` from now on: an open register at
    // another place is closed, and the next use opens the new one. Nothing
    // else may hold the register that was open.
    void setLocation(const RegisterLocation& location);
    // The office server's password, as the merchant gave it: kept in the
    // keyring where it takes it, otherwise for this run.
    void keepServerPassword(const QString& password);
    // Wraps the office key by `chosen`, once `current` has opened it; the
    // drafts stay as they are. A RegisterError says why it cannot be changed.
    void changeOfficePassphrase(const QString& current, const QString& chosen);

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
    RegisterLocation m_location;
    KeyringKeys* m_keyring;
    StoreOpener m_opener;
    PassphrasePrompt* m_passwordPrompt = nullptr;
    DraftRegister::Clock m_now;
    // The server's password given or asked for this run.
    std::optional<QString> m_serverPassword;
    std::unique_ptr<DraftRegister> m_register;
    // Answers from the background come only while the session lives.
    QObject m_answers;

    DraftRegister& openWith(PassphrasePrompt* prompt, KeyringKeys* keyring, RegisterStore::Check check);
    std::unique_ptr<RegisterStore> openAtLocation(RegisterStore::Check check);
    bool finishOpening(KeyringKeys* keyring);
};
