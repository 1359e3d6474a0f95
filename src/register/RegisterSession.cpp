#include "register/RegisterSession.h"

#include "register/KeyringKeys.h"
#include "register/OfficeKey.h"
#include "register/PassphrasePrompt.h"
#include "register/RegisterError.h"
#include "register/RegisterUnlock.h"
#include "register/ServerPasswordRefused.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QtConcurrent>

namespace {

// What the worker found: whether the file can be opened, and where its key is.
struct Checked {
    bool usable = false;
    bool hasKey = false;
    std::optional<QString> keyringEntry;
    KeyringKeys::Readiness keyring = KeyringKeys::Readiness::Absent;
};

// The keyring's answer for one entry, asked for beforehand; anything else
// goes to the keyring itself.
class AnsweredKeyring : public KeyringKeys {
public:
    AnsweredKeyring(KeyringKeys& keyring, QString name, Answer answer)
        : m_keyring(keyring), m_name(std::move(name)), m_answer(std::move(answer))
    {}

    Answer read(const QString& name) override { return name == m_name ? m_answer : m_keyring.read(name); }
    bool write(const QString& name, const SecretBytes& key) override { return m_keyring.write(name, key); }

private:
    KeyringKeys& m_keyring;
    QString m_name;
    Answer m_answer;
};

} // namespace

RegisterSession::RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now)
    : RegisterSession(RegisterLocation::file(std::move(path)), keyring, &RegisterSession::openStore, nullptr,
                      std::move(now))
{}

RegisterSession::RegisterSession(RegisterLocation location, KeyringKeys* keyring, StoreOpener opener,
                                 PassphrasePrompt* passwordPrompt, DraftRegister::Clock now)
    : m_location(std::move(location)), m_keyring(keyring), m_opener(std::move(opener)),
      m_passwordPrompt(passwordPrompt), m_now(std::move(now))
{}

RegisterSession::~RegisterSession() = default;

QString RegisterSession::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/register.sqlite");
}

std::unique_ptr<RegisterStore> RegisterSession::openStore(const RegisterLocation& location, const QString& /*password*/,
                                                          RegisterStore::Check check)
{
    if (location.isServer())
        throw RegisterError(QStringLiteral("this version of Quillo cannot reach a register on an office server"));
    return RegisterStore::open(location.path, check);
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
    return openWith(prompt, m_keyring, RegisterStore::Check::Full);
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
    const bool scripted = !qEnvironmentVariableIsEmpty(PassphraseVariable);
    QtConcurrent::run([location = m_location, opener = m_opener, keyring = m_keyring, scripted] {
        Checked checked;
        try {
            // Its own connection, made and closed on this thread.
            const std::unique_ptr<RegisterStore> store = opener(location, QString(), RegisterStore::Check::Full);
            checked.hasKey = RegisterUnlock::hasKey(*store);
            const bool newForKeyring = !checked.hasKey && !scripted;
            if (keyring && (newForKeyring || RegisterUnlock::keyringEntry(*store)))
                checked.keyring = keyring->readiness();
            // A new register's key goes to an open keyring from here, however
            // long the keyring takes to answer; the window then reads it back
            // as any register's.
            if (newForKeyring && checked.keyring == KeyringKeys::Readiness::Unlocked) {
                RegisterKeySources sources;
                sources.keyring = keyring;
                RegisterUnlock::unlock(*store, sources);
                checked.hasKey = true;
            }
            checked.keyringEntry = RegisterUnlock::keyringEntry(*store);
            checked.usable = true;
        } catch (const RegisterError&) {
            // Said again, with its reason, when the register is next used.
        }
        return checked;
    }).then(&m_answers, [this, opened, scripted, location = m_location](const Checked& checked) {
        // Only a key had without a question opens the register now: a
        // passphrase, a new register's key or a locked keyring is asked for
        // when the register is first needed.
        if (m_register || !checked.usable || location != m_location) {
            opened(m_register != nullptr);
            return;
        }
        if (!checked.keyringEntry) {
            opened((checked.hasKey || scripted) && finishOpening(m_keyring));
            return;
        }
        if (!m_keyring || checked.keyring != KeyringKeys::Readiness::Unlocked) {
            opened(false);
            return;
        }
        m_keyring->readLater(*checked.keyringEntry)
            .then(&m_answers, [this, opened, entry = *checked.keyringEntry](KeyringKeys::Answer answer) {
                AnsweredKeyring answered(*m_keyring, entry, std::move(answer));
                opened(m_register || finishOpening(&answered));
            });
    });
}

bool RegisterSession::finishOpening(KeyringKeys* keyring)
{
    try {
        // Nobody is asked: without a prompt, a key that needs a question is refused.
        openWith(nullptr, keyring, RegisterStore::Check::DoneBefore);
        return true;
    } catch (const RegisterError&) {
        return false;
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
    const QString scripted = qEnvironmentVariable(PassphraseVariable);
    if (!scripted.isEmpty())
        sources.scriptedPassphrase = scripted;
    std::unique_ptr<RegisterCipher> cipher = RegisterUnlock::unlock(*store, sources);
    // The proof files' copies go beside the register, and move with its
    // folder; a seat of the office keeps them in its own data folder.
    const QString beside = m_location.isServer() ? defaultPath() : m_location.path;
    m_register = std::make_unique<DraftRegister>(std::move(store), std::move(cipher),
                                                 QFileInfo(beside).absolutePath() + QStringLiteral("/proofs"), m_now);
    return *m_register;
}
