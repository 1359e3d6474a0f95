#include "register/RegisterCopy.h"

#include "register/OfficeKey.h"
#include "register/PassphraseStrength.h"
#include "register/ProofCopies.h"
#include "register/ProofShelf.h"
#include "register/RegisterError.h"
#include "register/RegisterStore.h"
#include "register/StoreProofShelf.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>

namespace {

// The register's facts about its key. Names are part of the database.
const QString FactId = QStringLiteral("register_id");
const QString FactCreated = QStringLiteral("created_at");
const QString FactKeySource = QStringLiteral("key_source");
const QString FactKeyCheck = QStringLiteral("key_check");

constexpr qint64 AfterAll = std::numeric_limits<qint64>::max();

// Their ids and some of their columns, oldest first, so that a reprint's earlier draft is copied before it.
std::vector<StoredDraft> everyDraft(RegisterStore& store)
{
    std::vector<StoredDraft> drafts = store.drafts(AfterAll, std::numeric_limits<int>::max());
    std::reverse(drafts.begin(), drafts.end());
    return drafts;
}

} // namespace

RegisterCopy::RegisterCopy(RegisterStore& file, ProofShelf& fileProofs, const SecretBytes& registerKey)
    : m_file(file), m_fileProofs(fileProofs), m_key(registerKey), m_cipher(registerKey)
{}

RegisterCopy::Counts RegisterCopy::copyTo(RegisterStore& server, const QString& officePassphrase)
{
    if (!PassphraseStrength(officePassphrase).isEnough())
        throw RegisterError(QStringLiteral("the office passphrase is too easy to guess"));
    Counts copied;
    server.together([&] {
        if (!server.drafts(AfterAll, 1).empty())
            throw RegisterError(QStringLiteral("the register on the office server holds drafts already"));
        const std::optional<QByteArray> keyCheck = server.fact(FactKeyCheck);
        if (keyCheck && *keyCheck != m_cipher.keyCheck())
            // Not replaced: a seat that opened it keeps that key, and would
            // seal its next drafts with it.
            throw RegisterError(QStringLiteral("a seat has opened the register on the office server already, with a "
                                               "key of its own: copy into a new database that no seat has opened"));
        if (!keyCheck) {
            const QString id = QString::fromLatin1(m_file.fact(FactId).value_or(QByteArray()));
            OfficeKey::Facts facts = OfficeKey::wrapped(1, id, m_key, officePassphrase);
            facts.emplace_back(FactId, id.toLatin1());
            facts.emplace_back(FactCreated, m_file.fact(FactCreated).value_or(QByteArray()));
            facts.emplace_back(FactKeySource, QByteArrayLiteral("office"));
            facts.emplace_back(FactKeyCheck, m_cipher.keyCheck());
            server.addFacts(facts);
        }
        copied = copyDrafts(server);
        const Counts found = countsOn(server);
        if (!(found == copied))
            throw RegisterError(QStringLiteral("the office server holds %1 drafts, %2 events, %3 authorizations and "
                                               "%4 proof copies of the %5, %6, %7 and %8 copied")
                                    .arg(found.drafts)
                                    .arg(found.events)
                                    .arg(found.authorizations)
                                    .arg(found.proofCopies)
                                    .arg(copied.drafts)
                                    .arg(copied.events)
                                    .arg(copied.authorizations)
                                    .arg(copied.proofCopies));
        checkProofCopies(server);
    });
    return copied;
}

RegisterCopy::Counts RegisterCopy::copyDrafts(RegisterStore& server)
{
    Counts copied;
    QHash<qint64, qint64> draftIds;
    QSet<QString> proofCopies;
    for (const StoredDraft& listed : everyDraft(m_file)) {
        // A list reads only some of a draft's columns: the copy takes all of them.
        std::optional<StoredDraft> whole = m_file.draft(listed.id);
        if (!whole)
            throw RegisterError(QStringLiteral("its draft %1 cannot be read").arg(listed.id));
        StoredDraft draft = *std::move(whole);
        const qint64 fileId = draft.id;
        draft.id = 0;
        draft.reprintOf = draft.reprintOf > 0 ? draftIds.value(draft.reprintOf) : 0;
        const qint64 serverId = server.addDraft(draft, std::nullopt);
        draftIds.insert(fileId, serverId);
        ++copied.drafts;

        // A withdrawal names the event it takes back by its id on the server.
        QHash<qint64, qint64> eventIds;
        std::vector<qint64> fileEventIds;
        for (StoredEvent event : m_file.events(fileId)) {
            if (event.withdraws > 0) {
                const std::vector<StoredEvent> written = server.events(serverId);
                for (std::size_t i = 0; i < written.size() && i < fileEventIds.size(); ++i)
                    eventIds.insert(fileEventIds[i], written[i].id);
                event.withdraws = eventIds.value(event.withdraws);
            }
            fileEventIds.push_back(event.id);
            event.id = 0;
            event.draftId = serverId;
            server.addEvent(event);
            ++copied.events;
        }

        if (std::optional<StoredAuthorization> authorization = m_file.authorization(fileId)) {
            authorization->draftId = serverId;
            server.addAuthorization(*authorization);
            ++copied.authorizations;
            if (!authorization->proofCopy.isEmpty())
                proofCopies.insert(authorization->proofCopy);
        }
    }
    for (const QString& name : std::as_const(proofCopies)) {
        server.addProofCopy(name, m_fileProofs.read(name));
        ++copied.proofCopies;
    }
    return copied;
}

RegisterCopy::Counts RegisterCopy::countsOn(RegisterStore& server)
{
    Counts found;
    QSet<QString> proofCopies;
    for (const StoredDraft& draft : everyDraft(server)) {
        ++found.drafts;
        found.events += int(server.events(draft.id).size());
        if (const std::optional<StoredAuthorization> authorization = server.authorization(draft.id)) {
            ++found.authorizations;
            if (!authorization->proofCopy.isEmpty() && server.proofCopy(authorization->proofCopy))
                proofCopies.insert(authorization->proofCopy);
        }
    }
    found.proofCopies = int(proofCopies.size());
    return found;
}

void RegisterCopy::checkProofCopies(RegisterStore& server)
{
    const ProofCopies onServer(std::make_unique<StoreProofShelf>(server), m_cipher);
    QSet<QByteArray> checked;
    for (const StoredDraft& draft : everyDraft(server)) {
        const std::optional<StoredAuthorization> authorization = server.authorization(draft.id);
        if (!authorization || authorization->proofSha256.isEmpty() || checked.contains(authorization->proofSha256))
            continue;
        // Opened with the key and hashed again: a RegisterError when it is not the proof its SHA-256 names.
        onServer.open(authorization->proofSha256);
        checked.insert(authorization->proofSha256);
    }
}
