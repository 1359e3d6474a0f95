#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Bytes of a key or a passphrase, in memory that libsodium keeps out of swap
// (locked), fenced by guard pages, and zeroes when it is given back: a copy
// that ends up in a core dump, the swap or a freed block of the heap is what
// this prevents. Moves, never copies.
class SecretBytes {
public:
    SecretBytes() = default;
    // `size` zero bytes. Throws a RegisterError when the memory cannot be had.
    explicit SecretBytes(qsizetype size);
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    // A copy of `bytes`; the caller wipes its own.
    static SecretBytes copyOf(QByteArrayView bytes);
    // `text` as UTF-8, with no other copy of it left behind on the way.
    static SecretBytes utf8Of(const QString& text);
    // Moves `bytes` here and zeroes them where they were.
    static SecretBytes takeFrom(QByteArray& bytes);

    qsizetype size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    unsigned char* data() { return m_data; }
    const unsigned char* data() const { return m_data; }
    QByteArrayView view() const { return {m_data, m_size}; }
    bool operator==(const SecretBytes& other) const;

    // Zeroes the bytes now; the memory stays until the object goes.
    void wipe();

    // Zeroes the bytes of a QByteArray that held a secret on the way in.
    static void wipe(QByteArray& bytes);

private:
    unsigned char* m_data = nullptr;
    qsizetype m_size = 0;
};
