#include "register/RegisterUnlock.h"

#include "register/KeyringKeys.h"
#include "register/OfficeKey.h"
#include "register/PassphrasePrompt.h"
#include "register/PassphraseStrength.h"
#include "register/RegisterError.h"
#include "register/RegisterStore.h"

#include <QDateTime>
#include <sodium.h>

namespace {

// The register's facts about its key. Names are part of the file.
const QString FactId = QStringLiteral("register_id");
const QString FactKeySource = QStringLiteral("key_source");
const QString FactKeyCheck = QStringLiteral("key_check");
const QString FactSalt = QStringLiteral("passphrase_salt");
const QString FactOperations = QStringLiteral("passphrase_operations");
const QString FactMemory = QStringLiteral("passphrase_memory");
const QString FactCreated = QStringLiteral("created_at");
const QByteArray InKeyring = "keyring";
const QByteArray FromPassphrase = "passphrase";
const QByteArray FromOffice = "office";

// Zeroes a passphrase's text once it has served, where this copy is the only one.
void forget(std::optional<QString>& text)
{
    if (text && text->isDetached() && !text->isEmpty())
        sodium_memzero(text->data(), std::size_t(text->size()) * sizeof(QChar));
    text.reset();
}

bool checks(const RegisterCipher& cipher, const QByteArray& keyCheck)
{
    const QByteArray computed = cipher.keyCheck();
    return computed.size() == keyCheck.size() &&
           sodium_memcmp(computed.constData(), keyCheck.constData(), std::size_t(computed.size())) == 0;
}

SecretBytes passphraseKeyOf(const QString& passphrase, const QByteArray& salt, RegisterCipher::Work work)
{
    SecretBytes key = RegisterCipher::passphraseKey(SecretBytes::utf8Of(passphrase), salt, work);
    if (key.isEmpty())
        throw RegisterError(QStringLiteral("the system cannot spare the memory that its passphrase needs"));
    return key;
}

std::unique_ptr<RegisterCipher> fromPassphrase(const QString& passphrase, const QByteArray& salt,
                                               RegisterCipher::Work work)
{
    return std::make_unique<RegisterCipher>(passphraseKeyOf(passphrase, salt, work));
}

// The office key from this seat's keyring, where it holds the right one.
std::unique_ptr<RegisterCipher> officeKeyFromKeyring(const RegisterKeySources& sources, const QByteArray& keyCheck)
{
    if (!sources.keyring)
        return nullptr;
    KeyringKeys::Answer answer = sources.keyring->read(sources.officeEntry);
    const SecretBytes key = SecretBytes::takeFrom(answer.key);
    if (answer.found != KeyringKeys::Found::Key || key.size() != RegisterCipher::KeyBytes)
        return nullptr;
    auto cipher = std::make_unique<RegisterCipher>(key);
    // A key kept for an earlier database of the same name is not this one's.
    return checks(*cipher, keyCheck) ? std::move(cipher) : nullptr;
}

// A seat joining the office register: the key unwrapped with the office
// passphrase, and kept in the seat's keyring so that it is asked only once.
std::unique_ptr<RegisterCipher> unlockOffice(RegisterStore& store, const RegisterKeySources& sources)
{
    const QByteArray keyCheck = store.fact(FactKeyCheck).value_or(QByteArray());
    if (sources.officeEntry.isEmpty())
        throw RegisterError(QStringLiteral("it is an office register, kept on the office server"));
    if (auto cipher = officeKeyFromKeyring(sources, keyCheck))
        return cipher;
    SecretBytes key;
    if (sources.scriptedPassphrase) {
        key = OfficeKey::unwrap(store, *sources.scriptedPassphrase);
        if (key.isEmpty())
            throw RegisterError(QStringLiteral("QUILLO_REGISTER_PASSPHRASE does not hold the office passphrase"));
    } else {
        bool wrongBefore = false;
        while (key.isEmpty()) {
            std::optional<QString> passphrase =
                sources.prompt ? sources.prompt->ask(PassphrasePrompt::Purpose::EnterOffice, wrongBefore)
                               : std::nullopt;
            if (!passphrase || passphrase->isEmpty())
                throw RegisterError(QStringLiteral("no office passphrase was given"));
            key = OfficeKey::unwrap(store, *passphrase);
            forget(passphrase);
            wrongBefore = true;
        }
    }
    auto cipher = std::make_unique<RegisterCipher>(key);
    if (!checks(*cipher, keyCheck))
        throw RegisterError(QStringLiteral("the office key that the server keeps for it is not its key"));
    // Scripts leave nothing behind in the keyring; a seat that cannot keep
    // the key is asked again at its next run.
    if (sources.keyring && !sources.scriptedPassphrase)
        sources.keyring->write(sources.officeEntry, key);
    return cipher;
}

// The first seat on a new office register: a random key, wrapped by the
// office passphrase that this seat chooses.
std::unique_ptr<RegisterCipher> unlockNewOffice(RegisterStore& store, const RegisterKeySources& sources)
{
    std::optional<QString> passphrase = sources.scriptedPassphrase;
    if (passphrase && !PassphraseStrength(*passphrase).isEnough())
        throw RegisterError(QStringLiteral("the passphrase in QUILLO_REGISTER_PASSPHRASE is too easy to guess "
                                           "for a new office register"));
    if (!passphrase && sources.prompt)
        passphrase = sources.prompt->ask(PassphrasePrompt::Purpose::ChooseOffice, false);
    if (!passphrase || passphrase->isEmpty())
        throw RegisterError(QStringLiteral("no office passphrase was given"));
    const QString id = RegisterCipher::randomId();
    const SecretBytes key = RegisterCipher::randomKey();
    auto cipher = std::make_unique<RegisterCipher>(key);
    OfficeKey::Facts facts = OfficeKey::wrapped(1, id, key, *passphrase);
    if (!sources.scriptedPassphrase)
        forget(passphrase);
    facts.emplace_back(FactId, id.toLatin1());
    facts.emplace_back(FactCreated, QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
    facts.emplace_back(FactKeySource, FromOffice);
    facts.emplace_back(FactKeyCheck, cipher->keyCheck());
    // Another seat that made the key meanwhile makes these facts collide:
    // this seat then joins with that seat's passphrase.
    store.addFacts(facts);
    if (sources.keyring && !sources.scriptedPassphrase)
        sources.keyring->write(sources.officeEntry, key);
    return cipher;
}

// The key of a register file, from the keyring or its passphrase.
SecretBytes fileKey(RegisterStore& store, const RegisterKeySources& sources, const QByteArray& keySource)
{
    const QByteArray keyCheck = store.fact(FactKeyCheck).value_or(QByteArray());
    if (keySource == InKeyring) {
        const QString id = QString::fromLatin1(store.fact(FactId).value_or(QByteArray()));
        if (!sources.keyring)
            throw RegisterError(QStringLiteral("its key is kept in the desktop's keyring, which cannot be reached"));
        KeyringKeys::Answer answer = sources.keyring->read(RegisterUnlock::keyringName(id));
        SecretBytes key = SecretBytes::takeFrom(answer.key);
        switch (answer.found) {
        case KeyringKeys::Found::NoAnswer:
            throw RegisterError(QStringLiteral("the desktop's keyring, which keeps its key, does not answer"));
        case KeyringKeys::Found::Locked:
            throw RegisterError(QStringLiteral("the desktop's keyring, which keeps its key, is locked"));
        case KeyringKeys::Found::NoKey:
            throw RegisterError(QStringLiteral("the desktop's keyring holds no key for it"));
        case KeyringKeys::Found::Key:
            break;
        }
        if (key.size() != RegisterCipher::KeyBytes || !checks(RegisterCipher(key), keyCheck))
            throw RegisterError(QStringLiteral("the key that the desktop's keyring holds for it is not its key"));
        return key;
    }
    if (keySource != FromPassphrase)
        throw RegisterError(QStringLiteral("it keeps its key in a way this version of Quillo does not know"));

    const QByteArray salt = store.fact(FactSalt).value_or(QByteArray());
    const RegisterCipher::Work work{store.fact(FactOperations).value_or(QByteArray()).toULongLong(),
                                    store.fact(FactMemory).value_or(QByteArray()).toULongLong()};
    if (sources.scriptedPassphrase) {
        SecretBytes key = passphraseKeyOf(*sources.scriptedPassphrase, salt, work);
        if (!checks(RegisterCipher(key), keyCheck))
            throw RegisterError(QStringLiteral("QUILLO_REGISTER_PASSPHRASE does not hold its passphrase"));
        return key;
    }
    bool wrongBefore = false;
    for (;;) {
        std::optional<QString> passphrase =
            sources.prompt ? sources.prompt->ask(PassphrasePrompt::Purpose::Enter, wrongBefore) : std::nullopt;
        if (!passphrase || passphrase->isEmpty())
            throw RegisterError(QStringLiteral("no register passphrase was given"));
        SecretBytes key = passphraseKeyOf(*passphrase, salt, work);
        forget(passphrase);
        if (checks(RegisterCipher(key), keyCheck))
            return key;
        wrongBefore = true;
    }
}

std::unique_ptr<RegisterCipher> unlockExisting(RegisterStore& store, const RegisterKeySources& sources,
                                               const QByteArray& keySource)
{
    if (keySource == FromOffice)
        return unlockOffice(store, sources);
    return std::make_unique<RegisterCipher>(fileKey(store, sources, keySource));
}

std::unique_ptr<RegisterCipher> unlockNew(RegisterStore& store, const RegisterKeySources& sources)
{
    const QString id = RegisterCipher::randomId();
    std::vector<std::pair<QString, QByteArray>> facts = {
        {FactId, id.toLatin1()},
        {FactCreated, QByteArray::number(QDateTime::currentMSecsSinceEpoch())},
    };
    std::unique_ptr<RegisterCipher> cipher;
    // A keyring that is not running is not started: starting one may ask
    // the merchant to set it up, in words that do not name Quillo.
    const bool keyringRuns = sources.keyring && !sources.scriptedPassphrase &&
                             sources.keyring->readiness() != KeyringKeys::Readiness::Absent;
    if (keyringRuns) {
        const SecretBytes key = RegisterCipher::randomKey();
        if (sources.keyring->write(RegisterUnlock::keyringName(id), key)) {
            cipher = std::make_unique<RegisterCipher>(key);
            facts.emplace_back(FactKeySource, InKeyring);
        }
    }
    if (!cipher) {
        std::optional<QString> passphrase = sources.scriptedPassphrase;
        // Held to the rule the dialog applies to the merchant's choice; an
        // existing register opens with whatever passphrase it was given.
        if (passphrase && !PassphraseStrength(*passphrase).isEnough())
            throw RegisterError(QStringLiteral("the passphrase in QUILLO_REGISTER_PASSPHRASE is too easy to guess "
                                               "for a new register"));
        if (!passphrase && sources.prompt)
            passphrase = sources.prompt->ask(PassphrasePrompt::Purpose::Choose, false);
        if (!passphrase || passphrase->isEmpty())
            throw RegisterError(keyringRuns ? QStringLiteral("the desktop's keyring does not answer, and no register "
                                                             "passphrase was given")
                                            : QStringLiteral("no register passphrase was given"));
        const QByteArray salt = RegisterCipher::randomSalt();
        const RegisterCipher::Work work = RegisterCipher::passphraseWork();
        cipher = fromPassphrase(*passphrase, salt, work);
        if (!sources.scriptedPassphrase)
            forget(passphrase);
        facts.emplace_back(FactKeySource, FromPassphrase);
        facts.emplace_back(FactSalt, salt);
        facts.emplace_back(FactOperations, QByteArray::number(work.operations));
        facts.emplace_back(FactMemory, QByteArray::number(work.memoryBytes));
    }
    facts.emplace_back(FactKeyCheck, cipher->keyCheck());
    store.addFacts(facts);
    return cipher;
}

} // namespace

std::unique_ptr<RegisterCipher> RegisterUnlock::unlock(RegisterStore& store, const RegisterKeySources& sources)
{
    if (const std::optional<QByteArray> keySource = store.fact(FactKeySource))
        return unlockExisting(store, sources, *keySource);
    try {
        return sources.officeEntry.isEmpty() ? unlockNew(store, sources) : unlockNewOffice(store, sources);
    } catch (const RegisterError&) {
        // Another program may have made the register's key meanwhile.
        if (const std::optional<QByteArray> keySource = store.fact(FactKeySource))
            return unlockExisting(store, sources, *keySource);
        throw;
    }
}

bool RegisterUnlock::hasKey(RegisterStore& store)
{
    return store.fact(FactKeySource).has_value();
}

std::optional<QString> RegisterUnlock::keyringEntry(RegisterStore& store)
{
    if (store.fact(FactKeySource) != std::optional<QByteArray>(InKeyring))
        return std::nullopt;
    return keyringName(QString::fromLatin1(store.fact(FactId).value_or(QByteArray())));
}

SecretBytes RegisterUnlock::keyOfFile(RegisterStore& store, const RegisterKeySources& sources)
{
    const QByteArray keySource = store.fact(FactKeySource).value_or(QByteArray());
    if (keySource.isEmpty())
        throw RegisterError(QStringLiteral("it has no key yet"));
    if (keySource == FromOffice)
        throw RegisterError(QStringLiteral("it is an office register, kept on the office server"));
    return fileKey(store, sources, keySource);
}

QString RegisterUnlock::keyringName(const QString& registerId)
{
    return QStringLiteral("register-") + registerId;
}
