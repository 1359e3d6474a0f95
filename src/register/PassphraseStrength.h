#pragma once

#include <QString>
#include <QStringList>

// How hard a new passphrase is to guess, as the zxcvbn estimator reckons it:
// it finds the words, names, sequences, repeats, rows of keys and dates a
// guesser tries first, and counts the guesses the rest would take. A
// passphrase that falls within ten billion guesses is refused: an attacker
// with a copy of the register tries that many in hours, Argon2id or not.
class PassphraseStrength {
public:
    // log2(10^10): ten billion guesses, as the estimator's bits.
    static constexpr double EnoughBits = 33.219280948873624;

    explicit PassphraseStrength(const QString& passphrase);

    double bits() const { return m_bits; }
    bool isEnough() const { return m_bits >= EnoughBits; }
    // Why the passphrase is refused and what would help, in sentences; empty
    // for one that is enough, or for none at all.
    QString advice() const;

private:
    double m_bits = 0;
    qsizetype m_length = 0;
    // What the estimator found in it, as the advice names it, once each.
    QStringList m_weaknesses;
};
