#include "register/RegisterSession.h"

#include "platform/WhenFinished.h"
#include "register/FolderProofShelf.h"
#include "register/KeyringKeys.h"
#include "register/OfficeKey.h"
#include "register/PassphrasePrompt.h"
#include "register/RegisterError.h"
#include "register/RegisterUnlock.h"
#include "register/ServerPasswordRefused.h"

#include <QFileInfo>
#include <QPromise>
#include <QStandardPaths>
#include <QtConcurrent>

namespace {

// The keyring's answer for one entry, had off the window's thread; the
// keyring itself is not asked from here.
class AnsweredKeyring : public KeyringKeys {
public:
    // Keys written go to `writesTo`, where there is one.
    AnsweredKeyring(QString name, Answer answer, KeyringKeys* writesTo = nullptr)
        : m_name(std::move(name)), m_answer(std::move(answer)), m_writesTo(writesTo)
    {}

    Answer read(const QString& name) override { return name == m_name ? m_answer : Answer{}; }
    bool write(const QString& name, const SecretBytes& key) override
    {
        return m_writesTo && m_writesTo->write(name, key);
    }

private:
    QString m_name;
    Answer m_answer;
    KeyringKeys* m_writesTo;
};

std::optional<QString> scriptedPassphrase()
{
    const QString scripted = qEnvironmentVariable(RegisterSession::PassphraseVariable);
    return scripted.isEmpty() ? std::nullopt : std::optional(scripted);
}

} // namespace

struct RegisterSession::Unlocked {
    bool usable = false;                    // the file can be opened
    std::unique_ptr<RegisterCipher> cipher; // its key, had without a question
    std::optional<QString> keyringEntry;    // where the keyring keeps its key, to be read without waiting
};

RegisterSession::RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now,
                                 KeyringThreads keyringThreads, QString seat)
    : RegisterSession(RegisterLocation::file(std::move(path)), keyring, &RegisterSession::openStore, nullptr,
                      std::move(now), keyringThreads, std::move(seat))
{}

RegisterSession::RegisterSession(RegisterLocation location, KeyringKeys* keyring, StoreOpener opener,
                                 PassphrasePrompt* passwordPrompt, DraftRegister::Clock now,
                                 KeyringThreads keyringThreads, QString seat)
    : m_location(std::move(location)), m_keyring(keyring), m_opener(std::move(opener)),
      m_passwordPrompt(passwordPrompt), m_now(std::move(now)), m_keyringThreads(keyringThreads), m_seat(std::move(seat))
{}

RegisterSession::~RegisterSession()
{
    // The workers use the keyring and the store opener, which may not outlive the session.
    m_worker.waitForFinished();
    m_serverCheck.waitForFinished();
}

QString RegisterSession::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/register.sqlite");
}

std::unique_ptr<RegisterStore> RegisterSession::openStore(const RegisterLocation& location, const QString& password,
                                                          RegisterStore::Check check)
{
    return RegisterStore::open(location, password, check);
}

QString RegisterSession::passwordKeyringName(const RegisterLocation& location)
{
    return QStringLiteral("office-password-%1@%2:%3/%4")
        .arg(location.user, location.host)
        .arg(location.port)
        .arg(location.database);
}

void RegisterSession::setLocation(const RegisterLocation& location)
{
    if (location == m_location)
        return;
    m_register.reset();
    m_serverPassword.reset();
    m_keyringAnswered.reset();
    m_officeKeyAnswer.reset();
    ++m_moves;
    m_location = location;
}

void RegisterSession::keepServerPassword(const QString& password)
{
    if (password.isEmpty())
        return;
    if (m_keyring && m_keyring->write(passwordKeyringName(m_location), SecretBytes::utf8Of(password)))
        m_serverPassword.reset();
    else
        m_serverPassword = password;
}

void RegisterSession::changeOfficePassphrase(const QString& current, const QString& chosen)
{
    if (!m_location.isServer())
        throw RegisterError(QStringLiteral("it is kept on this computer, without an office passphrase"));
    OfficeKey::changePassphrase(*openAtLocation(RegisterStore::Check::DoneBefore), current, chosen);
}

