#include "register/RegisterSession.h"

#include "register/RegisterUnlock.h"
#include "register/SqlRegisterStore.h"

#include <QFileInfo>
#include <QStandardPaths>

RegisterSession::RegisterSession(QString path, KeyringKeys* keyring, DraftRegister::Clock now)
    : m_path(std::move(path)), m_keyring(keyring), m_now(std::move(now))
{}

RegisterSession::~RegisterSession() = default;

QString RegisterSession::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/register.sqlite");
}

DraftRegister& RegisterSession::open(PassphrasePrompt* prompt)
{
    if (m_register)
        return *m_register;
    auto store = std::make_unique<SqlRegisterStore>(m_path);
    RegisterKeySources sources;
    sources.keyring = m_keyring;
    sources.prompt = prompt;
    const QString scripted = qEnvironmentVariable(PassphraseVariable);
    if (!scripted.isEmpty())
        sources.scriptedPassphrase = scripted;
    std::unique_ptr<RegisterCipher> cipher = RegisterUnlock::unlock(*store, sources);
    // The proof files' copies go beside the register, and move with its folder.
    m_register = std::make_unique<DraftRegister>(std::move(store), std::move(cipher),
                                                 QFileInfo(m_path).absolutePath() + QStringLiteral("/proofs"), m_now);
    return *m_register;
}
