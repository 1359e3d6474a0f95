#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class DraftRegister;
struct AuthorizationRecord;
struct DraftDetails;

// A draft's proof file out of the register: the clear bytes of its sealed
// copy, handed on only while they still have the SHA-256 that its
// authorization recorded, and saved for the merchant's eyes alone.
namespace DraftProof {

// Why the draft has no proof file to save; nothing when it has one.
std::optional<QString> missing(const DraftDetails& draft);

// `bytes` when their SHA-256 is the one `authorization` recorded; otherwise
// a QuilloError that says the copy does not match and nothing was saved.
QByteArray checked(const QByteArray& bytes, const AuthorizationRecord& authorization);

// The proof file's bytes from the register's copy, checked; a QuilloError
// says why there are none.
QByteArray opened(DraftRegister& drafts, const DraftDetails& draft);

// Writes the checked proof file to `path`, whole or not at all, readable by
// its owner alone (0600) whether the file is new or replaced.
void save(DraftRegister& drafts, const DraftDetails& draft, const QString& path);

} // namespace DraftProof