RegisterCopy::Counts RegisterSession::copyThisComputersRegister(const QString& officePassphrase,
                                                                PassphrasePrompt* filePrompt)
{
    if (!m_location.isServer())
        throw RegisterError(QStringLiteral("the register is kept on this computer: choose the office server first"));
    const QString path = defaultPath();
    if (!QFileInfo::exists(path))
        throw RegisterError(QStringLiteral("this computer has no draft register"));
    const std::unique_ptr<RegisterStore> file =
        m_opener(RegisterLocation::file(path), QString(), RegisterStore::Check::Full);
    RegisterKeySources sources;
    sources.keyring = m_keyring;
    sources.prompt = filePrompt;
    sources.scriptedPassphrase = scriptedPassphrase();
    const SecretBytes key = RegisterUnlock::keyOfFile(*file, sources);
    FolderProofShelf proofs(QFileInfo(path).absolutePath() + QStringLiteral("/proofs"));
    const std::unique_ptr<RegisterStore> server = openAtLocation(RegisterStore::Check::Full);
    const RegisterCopy::Counts copied = RegisterCopy(*file, proofs, key).copyTo(*server, officePassphrase);
    // This seat has the key already: the office passphrase is for the others.
    if (m_keyring)
        m_keyring->write(OfficeKey::keyringName(m_location), key);
    // A register opened here before the copy knew none of it.
    m_register.reset();
    return copied;
}

std::unique_ptr<RegisterStore> RegisterSession::openAtLocation(RegisterStore::Check check)
{
    if (!m_location.isServer())
        return m_opener(m_location, QString(), check);
    // The password given this run, else the keyring's, else none: the
    // connection's own conventions may supply it.
    QString password = m_serverPassword.value_or(QString());
    if (!m_serverPassword && m_keyring) {
        KeyringKeys::Answer answer = m_keyring->read(passwordKeyringName(m_location));
        const SecretBytes kept = SecretBytes::takeFrom(answer.key);
        if (answer.found == KeyringKeys::Found::Key)
            password = QString::fromUtf8(kept.view());
    }
    bool typedHere = false;
    for (;;) {
        try {
            std::unique_ptr<RegisterStore> store = m_opener(m_location, password, check);
            if (typedHere)
                keepServerPassword(password);
            else if (!password.isEmpty())
                m_serverPassword = password;
            return store;
        } catch (const ServerPasswordRefused&) {
            if (!m_passwordPrompt)
                throw;
            const std::optional<QString> typed =
                m_passwordPrompt->ask(PassphrasePrompt::Purpose::ServerPassword, !password.isEmpty());
            if (!typed || typed->isEmpty())
                throw RegisterError(QStringLiteral("no password for the office server was given"));
            password = *typed;
            typedHere = true;
        }
    }
}

DraftRegister& RegisterSession::open(PassphrasePrompt* prompt)
{
    if (m_register)
        return *m_register;
    // A server's password and the office passphrase are asked for here.
    if (m_keyringThreads == KeyringThreads::Any)
        return openWith(prompt, m_keyring, RegisterStore::Check::Full);
    // What openLater() found off this thread: a failure, said once.
    const std::optional<std::optional<QString>> answered = std::exchange(m_keyringAnswered, std::nullopt);
    if (answered && *answered)
        throw RegisterError(**answered);
    if (m_location.isServer()) {
        // The keyring's answer for the office key; a question asks the rest.
        if (m_officeKeyAnswer) {
            AnsweredKeyring keyring(OfficeKey::keyringName(m_location), *std::exchange(m_officeKeyAnswer, std::nullopt),
                                    m_keyring);
            return openWith(prompt, &keyring, RegisterStore::Check::DoneBefore);
        }
        return openWith(prompt, m_keyring, RegisterStore::Check::Full);
    }
    // The keyring has had its say off this thread: what is left is a question.
    if (answered)
        return openWith(prompt, nullptr, RegisterStore::Check::Full);
    {
        const std::unique_ptr<RegisterStore> store = m_opener(m_location, QString(), RegisterStore::Check::Full);
        const bool keyringKey = RegisterUnlock::keyringEntry(*store).has_value() ||
                                (!RegisterUnlock::hasKey(*store) && !scriptedPassphrase());
        if (m_keyring && keyringKey) {
            openLater();
            throw RegisterError(QStringLiteral("the desktop's keyring, which keeps its key, has not answered yet"));
        }
    }
    return openWith(prompt, nullptr, RegisterStore::Check::DoneBefore);
}

void RegisterSession::openInBackground(std::function<void(bool)> opened)
{
    if (m_register) {
        opened(true);
        return;
    }
    // A server is reached when the register is first used, where its
    // password and the office passphrase can be asked for.
    if (m_location.isServer()) {
        opened(false);
        return;
    }
    startOpening(true, std::move(opened));
}

