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

    // `openRegister` gives the register, opening it on first use, or throws
    // a RegisterError that says why it cannot; `openedRegister` gives it only
    // when it is open already, without asking anyone anything.
    RegisterJournal(std::function<DraftRecorder&()> openRegister, std::function<DraftRecorder*()> openedRegister,
                    QuestionBox& questions, AuthorizationOffer& offer, Clock now = &QDateTime::currentDateTimeUtc);

    bool maySend(const SentDraft& draft) override;
    Entry sending(const SentDraft& draft, const QString& destination) override;
    QString sent(const SentDraft& draft, const Entry& entry, const PrintOutcome& outcome) override;
    PerBox<QString> marks(const SentDraft& draft) override;

private:
    // Asked once per command: the merchant's answer to a register that
    // cannot be written holds until the draft has gone.
    bool sendUnrecorded(const QString& reason);
    // Whether the draft may go by its authorization: offered one when it has
    // none, asked about a sale that rules forbid.
    bool authorized(const SentDraft& draft, std::optional<AuthorizationRecord> authorization);
    struct DraftRecord recordOf(const SentDraft& draft, const QString& destination) const;

    std::function<DraftRecorder&()> m_openRegister;
    std::function<DraftRecorder*()> m_openedRegister;
    QuestionBox& m_questions;
    AuthorizationOffer& m_offer;
    Clock m_now;
    // The merchant chose to send the current draft without recording it.
    bool m_unrecorded = false;
    // What the current draft goes with: its authorization, or the reason it
    // goes without one.
    std::optional<AuthorizationRecord> m_authorization;
    std::optional<QString> m_withoutAuthorization;
};
