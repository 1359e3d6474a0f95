#include "register/RegisterSession.h"

#include "register/KeyringKeys.h"
#include "register/RegisterError.h"
#include "register/RegisterUnlock.h"

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

RegisterSession::RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now, QString seat)
    : m_path(std::move(path)), m_keyring(keyring), m_now(std::move(now)), m_seat(std::move(seat))
{}

RegisterSession::~RegisterSession() = default;

QString RegisterSession::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/register.sqlite");
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
    const bool scripted = !qEnvironmentVariableIsEmpty(PassphraseVariable);
    QtConcurrent::run([path = m_path, keyring = m_keyring, scripted] {
        Checked checked;
        try {
            // Its own connection, made and closed on this thread.
            const std::unique_ptr<RegisterStore> store = RegisterStore::open(path);
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
    }).then(&m_answers, [this, opened, scripted](const Checked& checked) {
        // Only a key had without a question opens the register now: a
        // passphrase, a new register's key or a locked keyring is asked for
        // when the register is first needed.
        if (m_register || !checked.usable) {
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
    std::unique_ptr<RegisterStore> store = RegisterStore::open(m_path, check);
    RegisterKeySources sources;
    sources.keyring = keyring;
    sources.prompt = prompt;
    const QString scripted = qEnvironmentVariable(PassphraseVariable);
    if (!scripted.isEmpty())
        sources.scriptedPassphrase = scripted;
    std::unique_ptr<RegisterCipher> cipher = RegisterUnlock::unlock(*store, sources);
    // The proof files' copies go beside the register, and move with its folder.
    m_register =
        std::make_unique<DraftRegister>(std::move(store), std::move(cipher),
                                        QFileInfo(m_path).absolutePath() + QStringLiteral("/proofs"), m_now, m_seat);
    return *m_register;
}