QFuture<void> RegisterSession::openLater()
{
    if (m_register)
        return QtFuture::makeReadyFuture();
    if (m_location.isServer())
        return openServerLater();
    if (m_opening && !m_opening->isFinished()) {
        if (!m_openingQuiet)
            return *m_opening;
        // The start-up's opening asks nothing: once it is done, this one may.
        auto promise = std::make_shared<QPromise<void>>();
        promise->start();
        whenFinished(*m_opening, &m_answers, [this, promise] {
            if (m_register) {
                promise->finish();
                return;
            }
            whenFinished(openLater(), &m_answers, [promise] { promise->finish(); });
        });
        return promise->future();
    }
    startOpening(false, {});
    return *m_opening;
}

QFuture<void> RegisterSession::openServerLater()
{
    if (m_opening && !m_opening->isFinished())
        return *m_opening;
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    m_opening = promise->future();
    m_openingQuiet = false;
    const int moves = m_moves;
    const auto finish = [promise] { promise->finish(); };
    // The password the keyring keeps, read without waiting; none makes way
    // for the connection's own conventions, then the question.
    QFuture<KeyringKeys::Answer> password = m_serverPassword || !m_keyring
                                                ? QtFuture::makeReadyFuture(KeyringKeys::Answer{})
                                                : m_keyring->readLater(passwordKeyringName(m_location));
    whenFinished(password, &m_answers, [this, moves, finish](KeyringKeys::Answer answer) {
        if (moves != m_moves)
            return finish();
        const SecretBytes kept = SecretBytes::takeFrom(answer.key);
        if (!m_serverPassword)
            m_serverPassword = answer.found == KeyringKeys::Found::Key ? QString::fromUtf8(kept.view()) : QString();
        // The server is reached, and its schema brought forward, on a worker:
        // one out of reach holds nothing up for its connection's time limit.
        // A password the server refuses is asked for by open(), never from here.
        m_serverCheck = QtConcurrent::run(
            [location = m_location, opener = m_opener, password = *m_serverPassword]() -> ServerCheck {
                try {
                    opener(location, password, RegisterStore::Check::Full);
                } catch (const ServerPasswordRefused&) {
                    return {true, std::nullopt};
                } catch (const RegisterError& error) {
                    return {false, error.reason()};
                }
                return {};
            });
        whenFinished(m_serverCheck, &m_answers, [this, moves, finish](const ServerCheck& check) {
            if (moves != m_moves || m_register || check.passwordRefused)
                return finish();
            if (check.failure || !m_keyring) {
                m_keyringAnswered = check.failure;
                return finish();
            }
            whenFinished(m_keyring->readLater(OfficeKey::keyringName(m_location)), &m_answers,
                         [this, moves, finish](KeyringKeys::Answer office) {
                             if (moves == m_moves && !m_register) {
                                 AnsweredKeyring keyring(OfficeKey::keyringName(m_location), office);
                                 try {
                                     openWith(nullptr, &keyring, RegisterStore::Check::DoneBefore);
                                 } catch (const RegisterError&) {
                                     // A question is needed, or the failure comes again: open() has the answer.
                                     m_officeKeyAnswer = std::move(office);
                                 }
                             }
                             finish();
                         });
        });
    });
    return promise->future();
}

