#pragma once

#include "print/DraftJournal.h"

#include <functional>

class DraftRecorder;
class QuestionBox;

// The print commands' journal kept in the draft register: before a draft
// that the register holds already goes again, the merchant is asked; each
// draft is recorded as it goes and its outcome appended; a register that
// cannot be written is never passed over in silence.
class RegisterJournal : public DraftJournal {
public:
    // `openRegister` gives the register, opening it on first use, or throws
    // a RegisterError that says why it cannot; `openedRegister` gives it only
    // when it is open already, without asking anyone anything.
    RegisterJournal(std::function<DraftRecorder&()> openRegister, std::function<DraftRecorder*()> openedRegister,
                    QuestionBox& questions);

    bool maySend(const SentDraft& draft) override;
    Entry sending(const SentDraft& draft, const QString& destination) override;
    QString sent(const SentDraft& draft, const Entry& entry, const PrintOutcome& outcome) override;
    QString amountMark(const CheckTexts& texts) override;

private:
    // Asked once per command: the merchant's answer to a register that
    // cannot be written holds until the draft has gone.
    bool sendUnrecorded(const QString& reason);

    std::function<DraftRecorder&()> m_openRegister;
    std::function<DraftRecorder*()> m_openedRegister;
    QuestionBox& m_questions;
    // The merchant chose to send the current draft without recording it.
    bool m_unrecorded = false;
};
