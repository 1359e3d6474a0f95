#pragma once

#include "print/DraftJournal.h"
#include "register/DraftEvent.h"
#include "register/DraftSummary.h"

#include <optional>

// What the cheque window asks the register about the authorization of the
// draft it holds, and about the confirmation letter that states it. Every
// failure is a RegisterError.
class DraftAuthorizations {
public:
    virtual ~DraftAuthorizations() = default;

    // The record the draft would go with now: its own, or else the one the
    // register holds for it (DraftRecorder::authorizationFor). Opens the
    // register, asking for its passphrase where needed.
    virtual std::optional<AuthorizationRecord> authorizationOf(const SentDraft& draft) = 0;
    // The draft in the register with the same routing, account and check
    // number that was sent last and draws on the account, with the
    // authorization it went with.
    virtual std::optional<DraftDetails> sentDraft(const CheckTexts& texts) = 0;
    // Appends `event` (a letter sent) to the draft's history.
    virtual void append(DraftId draft, const DraftEvent& event) = 0;
};
