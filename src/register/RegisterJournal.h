#pragma once

#include "print/DraftJournal.h"

#include <QDateTime>
#include <functional>

class AuthorizationOffer;
class DraftRecorder;
class QuestionBox;

// The print commands' journal kept in the draft register: before a draft
// that the register holds already goes again, the merchant is asked; a draft
// without an authorization record is offered one, and a sale that federal
// rules forbid such drafts for is asked about; each draft is recorded as it
// goes, with its authorization or the merchant's choice to send it without,
// and its outcome appended; a register that cannot be written is never
// passed over in silence.
class RegisterJournal : public DraftJournal {
public:
    using Clock = std::function<QDateTime()>;

    // Gives the register for a draft of that kind, opening it on first use
    // (the kind says why, where the opening asks the merchant anything), or
    // throws a RegisterError that says why it cannot.
    using OpenRegister = std::function<DraftRecorder&(SentDraft::Kind kind)>;

    // `openedRegister` gives the register only when it is open already,
    // without asking anyone anything. `prepare` gets the register's key
    // without holding up the window (RegisterSession::openLater); without
    // it, the register opens when it is first asked for.
    RegisterJournal(OpenRegister openRegister, std::function<DraftRecorder*()> openedRegister, QuestionBox& questions,
                    AuthorizationOffer& offer, Clock now = &QDateTime::currentDateTimeUtc,
                    std::function<QFuture<void>()> prepare = {});

    QFuture<void> ready() override;
    std::unique_ptr<DraftTicket> maySend(const SentDraft& draft) override;
    PerBox<QString> marks(const SentDraft& draft) override;

private:
    class Ticket;

    // Asked once per command: the merchant's answer to a register that
    // cannot be written holds until the draft has gone.
    bool sendUnrecorded(Ticket& ticket, const QString& reason);
    // Whether the draft may go by its authorization: offered one when it has
    // none or when its proof file is no longer the file chosen (`proofProblem`
    // when that is known already), asked about a sale that rules forbid.
    bool authorized(Ticket& ticket, std::optional<AuthorizationRecord> authorization, QString proofProblem = {});

    OpenRegister m_openRegister;
    std::function<QFuture<void>()> m_prepare;
    std::function<DraftRecorder*()> m_openedRegister;
    QuestionBox& m_questions;
    AuthorizationOffer& m_offer;
    Clock m_now;
};
