#include "register/SecretBytes.h"

#include "register/RegisterError.h"

#include <sodium.h>
#include <utility>

SecretBytes::SecretBytes(qsizetype size) : m_size(size)
{
    if (size == 0)
        return;
    if (sodium_init() < 0)
        throw RegisterError(QStringLiteral("the system's cryptography library cannot start"));
    m_data = static_cast<unsigned char*>(sodium_malloc(std::size_t(size)));
    if (!m_data)
        throw RegisterError(QStringLiteral("the system cannot spare the memory that its key needs"));
    sodium_memzero(m_data, std::size_t(size));
}

SecretBytes::~SecretBytes()
{
    // Zeroes the bytes and unlocks them before giving them back.
    if (m_data)
        sodium_free(m_data);
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept
{
    if (this != &other) {
        if (m_data)
            sodium_free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

SecretBytes SecretBytes::copyOf(QByteArrayView bytes)
{
    SecretBytes secret(bytes.size());
    if (!bytes.isEmpty())
        memcpy(secret.m_data, bytes.data(), std::size_t(bytes.size()));
    return secret;
}

SecretBytes SecretBytes::utf8Of(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    return takeFrom(utf8);
}

SecretBytes SecretBytes::takeFrom(QByteArray& bytes)
{
    SecretBytes secret = copyOf(bytes);
    wipe(bytes);
    return secret;
}

bool SecretBytes::operator==(const SecretBytes& other) const
{
    return m_size == other.m_size && (m_size == 0 || sodium_memcmp(m_data, other.m_data, std::size_t(m_size)) == 0);
}

void SecretBytes::wipe()
{
    if (m_data)
        sodium_memzero(m_data, std::size_t(m_size));
}

void SecretBytes::wipe(QByteArray& bytes)
{
    // data() would first copy bytes that another QByteArray shares: those are
    // that one's to wipe.
    if (!bytes.isEmpty() && !bytes.isDetached())
        return;
    if (!bytes.isEmpty())
        sodium_memzero(bytes.data(), std::size_t(bytes.size()));
}
