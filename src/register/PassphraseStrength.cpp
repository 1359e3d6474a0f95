#include "register/PassphraseStrength.h"

#include <sodium.h>
#include <zxcvbn.h>

namespace {

// Shorter than this, a passphrase is told to grow whatever it holds.
constexpr qsizetype ShortLength = 12;

// Debian's C library of the estimator reports what it matched but, unlike
// the estimator's other versions, writes no advice: these sentences are
// Quillo's own, one for each kind of match that makes a guess easy.
QStringList weaknessesOf(ZxcTypeMatch_t type)
{
    QStringList found;
    if (int(type) & MULTIPLE_MATCH)
        found.append(QStringLiteral("Repeated characters or words add little."));
    switch (int(type) & ~int(MULTIPLE_MATCH)) {
    case DICTIONARY_MATCH:
    case DICT_LEET_MATCH:
    case USER_MATCH:
    case USER_LEET_MATCH:
        found.append(QStringLiteral("Common words and names are guessed first, even with digits for letters."));
        break;
    case REPEATS_MATCH:
        found.append(QStringLiteral("Repeated characters or words add little."));
        break;
    case SEQUENCE_MATCH:
        found.append(QStringLiteral("Sequences such as \"abc\" or \"1234\" add little."));
        break;
    case SPATIAL_MATCH:
        found.append(QStringLiteral("Rows of keys such as \"qwerty\" add little."));
        break;
    case DATE_MATCH:
    case YEAR_MATCH:
        found.append(QStringLiteral("Dates and years are guessed early."));
        break;
    default:
        break;
    }
    return found;
}

} // namespace

PassphraseStrength::PassphraseStrength(const QString& passphrase) : m_length(passphrase.size())
{
    if (passphrase.isEmpty())
        return;
    QByteArray text = passphrase.toUtf8();
    ZxcMatch_t* matches = nullptr;
    m_bits = ZxcvbnMatch(text.constData(), nullptr, &matches);
    sodium_memzero(text.data(), std::size_t(text.size()));
    // In the order of the passphrase, each kind once.
    for (const ZxcMatch_t* match = matches; match; match = match->Next) {
        for (const QString& weakness : weaknessesOf(match->Type)) {
            if (!m_weaknesses.contains(weakness))
                m_weaknesses.append(weakness);
        }
    }
    ZxcvbnFreeInfo(matches);
}

QString PassphraseStrength::advice() const
{
    if (m_length == 0 || isEnough())
        return {};
    QStringList sentences{QStringLiteral("This passphrase could be guessed in fewer than ten billion tries.")};
    sentences += m_weaknesses;
    if (m_length < ShortLength)
        sentences.append(QStringLiteral("It is short: every character more makes it harder to guess."));
    sentences.append(QStringLiteral("Add another word or two that are not common."));
    return sentences.join(QLatin1Char(' '));
}
