#pragma once

#include "print/DraftJournal.h"

#include <functional>
#include <memory>

// Passes every step of a print to the journal, telling first which kind of
// draft it is about: the register, opened on the way, then says why it asks
// for its passphrase ("To record this draft…", "To record this export…").
class DraftKindWatch : public DraftJournal {
public:
    DraftKindWatch(DraftJournal& journal, std::function<void(SentDraft::Kind)> noteKind)
        : m_journal(journal), m_noteKind(std::move(noteKind))
    {}

    std::unique_ptr<DraftTicket> maySend(const SentDraft& draft) override
    {
        m_noteKind(draft.kind);
        std::unique_ptr<DraftTicket> ticket = m_journal.maySend(draft);
        if (!ticket)
            return nullptr;
        return std::make_unique<Watched>(std::move(ticket), m_noteKind);
    }
    PerBox<QString> marks(const SentDraft& draft) override
    {
        m_noteKind(draft.kind);
        return m_journal.marks(draft);
    }

private:
    // The journal's ticket, each step told the draft's kind first.
    class Watched : public DraftTicket {
    public:
        Watched(std::unique_ptr<DraftTicket> ticket, std::function<void(SentDraft::Kind)> noteKind)
            : DraftTicket(ticket->draft()), m_ticket(std::move(ticket)), m_noteKind(std::move(noteKind))
        {}
        std::optional<qint64> recordId() const override { return m_ticket->recordId(); }
        bool sending(const QString& destination) override
        {
            m_noteKind(draft().kind);
            return m_ticket->sending(destination);
        }
        void jobStarted(int jobId) override
        {
            m_noteKind(draft().kind);
            m_ticket->jobStarted(jobId);
        }
        QString sent(const PrintOutcome& outcome) override
        {
            m_noteKind(draft().kind);
            return m_ticket->sent(outcome);
        }

    private:
        std::unique_ptr<DraftTicket> m_ticket;
        std::function<void(SentDraft::Kind)> m_noteKind;
    };

    DraftJournal& m_journal;
    std::function<void(SentDraft::Kind)> m_noteKind;
};
