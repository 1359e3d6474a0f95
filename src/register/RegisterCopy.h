#pragma once

#include "register/RegisterCipher.h"
#include "register/SecretBytes.h"

#include <QString>

class ProofShelf;
class RegisterStore;

// Copies the register of this computer to an empty register on the office
// server: every draft, event, authorization and proof copy, their sealed
// bytes as they are, so the server's register keeps this computer's key,
// wrapped there by the office passphrase. The server's ids are its own;
// events, authorizations and reprints follow their drafts to them. All of it
// is one transaction on the server, checked before it is kept (the counts,
// and every proof copy opened to its SHA-256): a failure leaves the server
// as it was. The file is only read. Failures are RegisterErrors.
class RegisterCopy {
public:
    struct Counts {
        int drafts = 0;
        int events = 0;
        int authorizations = 0;
        int proofCopies = 0;
        bool operator==(const Counts&) const = default;
    };

    // The register file's store, the shelf of its proof copies and its key.
    RegisterCopy(RegisterStore& file, ProofShelf& fileProofs, const SecretBytes& registerKey);

    // Copies everything to `server`, whose register must hold no draft and
    // no key other than this one; the key is wrapped by `officePassphrase`,
    // which must be hard enough to guess.
    Counts copyTo(RegisterStore& server, const QString& officePassphrase);

private:
    Counts copyDrafts(RegisterStore& server);
    Counts countsOn(RegisterStore& server);
    void checkProofCopies(RegisterStore& server);

    RegisterStore& m_file;
    ProofShelf& m_fileProofs;
    const SecretBytes& m_key;
    RegisterCipher m_cipher;
};
