#pragma once

#include "print/DraftJournal.h"

#include <functional>

// Passes every step of a print to the journal, telling first which kind of
// draft it is about: the register, opened on the way, then says why it asks
// for its passphrase ("To record this draft…", "To record this export…").
class DraftKindWatch : public DraftJournal {
public:
    DraftKindWatch(DraftJournal& journal, std::function<void(SentDraft::Kind)> noteKind)
        : m_journal(journal), m_noteKind(std::move(noteKind))
    {}

    bool maySend(const SentDraft& draft) override
    {
        m_noteKind(draft.kind);
        return m_journal.maySend(draft);
    }
    Entry sending(const SentDraft& draft, const QString& destination) override
    {
        m_noteKind(draft.kind);
        return m_journal.sending(draft, destination);
    }
    QString sent(const SentDraft& draft, const Entry& entry, const PrintOutcome& outcome) override
    {
        m_noteKind(draft.kind);
        return m_journal.sent(draft, entry, outcome);
    }
    PerBox<QString> marks(const SentDraft& draft) override
    {
        m_noteKind(draft.kind);
        return m_journal.marks(draft);
    }

private:
    DraftJournal& m_journal;
    std::function<void(SentDraft::Kind)> m_noteKind;
};
