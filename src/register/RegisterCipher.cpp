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

RegisterCipher::RegisterCipher(const QByteArray& registerKey)
{
    ensureSodium();
    if (registerKey.size() != KeyBytes)
        throw RegisterError(QStringLiteral("its key has the wrong length"));
    crypto_kdf_derive_from_key(m_sealKey.data(), m_sealKey.size(), SealKey, KdfContext, bytes(registerKey));
    crypto_kdf_derive_from_key(m_indexKey.data(), m_indexKey.size(), IndexKey, KdfContext, bytes(registerKey));
    crypto_kdf_derive_from_key(m_checkKey.data(), m_checkKey.size(), CheckKey, KdfContext, bytes(registerKey));
}

RegisterCipher::~RegisterCipher()
{
    sodium_memzero(m_sealKey.data(), m_sealKey.size());
    sodium_memzero(m_indexKey.data(), m_indexKey.size());
    sodium_memzero(m_checkKey.data(), m_checkKey.size());
}

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
                                               quint64(context.size()), nullptr, nonce, m_sealKey.data());
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
            quint64(context.size()), nonce, m_sealKey.data()) != 0)
        throw RegisterError(QStringLiteral("a protected value in it has been altered"));
    clear.truncate(qsizetype(length));
    return clear;
}

QByteArray RegisterCipher::blindIndex(const QByteArray& message) const
{
    QByteArray hash(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash(bytes(hash), std::size_t(hash.size()), bytes(message), quint64(message.size()),
                       m_indexKey.data(), m_indexKey.size());
    return hash;
}

QByteArray RegisterCipher::keyCheck() const
{
    QByteArray hash(crypto_generichash_BYTES, Qt::Uninitialized);
    crypto_generichash(bytes(hash), std::size_t(hash.size()),
                       reinterpret_cast<const unsigned char*>(KeyCheckMessage.data()), quint64(KeyCheckMessage.size()),
                       m_checkKey.data(), m_checkKey.size());
    return hash;
}

QByteArray RegisterCipher::randomKey()
{
    return random(KeyBytes);
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

QByteArray RegisterCipher::passphraseKey(const QString& passphrase, const QByteArray& salt, Work work)
{
    ensureSodium();
    if (salt.size() != SaltBytes)
        return {};
    QByteArray secret = passphrase.toUtf8();
    QByteArray key(KeyBytes, Qt::Uninitialized);
    const int result =
        crypto_pwhash(bytes(key), quint64(key.size()), secret.constData(), quint64(secret.size()), bytes(salt),
                      work.operations, std::size_t(work.memoryBytes), crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(secret.data(), std::size_t(secret.size()));
    if (result != 0)
        return {};
    return key;
}
