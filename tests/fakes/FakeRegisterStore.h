#pragma once

#include "register/DraftEvent.h"
#include "register/RegisterCodes.h"
#include "register/RegisterStore.h"

#include <QSet>
#include <algorithm>
#include <map>

// A register's storage in memory, for the tests of the register's rules:
// answers every query as the SQL store does, from plain lists.
class FakeRegisterStore : public RegisterStore {
public:
    std::optional<QByteArray> fact(const QString& name) override
    {
        const auto found = m_facts.find(name);
        return found == m_facts.end() ? std::nullopt : std::optional(found->second);
    }

    void addFacts(const std::vector<std::pair<QString, QByteArray>>& facts) override
    {
        for (const auto& [name, value] : facts)
            m_facts[name] = value;
    }

    void together(const std::function<void()>& writes) override { writes(); }

    qint64 addDraft(const StoredDraft& draft, const std::optional<StoredEvent>& firstEvent) override
    {
        StoredDraft added = draft;
        added.id = qint64(m_drafts.size()) + m_removed + 1;
        m_drafts.push_back(added);
        if (firstEvent) {
            StoredEvent event = *firstEvent;
            event.draftId = added.id;
            addEvent(event);
        }
        return added.id;
    }

    void addEvent(const StoredEvent& event) override
    {
        m_events.push_back(event);
        m_events.back().id = ++m_lastEventId;
    }

    std::optional<StoredDraft> draft(qint64 id) override { return find(id); }

    std::vector<StoredEvent> events(qint64 draftId) override
    {
        std::vector<StoredEvent> found;
        std::copy_if(m_events.begin(), m_events.end(), std::back_inserter(found),
                     [&](const StoredEvent& event) { return event.draftId == draftId; });
        return found;
    }

    std::optional<StoredEvent> latestReturnOnAccount(const QByteArray& accountKey, const QStringList& reasons) override
    {
        std::optional<StoredEvent> latest;
        for (const StoredEvent& event : m_events) {
            const std::optional<StoredDraft> draft = find(event.draftId);
            if (!accountKey.isEmpty() && draft && draft->accountKey == accountKey &&
                event.kind == DraftEvent::code(DraftEventKind::Returned) && reasons.contains(event.reason) &&
                isActiveStatus(event))
                latest = event;
        }
        return latest;
    }

    std::vector<StoredDraft> drafts(qint64 beforeId, int count) override
    {
        std::vector<StoredDraft> found =
            newestFirst([&](const StoredDraft& draft) { return draft.id < beforeId; }, false);
        if (found.size() > std::size_t(count))
            found.resize(std::size_t(count));
        return found;
    }

    std::vector<StoredDraft> draftsWithChequeKey(const QByteArray& chequeKey) override
    {
        return newestFirst([&](const StoredDraft& draft) { return draft.chequeKey == chequeKey; }, true);
    }

    std::vector<StoredDraft> draftsWithAccountKey(const QByteArray& accountKey, qint64 amountCents,
                                                  qint64 since) override
    {
        return newestFirst(
            [&](const StoredDraft& draft) {
                return draft.accountKey == accountKey && draft.recordedAt >= since && draft.amountCents == amountCents;
            },
            true);
    }

    std::vector<UncertainPrint> uncertainPrints() override
    {
        std::vector<UncertainPrint> found;
        for (const StoredDraft& draft : m_drafts) {
            const std::optional<StoredEvent> latest = latestStatus(draft.id);
            if (latest && latest->kind == DraftEvent::code(DraftEventKind::Uncertain) && !latest->jobId.isEmpty() &&
                draft.destinationKind != RegisterCodes::destination(SentDraft::Kind::PdfFile))
                found.push_back({draft.id, draft.destination, latest->jobId});
        }
        return found;
    }

    void addAuthorization(const StoredAuthorization& authorization) override
    {
        m_authorizations.push_back(authorization);
    }

    std::optional<StoredAuthorization> authorization(qint64 draftId) override
    {
        return latestAuthorization([&](const StoredDraft& draft) { return draft.id == draftId; });
    }

    std::optional<StoredAuthorization> latestAuthorizationForCheque(const QByteArray& chequeKey) override
    {
        return latestAuthorization([&](const StoredDraft& draft) { return draft.chequeKey == chequeKey; });
    }

    std::optional<StoredAuthorization> latestAuthorizationForAccount(const QByteArray& accountKey) override
    {
        return latestAuthorization([&](const StoredDraft& draft) { return draft.accountKey == accountKey; });
    }

    std::vector<StoredDraft> draftsWithAuthorization(const QString& authorizationId) override
    {
        QSet<qint64> ids;
        for (const StoredAuthorization& authorization : m_authorizations) {
            if (authorization.authorizationId == authorizationId)
                ids.insert(authorization.draftId);
        }
        return newestFirst([&](const StoredDraft& draft) { return ids.contains(draft.id); }, false);
    }

    std::vector<StoredDraft> draftsIdleSince(qint64 lastEventAt) override
    {
        return newestFirst([&](const StoredDraft& draft) { return lastEventOf(draft) <= lastEventAt; }, false);
    }