void RegisterSession::startOpening(bool quiet, std::function<void(bool)> opened)
{
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    m_opening = promise->future();
    m_openingQuiet = quiet;
    auto done = [promise, opened = std::move(opened)](bool open) {
        if (opened)
            opened(open);
        promise->finish();
    };
    m_worker = QtConcurrent::run(
        [location = m_location, opener = m_opener, keyring = m_keyring, quiet, scripted = scriptedPassphrase()] {
            auto found = std::make_shared<Unlocked>();
            try {
                // Its own connection, made and closed on this thread.
                const std::unique_ptr<RegisterStore> store = opener(location, QString(), RegisterStore::Check::Full);
                found->usable = true;
                if (const std::optional<QString> entry = RegisterUnlock::keyringEntry(*store)) {
                    // Read without waiting, on the window's thread: a locked
                    // keyring answers once unlocked. At start-up, only an open one.
                    if (keyring && (!quiet || keyring->readiness() == KeyringKeys::Readiness::Unlocked))
                        found->keyringEntry = entry;
                    return found;
                }
                RegisterKeySources sources;
                sources.scriptedPassphrase = scripted;
                if (scripted) {
                    // Argon2id's second of work, here rather than on the window's thread.
                    found->cipher = RegisterUnlock::unlock(*store, sources);
                    return found;
                }
                if (RegisterUnlock::hasKey(*store) || !keyring)
                    return found;
                // A new register's key goes to the keyring from here, however
                // long the keyring takes to answer: an open one at start-up, at
                // first use any that runs (a locked one asks to be unlocked).
                const KeyringKeys::Readiness readiness = keyring->readiness();
                if (readiness == KeyringKeys::Readiness::Unlocked ||
                    (!quiet && readiness == KeyringKeys::Readiness::Locked)) {
                    sources.keyring = keyring;
                    try {
                        found->cipher = RegisterUnlock::unlock(*store, sources);
                    } catch (const RegisterError&) {
                        // The keyring took no key: a passphrase is chosen at first use.
                    }
                }
            } catch (const RegisterError&) {
                // Said again, with its reason, when the register is next used.
            }
            return found;
        });
    whenFinished(m_worker, &m_answers, [this, quiet, done, moves = m_moves](const std::shared_ptr<Unlocked>& found) {
        if (moves != m_moves) {
            // The register moved meanwhile: what was found is another's.
            done(m_register != nullptr);
            return;
        }
        finishUnlocked(*found, quiet, done);
    });
}

void RegisterSession::finishUnlocked(Unlocked& found, bool quiet, std::function<void(bool)> done)
{
    // A start-up's opening leaves the keyring's part to the first use.
    const auto answered = [this, quiet](std::optional<QString> failure) {
        if (!quiet)
            m_keyringAnswered = std::move(failure);
    };
    if (m_register || !found.usable) {
        answered(std::nullopt);
        done(m_register != nullptr);
        return;
    }
    if (found.cipher) {
        keep(std::move(found.cipher));
        done(m_register != nullptr);
        return;
    }
    if (!found.keyringEntry) {
        answered(std::nullopt);
        done(false);
        return;
    }
    whenFinished(m_keyring->readLater(*found.keyringEntry), &m_answers,
                 [this, done, answered, entry = *found.keyringEntry](KeyringKeys::Answer answer) {
                     if (!m_register) {
                         AnsweredKeyring keyring(entry, std::move(answer));
                         try {
                             openWith(nullptr, &keyring, RegisterStore::Check::DoneBefore);
                         } catch (const RegisterError& error) {
                             answered(error.reason());
                         }
                     }
                     done(m_register != nullptr);
                 });
}

void RegisterSession::keep(std::unique_ptr<RegisterCipher> cipher)
{
    try {
        // The proof files' copies go beside the register, and move with its folder.
        m_register = std::make_unique<DraftRegister>(
            m_opener(m_location, QString(), RegisterStore::Check::DoneBefore), std::move(cipher),
            QFileInfo(m_location.path).absolutePath() + QStringLiteral("/proofs"), m_now, m_seat);
    } catch (const RegisterError&) {
        // Said again, with its reason, when the register is next used.
    }
}

DraftRegister& RegisterSession::openWith(PassphrasePrompt* prompt, KeyringKeys* keyring, RegisterStore::Check check)
{
    if (m_register)
        return *m_register;
    std::unique_ptr<RegisterStore> store = openAtLocation(check);
    RegisterKeySources sources;
    sources.keyring = keyring;
    sources.prompt = prompt;
    if (m_location.isServer())
        sources.officeEntry = OfficeKey::keyringName(m_location);
    sources.scriptedPassphrase = scriptedPassphrase();
    std::unique_ptr<RegisterCipher> cipher = RegisterUnlock::unlock(*store, sources);
    // The proof files' copies go beside the register, and move with its
    // folder; an office server keeps them itself.
    const QString beside = m_location.isServer() ? defaultPath() : m_location.path;
    m_register =
        std::make_unique<DraftRegister>(std::move(store), std::move(cipher),
                                        QFileInfo(beside).absolutePath() + QStringLiteral("/proofs"), m_now, m_seat);
    // What became of a print while the server was out of reach waits on this computer.
    if (m_location.isServer())
        m_register->holdOutcomesIn(QFileInfo(beside).absolutePath() + QStringLiteral("/held-outcomes"));
    return *m_register;
}
