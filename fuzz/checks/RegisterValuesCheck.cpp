#include "RegisterValuesCheck.h"
#include "WorkFolder.h"

#include "register/HeldOutcomes.h"
#include "register/RegisterCipher.h"
#include "register/RegisterError.h"
#include "register/SecretBytes.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

// What a sealed value that does not open is refused with.
const QString Altered = QStringLiteral("The draft register cannot be used: a protected value in it has been altered.");
constexpr qsizetype SealOverhead = 24 + 16; // the nonce, then the tag

// One key for every input, so that a failure can be replayed.
const RegisterCipher& cipher()
{
    static const RegisterCipher* const made = [] {
        SecretBytes key(RegisterCipher::KeyBytes);
        for (qsizetype i = 0; i < key.size(); ++i)
            key.data()[i] = static_cast<unsigned char>(0x51 + i);
        return new RegisterCipher(key);
    }();
    return *made;
}

// Whether `sealed` opens, bound to `context`; a refusal for another reason
// than an altered value is a failure.
bool opens(const QByteArray& sealed, const QByteArray& context, QStringList& failures)
{
    try {
        cipher().openBytes(sealed, context);
        return true;
    } catch (const RegisterError& error) {
        if (error.message() != Altered)
            failures << QStringLiteral("a value that does not open is refused with \"%1\"").arg(error.message());
        return false;
    }
}

void checkUnsealed(const QByteArray& input, QStringList& failures)
{
    if (opens(input, QByteArrayLiteral("draft 1 payor"), failures))
        failures << QStringLiteral("%1 bytes never sealed open as a value").arg(input.size());
}

void checkSealed(const QByteArray& input, QStringList& failures)
{
    const QByteArray context = QByteArrayLiteral("draft 1 payor");
    const QByteArray sealed = cipher().sealBytes(input, context);
    if (sealed.size() != input.size() + SealOverhead)
        failures << QStringLiteral("%1 bytes sealed are %2 bytes").arg(input.size()).arg(sealed.size());
    try {
        if (cipher().openBytes(sealed, context) != input)
            failures << QStringLiteral("a sealed value opens to other bytes");
    } catch (const RegisterError& error) {
        failures << QStringLiteral("a sealed value does not open: ") + error.message();
    }
    if (cipher().sealBytes(input, context).first(24) == sealed.first(24))
        failures << QStringLiteral("a value sealed twice has the same nonce");
    if (opens(sealed, QByteArrayLiteral("draft 2 payor"), failures))
        failures << QStringLiteral("a sealed value opens bound to another draft");

    // One byte changed, and the value cut short, at a place the input chooses.
    const QByteArray digest = QCryptographicHash::hash(input, QCryptographicHash::Sha256);
    const qsizetype at =
        (static_cast<unsigned char>(digest[0]) | static_cast<unsigned char>(digest[1]) << 8) % sealed.size();
    QByteArray changed = sealed;
    changed[at] = char(changed[at] ^ (1 << (static_cast<unsigned char>(digest[2]) % 8)));
    if (opens(changed, context, failures))
        failures << QStringLiteral("a sealed value opens with byte %1 changed").arg(at);
    if (opens(sealed.first(at), context, failures))
        failures << QStringLiteral("a sealed value opens cut to %1 bytes").arg(at);
}

void checkHeld(const QByteArray& input, QStringList& failures)
{
    const QString path = workFolder() + QStringLiteral("/held-outcomes");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        file.write(input) != input.size()) {
        failures << QStringLiteral("the input could not be written to %1").arg(path);
        return;
    }
    file.close();

    HeldOutcomes held(path);
    const QList<QByteArray> records = held.all();
    for (const QByteArray& record : records) {
        if (record.isEmpty())
            failures << QStringLiteral("an empty record is held");
        else if (opens(record, QByteArrayLiteral("held_outcome"), failures))
            failures << QStringLiteral("a held record never sealed opens");
    }
    try {
        held.keepOnly(records);
    } catch (const RegisterError& error) {
        failures << QStringLiteral("the held records could not be written back: ") + error.message();
        return;
    }
    if (held.all() != records)
        failures << QStringLiteral("%1 held records read back as %2").arg(records.size()).arg(held.all().size());
    if (records.isEmpty() && QFile::exists(path))
        failures << QStringLiteral("a file holding no record is kept");
}

} // namespace

QStringList RegisterValuesCheck::check(QByteArrayView input)
{
    const QByteArray bytes = input.toByteArray();
    QStringList failures;
    checkUnsealed(bytes, failures);
    checkSealed(bytes, failures);
    checkHeld(bytes, failures);
    return failures;
}
