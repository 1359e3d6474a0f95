#pragma once

#include "register/DraftRegister.h"
#include "register/KeyringKeys.h"
#include "register/RegisterCopy.h"
#include "register/RegisterLocation.h"
#include "register/RegisterStore.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class PassphrasePrompt;
class RegisterCipher;

// The program's one draft register for the whole run: opened on first use,
// its key asked for once and kept while the program runs. It is a file on
// this computer or a database on the office server (RegisterLocation).
class RegisterSession {
public:
    // The passphrase given beforehand in the environment, for scripts; for
    // a register on the office server, the office passphrase.
    static constexpr const char* PassphraseVariable = "QUILLO_REGISTER_PASSPHRASE";

    // Where the keyring may be asked from.
    enum class KeyringThreads {
        Any,              // open() asks it on the calling thread, for scripts and tools
        OffCallingThread, // only openInBackground() and openLater() ask it, off the window's thread
    };

    // Opens the store at a place: for a server, with the password found for
    // it (empty: the connection's own conventions, such as ~/.pgpass). A
    // server that wants another password throws ServerPasswordRefused.
    using StoreOpener = std::function<std::unique_ptr<RegisterStore>(
        const RegisterLocation& location, const QString& password, RegisterStore::Check check)>;

    // Drafts and events are written as made by `seat`.
    RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now = &QDateTime::currentDateTimeUtc,
                    KeyringThreads keyringThreads = KeyringThreads::Any, QString seat = SeatName::ofThisComputer());
    // `passwordPrompt` asks for the office server's password when the
    // keyring holds none that the server takes; none: nobody is asked.
    RegisterSession(RegisterLocation location, KeyringKeys* keyring, StoreOpener opener,
                    PassphrasePrompt* passwordPrompt = nullptr,
                    DraftRegister::Clock now = &QDateTime::currentDateTimeUtc,
                    KeyringThreads keyringThreads = KeyringThreads::Any, QString seat = SeatName::ofThisComputer());
    ~RegisterSession();

    // Where the register is kept: the user's data folder for the program
    // (QStandardPaths::AppDataLocation), file register.sqlite.
    static QString defaultPath();
    // The stores of this version: the file's, and the office server's.
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

    // Copies the register file of this computer (defaultPath()) to the
    // empty register on the office server, its key wrapped there by
    // `officePassphrase` and kept in this seat's keyring; `filePrompt` asks
    // the file's passphrase where its key needs one. A RegisterError says
    // why nothing was copied.
    RegisterCopy::Counts copyThisComputersRegister(const QString& officePassphrase, PassphrasePrompt* filePrompt);

    // The register, opened now if it is not open yet; `prompt` asks the
    // merchant for its passphrase where one is needed. A RegisterError says
    // why it cannot be opened; the next call tries again. With
    // KeyringThreads::OffCallingThread the keyring's part comes from the
    // latest openLater(): a register whose key is the keyring's is refused
    // until that has the keyring's answer, and one is started.
    DraftRegister& open(PassphrasePrompt* prompt);

    // Opens the register without holding up the event loop and without a
    // question: only when its key can be had without one (an unlocked
    // keyring, or the passphrase variable). The file's pages are checked,
    // the keyring's state found out and a passphrase's key derived on a
    // worker thread, and the keyring is read without waiting for it; the
    // rest, a few queries, runs on this thread. `opened` then says whether
    // the register is open. A register left closed is opened, asking what
    // it needs, when it is next used.
    void openInBackground(std::function<void(bool)> opened);

    // Before a first use: gets the register's key off this thread, from the
    // keyring (read or, for a new register, written, however long the
    // keyring takes, a locked one once the merchant unlocks it) or the
    // passphrase variable. Finishes once the register is open, or once
    // open() can say why not or ask the passphrase that only a question
    // gives. Joins an opening under way.
    QFuture<void> openLater();

private:
    // What an opening off this thread found.
    struct Unlocked;

    RegisterLocation m_location;
    KeyringKeys* m_keyring;
    StoreOpener m_opener;
    PassphrasePrompt* m_passwordPrompt = nullptr;
    DraftRegister::Clock m_now;
    KeyringThreads m_keyringThreads;
    QString m_seat;
    // The server's password given or asked for this run.
    std::optional<QString> m_serverPassword;
    std::unique_ptr<DraftRegister> m_register;
    // Counts the moves to another place: an opening begun before a move is
    // not kept after it.
    int m_moves = 0;
    // The opening under way, if any, and what the latest one left for open():
    // why the keyring gave no key, or nothing when a question may give one.
    std::optional<QFuture<void>> m_opening;
    // The worker of the latest opening, waited for as the session ends.
    QFuture<std::shared_ptr<Unlocked>> m_worker;
    bool m_openingQuiet = false;
    // What trying the server's connection off this thread found: a password
    // to ask for, or why it cannot be reached. Waited for as the session ends.
    struct ServerCheck {
        bool passwordRefused = false;
        std::optional<QString> failure;
    };
    QFuture<ServerCheck> m_serverCheck;
    // The keyring's answer for the office key, read off this thread, for open().
    std::optional<KeyringKeys::Answer> m_officeKeyAnswer;
    std::optional<std::optional<QString>> m_keyringAnswered;
    // Answers from the background come only while the session lives.
    QObject m_answers;

    // Opens the register off this thread; `quiet` (at start-up) asks
    // nothing, not even a locked keyring's unlock.
    void startOpening(bool quiet, std::function<void(bool)> opened);
    // openLater() for the office server: its keyring entries read without
    // waiting, the server reached on a worker.
    QFuture<void> openServerLater();
    void finishUnlocked(Unlocked& found, bool quiet, std::function<void(bool)> done);
    void keep(std::unique_ptr<RegisterCipher> cipher);
    DraftRegister& openWith(PassphrasePrompt* prompt, KeyringKeys* keyring, RegisterStore::Check check);
    std::unique_ptr<RegisterStore> openAtLocation(RegisterStore::Check check);
};
