#pragma once

#include "document/AuthorizationRecord.h"

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
        AuthorizationRecord record; // for Record
    };

    virtual ~AuthorizationOffer() = default;
    // Whether the merchant wants the record offered at all.
    virtual bool isOffered() = 0;
    // Offers `record`, filled from the draft, for the merchant to complete.
    virtual Answer offer(const AuthorizationRecord& record) = 0;
};
