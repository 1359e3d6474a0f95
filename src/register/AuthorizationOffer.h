#pragma once

#include "document/AuthorizationRecord.h"
#include "print/DraftJournal.h"

// Offers the merchant an authorization record for a draft that goes without
// one: the window layer shows the authorization dialog, tests script it.
class AuthorizationOffer {
public:
    enum class Choice {
        Record,        // OK: the draft goes with the record
        WithoutRecord, // "Print Without Record"
        Cancel,        // nothing goes
    };
    struct Answer {
        Choice choice = Choice::Cancel;
        // The record as the merchant left it. Kept only for Record; for
        // WithoutRecord its kind of sale still rules the draft.
        AuthorizationRecord record;
        // The merchant said Yes to the telemarketing question in the offer
        // itself, and is not asked again.
        bool telemarketingAnswered = false;
    };

    virtual ~AuthorizationOffer() = default;
    // Whether the merchant wants the record offered at all.
    virtual bool isOffered() = 0;
    // Offers `record` for the merchant to complete before the draft goes out
    // as `kind` sends it: a new one filled from the draft, or one whose proof
    // file is no longer the file chosen, as `proofProblem` says (empty for none).
    virtual Answer offer(const AuthorizationRecord& record, SentDraft::Kind kind, const QString& proofProblem) = 0;
};
