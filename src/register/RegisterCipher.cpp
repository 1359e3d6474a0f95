#include "register/RegisterCipher.h"

#include "register/RegisterError.h"

#include <sodium.h>

namespace {

// The subkeys of a register key, by crypto_kdf's id, under one context of
// exactly eight characters. Never change either: they are in every register.
constexpr char KdfContext[crypto_kdf_CONTEXTBYTES + 1] = "QlloRegr";
enum Subkey : quint64 { SealKey = 1, IndexKey = 2, CheckKey = 3 };

constexpr QByteArrayView KeyCheckMessage = "Quillo draft register key check";

void ensureSodium()
{
    if (sodium_init() < 0)
        throw RegisterError(QStringLiteral("the system's cryptography library cannot start"));
}

const unsigned char* bytes(const QByteArray& data)
{
    return reinterpret_cast<const unsigned char*>(data.constData());
}

unsigned char* bytes(QByteArray& data)
{
    return reinterpret_cast<unsigned char*>(data.data());
}

QByteArray random(qsizetype size)
{
    ensureSodium();
    QByteArray data(size, Qt::Uninitialized);
    randombytes_buf(data.data(), std::size_t(size));
    return data;
}

} // namespace

RegisterCipher::RegisterCipher(const SecretBytes& registerKey)
{
    ensureSodium();
    if (registerKey.size() != KeyBytes)
        throw RegisterError(QStringLiteral("its key has the wrong length"));
    m_keys = SecretBytes(3 * KeyBytes);
    unsigned char* keys = m_keys.data();
    crypto_kdf_derive_from_key(keys, KeyBytes, SealKey, KdfContext, registerKey.data());
    crypto_kdf_derive_from_key(keys + KeyBytes, KeyBytes, IndexKey, KdfContext, registerKey.data());
    crypto_kdf_derive_from_key(keys + 2 * KeyBytes, KeyBytes, CheckKey, KdfContext, registerKey.data());
}

RegisterCipher::~RegisterCipher() = default;

QByteArray RegisterCipher::seal(const QString& value, const QByteArray& context) const
{
    return sealBytes(value.toUtf8(), context);
}

QString RegisterCipher::open(const QByteArray& sealed, const QByteArray& context) const
{
    return QString::fromUtf8(openBytes(sealed, context));
}

QByteArray RegisterCipher::sealBytes(const QByteArray& clear, const QByteArray& context) const
{
    QByteArray sealed(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + clear.size() +
                          crypto_aead_xchacha20poly1305_ietf_ABYTES,
                      Qt::Uninitialized);
    unsigned char* nonce = bytes(sealed);
    randombytes_buf(nonce, crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, &length,
                                               bytes(clear), quint64(clear.size()), bytes(context),
                                               quint64(context.size()), nullptr, nonce, sealKey());
    return sealed;
}

QByteArray RegisterCipher::openBytes(const QByteArray& sealed, const QByteArray& context) const
{
    constexpr qsizetype overhead =
        crypto_aead_xchacha20poly1305_ietf_NPUBBYTES + crypto_aead_xchacha20poly1305_ietf_ABYTES;
    if (sealed.size() < overhead)
        throw RegisterError(QStringLiteral("a protected value in it has been altered"));
    const unsigned char* nonce = bytes(sealed);
    QByteArray clear(sealed.size() - overhead, Qt::Uninitialized);
    unsigned long long length = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            bytes(clear), &length, nullptr, nonce + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES,
            quint64(sealed.size() - crypto_aead_xchacha20poly1305_ietf_NPUBBYTES), bytes(context),
            quint64(context.size()), nonce, sealKey()) != 0)
        throw RegisterError(QStringLiteral("a protected value in it has been altered"));
    clear.truncate(qsizetype(length));
    return clear;
}

QByteArray RegisterCipher::blindIndex(const QByteArray& message) const
{
    QByteArray hash(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash(bytes(hash), std::size_t(hash.size()), bytes(message), quint64(message.size()), indexKey(),
                       KeyBytes);
    return hash;
}

QByteArray RegisterCipher::keyCheck() const
{
    QByteArray hash(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash(bytes(hash), std::size_t(hash.size()),
                       reinterpret_cast<const unsigned char*>(KeyCheckMessage.data()), quint64(KeyCheckMessage.size()),
                       checkKey(), KeyBytes);
    return hash;
}

SecretBytes RegisterCipher::randomKey()
{
    SecretBytes key(KeyBytes);
    randombytes_buf(key.data(), KeyBytes);
    return key;
}

QByteArray RegisterCipher::randomSalt()
{
    static_assert(SaltBytes == crypto_pwhash_SALTBYTES);
    return random(SaltBytes);
}

QString RegisterCipher::randomId()
{
    return QString::fromLatin1(random(16).toHex());
}

RegisterCipher::Work RegisterCipher::passphraseWork()
{
    // libsodium's choice for a key that guards data worth more than a login:
    // about a second and 256 MiB of memory for each guess. A register keeps
    // the limits it was made with (passphrase_operations, passphrase_memory).
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
}

SecretBytes RegisterCipher::passphraseKey(const SecretBytes& passphrase, const QByteArray& salt, Work work)
{
    ensureSodium();
    if (salt.size() != SaltBytes)
        return {};
    SecretBytes key(KeyBytes);
    if (crypto_pwhash(key.data(), KeyBytes, reinterpret_cast<const char*>(passphrase.data()),
                      quint64(passphrase.size()), bytes(salt), work.operations, std::size_t(work.memoryBytes),
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        return {};
    return key;
}
