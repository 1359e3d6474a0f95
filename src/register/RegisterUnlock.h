#pragma once

#include "register/RegisterCipher.h"

#include <QString>
#include <memory>
#include <optional>

class KeyringKeys;
class PassphrasePrompt;
class RegisterStore;

// Where a register's key can come from.
struct RegisterKeySources {
    KeyringKeys* keyring = nullptr;     // none: no keyring is asked
    PassphrasePrompt* prompt = nullptr; // none: nobody is asked
    // A passphrase given beforehand (QUILLO_REGISTER_PASSPHRASE): it answers
    // the question instead of the merchant, and a new register then keeps
    // its key that way rather than in the keyring.
    std::optional<QString> scriptedPassphrase;
    // A register on the office server: the name under which this seat's
    // keyring keeps the office key (OfficeKey::keyringName). Empty for a
    // register file. The passphrase asked is then the office passphrase.
    QString officeEntry;
};

// Gets the key of the register in `store` and returns its cipher. A new
// register gets a random key kept in the keyring, or, where no keyring takes
// it, a key derived from a passphrase with Argon2id (the salt kept in the
// register). A wrong key or passphrase is detected through the register's key
// check and changes nothing. Failures are RegisterErrors.
namespace RegisterUnlock {

std::unique_ptr<RegisterCipher> unlock(RegisterStore& store, const RegisterKeySources& sources);

// The key itself of the register file in `store`, found as unlock() finds
// it, for a copy that keeps the drafts' seals: the key goes with them.
SecretBytes keyOfFile(RegisterStore& store, const RegisterKeySources& sources);

// The name under which the keyring keeps the key of the register `registerId`.
QString keyringName(const QString& registerId);

// Whether the register in `store` has a key yet; a new one gets it at its first unlock.
bool hasKey(RegisterStore& store);

// The keyring entry that holds the key of the register in `store`, if its
// key is kept in the keyring.
std::optional<QString> keyringEntry(RegisterStore& store);

} // namespace RegisterUnlock
