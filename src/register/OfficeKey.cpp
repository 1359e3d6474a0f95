#include "register/OfficeKey.h"

#include "register/PassphraseStrength.h"
#include "register/RegisterCipher.h"
#include "register/RegisterError.h"
#include "register/RegisterLocation.h"
#include "register/RegisterStore.h"

#include <sodium.h>

namespace {

// A wrapping's facts carry its number; the names are part of the database.
QString factName(const char* name, int generation)
{
    return QStringLiteral("office_%1_%2").arg(QLatin1String(name)).arg(generation);
}

const QString FactId = QStringLiteral("register_id");

SecretBytes wrappingKey(const QString& passphrase, const QByteArray& salt, RegisterCipher::Work work)
{
    SecretBytes key = RegisterCipher::passphraseKey(SecretBytes::utf8Of(passphrase), salt, work);
    if (key.isEmpty())
        throw RegisterError(QStringLiteral("the system cannot spare the memory that the office passphrase needs"));
    return key;
}

const unsigned char* bytes(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

} // namespace

QString OfficeKey::keyringName(const RegisterLocation& location)
{
    return QStringLiteral("office-key-%1:%2/%3").arg(location.host).arg(location.port).arg(location.database);
}

OfficeKey::Facts OfficeKey::wrapped(int generation, const QString& registerId, const SecretBytes& registerKey,
                                    const QString& passphrase)
{
    const QByteArray salt = RegisterCipher::randomSalt();
    const RegisterCipher::Work work = RegisterCipher::passphraseWork();
    const SecretBytes key = wrappingKey(passphrase, salt, work);
    // The register's id is bound to the sealed key, so that a wrapping copied
    // from another register does not open here.
    const QByteArray context = registerId.toLatin1();
    QByteArray sealed(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + registerKey.size() +
                          crypto_aead_xchacha20poly1305_ietf_ABYTES,
                      Qt::Uninitialized);
    auto* nonce = reinterpret_cast<unsigned char*>(sealed.data());
    randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, nullptr,
                                               registerKey.data(), quint64(registerKey.size()), bytes(context),
                                               quint64(context.size()), nullptr, nonce, key.data());
    return {
        {factName("salt", generation), salt},
        {factName("operations", generation), QByteArray::number(work.operations)},
        {factName("memory", generation), QByteArray::number(work.memoryBytes)},
        {factName("key", generation), sealed},
    };
}

int OfficeKey::latestGeneration(RegisterStore& store)
{
    int generation = 0;
    while (store.fact(factName("key", generation + 1)))
        ++generation;
    return generation;
}

SecretBytes OfficeKey::unwrap(RegisterStore& store, const QString& passphrase)
{
    return unwrap(store, latestGeneration(store), passphrase);
}

SecretBytes OfficeKey::unwrap(RegisterStore& store, int generation, const QString& passphrase)
{
    if (generation == 0)
        throw RegisterError(QStringLiteral("the office server keeps no office key for it"));
    const QByteArray salt = store.fact(factName("salt", generation)).value_or(QByteArray());
    const RegisterCipher::Work work{store.fact(factName("operations", generation)).value_or(QByteArray()).toULongLong(),
                                    store.fact(factName("memory", generation)).value_or(QByteArray()).toULongLong()};
    const QByteArray sealed = store.fact(factName("key", generation)).value_or(QByteArray());
    const QByteArray context = store.fact(FactId).value_or(QByteArray());
    constexpr qsizetype Overhead =
        crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + crypto_aead_xchacha20poly1305_ietf_ABYTES;
    if (sealed.size() != Overhead + RegisterCipher::KeyBytes)
        throw RegisterError(QStringLiteral("the office key that the server keeps for it is damaged"));
    const SecretBytes key = wrappingKey(passphrase, salt, work);
    SecretBytes registerKey(RegisterCipher::KeyBytes);
    const unsigned char* nonce = bytes(sealed);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            registerKey.data(), nullptr, nullptr, nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES,
            quint64(sealed.size() - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES), bytes(context),
            quint64(context.size()), nonce, key.data()) != 0)
        return {};
    return registerKey;
}

void OfficeKey::changePassphrase(RegisterStore& store, const QString& current, const QString& chosen)
{
    if (!PassphraseStrength(chosen).isEnough())
        throw RegisterError(QStringLiteral("the new office passphrase is too easy to guess"));
    // The next wrapping's number is taken before the key is opened: a seat
    // that changed the passphrase meanwhile makes this one's facts collide.
    const int generation = latestGeneration(store);
    const SecretBytes registerKey = unwrap(store, generation, current);
    if (registerKey.isEmpty())
        throw RegisterError(QStringLiteral("the office passphrase given is not the office's"));
    const QString id = QString::fromLatin1(store.fact(FactId).value_or(QByteArray()));
    store.addFacts(wrapped(generation + 1, id, registerKey, chosen));
}