    std::vector<QString> removeDrafts(const std::vector<qint64>& ids) override
    {
        const QSet<qint64> removed(ids.begin(), ids.end());
        QSet<QString> copies;
        for (const StoredAuthorization& authorization : m_authorizations) {
            if (removed.contains(authorization.draftId) && !authorization.proofCopy.isEmpty())
                copies.insert(authorization.proofCopy);
        }
        std::erase_if(m_drafts, [&](const StoredDraft& draft) { return removed.contains(draft.id); });
        std::erase_if(m_events, [&](const StoredEvent& event) { return removed.contains(event.draftId); });
        std::erase_if(m_authorizations, [&](const StoredAuthorization& a) { return removed.contains(a.draftId); });
        m_removed += qint64(ids.size());
        for (const StoredAuthorization& authorization : m_authorizations)
            copies.remove(authorization.proofCopy);
        std::vector<QString> unused(copies.begin(), copies.end());
        std::sort(unused.begin(), unused.end());
        return unused;
    }

    std::vector<StoredDraft> draftsWithClearPaths() override
    {
        std::vector<StoredDraft> found;
        for (const StoredDraft& draft : m_drafts) {
            if (!draft.sourceFile.isEmpty() || (draft.destinationKind == "pdf" && !draft.destination.isEmpty()))
                found.push_back(draft);
        }
        return found;
    }

    std::vector<StoredEvent> eventsWithClearText() override
    {
        std::vector<StoredEvent> found;
        std::copy_if(m_events.begin(), m_events.end(), std::back_inserter(found),
                     [](const StoredEvent& event) { return !event.text.isEmpty(); });
        return found;
    }

    void sealPaths(const StoredDraft& sealed) override
    {
        for (StoredDraft& draft : m_drafts) {
            if (draft.id == sealed.id) {
                draft.sourceFile = sealed.sourceFile;
                draft.sealedSourceFile = sealed.sealedSourceFile;
                draft.destination = sealed.destination;
                draft.sealedDestination = sealed.sealedDestination;
            }
        }
    }

    void sealText(const StoredEvent& sealed) override
    {
        for (StoredEvent& event : m_events) {
            if (event.id == sealed.id) {
                event.text = sealed.text;
                event.sealedText = sealed.sealedText;
            }
        }
    }

    // A register of one seat: its proof copies go in a folder.
    bool keepsProofCopies() const override { return false; }
    void addProofCopy(const QString& name, const QByteArray& sealed) override { m_proofCopies[name] = sealed; }
    std::optional<QByteArray> proofCopy(const QString& name) override
    {
        const auto found = m_proofCopies.find(name);
        return found == m_proofCopies.end() ? std::nullopt : std::optional(found->second);
    }
    void removeProofCopy(const QString& name) override { m_proofCopies.erase(name); }

private:
    // A status event that no withdrawal took back.
    bool isActiveStatus(const StoredEvent& event) const
    {
        return event.setsStatus && std::none_of(m_events.begin(), m_events.end(),
                                                [&](const StoredEvent& other) { return other.withdraws == event.id; });
    }

    std::optional<StoredEvent> latestStatus(qint64 draftId) const
    {
        std::optional<StoredEvent> latest;
        for (const StoredEvent& event : m_events) {
            if (event.draftId == draftId && isActiveStatus(event))
                latest = event;
        }
        return latest;
    }

    qint64 lastEventOf(const StoredDraft& draft) const
    {
        qint64 last = -1;
        for (const StoredEvent& event : m_events) {
            if (event.draftId == draft.id)
                last = std::max(last, event.recordedAt);
        }
        return last < 0 ? draft.recordedAt : last;
    }

    StoredDraft withStatus(StoredDraft draft) const
    {
        const std::optional<StoredEvent> latest = latestStatus(draft.id);
        draft.status = latest ? latest->kind : QString();
        draft.lastEventAt = lastEventOf(draft);
        return draft;
    }

    std::optional<StoredDraft> find(qint64 id) const
    {
        for (const StoredDraft& draft : m_drafts) {
            if (draft.id == id)
                return withStatus(draft);
        }
        return std::nullopt;
    }

    // The drafts that `take`, newest first: by their time and then their id,
    // or by their id alone.
    template <typename Take> std::vector<StoredDraft> newestFirst(Take take, bool byTime) const
    {
        std::vector<StoredDraft> found;
        for (const StoredDraft& draft : m_drafts) {
            if (take(draft))
                found.push_back(withStatus(draft));
        }
        std::sort(found.begin(), found.end(), [byTime](const StoredDraft& left, const StoredDraft& right) {
            return byTime ? std::pair(left.recordedAt, left.id) > std::pair(right.recordedAt, right.id)
                          : left.id > right.id;
        });
        return found;
    }

    template <typename Take> std::optional<StoredAuthorization> latestAuthorization(Take take) const
    {
        std::optional<StoredAuthorization> latest;
        for (const StoredAuthorization& authorization : m_authorizations) {
            const std::optional<StoredDraft> draft = find(authorization.draftId);
            if (draft && take(*draft) && (!latest || authorization.draftId > latest->draftId)) {
                latest = authorization;
                latest->draftUid = draft->uid;
            }
        }
        return latest;
    }

    std::map<QString, QByteArray> m_facts;
    std::map<QString, QByteArray> m_proofCopies;
    std::vector<StoredDraft> m_drafts;
    std::vector<StoredEvent> m_events;
    std::vector<StoredAuthorization> m_authorizations;
    qint64 m_removed = 0;
    qint64 m_lastEventId = 0;
};
