#pragma once

#include "register/SecretBytes.h"

#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

class RegisterStore;
struct RegisterLocation;

// The key of a register on the office server, kept in the database wrapped
// by the office passphrase: a key derived from the passphrase with Argon2id
// seals the register key, and the salt, the limits and the sealed key are the
// register's facts. Each change of the passphrase adds the next wrapping, so
// nothing is changed in place and two seats changing it at once cannot both
// succeed; the drafts' sealed values stay as they are. Failures are
// RegisterErrors.
class OfficeKey {
public:
    using Facts = std::vector<std::pair<QString, QByteArray>>;

    // The name under which a seat's keyring keeps the unwrapped key of the
    // register at `location`: its server and database.
    static QString keyringName(const RegisterLocation& location);

    // The facts of `registerKey` wrapped by `passphrase` for the register
    // `registerId`, as its wrapping number `generation` (from 1).
    static Facts wrapped(int generation, const QString& registerId, const SecretBytes& registerKey,
                         const QString& passphrase);
    // The latest wrapping's number; 0 when the key has never been wrapped.
    static int latestGeneration(RegisterStore& store);
    // The register key of the latest wrapping, or nothing (empty) when
    // `passphrase` is not the office passphrase.
    static SecretBytes unwrap(RegisterStore& store, const QString& passphrase);

    // Wraps the key again by `chosen`, once `current` has opened it. A
    // passphrase too easy to guess is refused, as for a new register.
    static void changePassphrase(RegisterStore& store, const QString& current, const QString& chosen);

private:
    static SecretBytes unwrap(RegisterStore& store, int generation, const QString& passphrase);
};
