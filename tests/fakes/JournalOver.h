#pragma once

#include "fakes/FakeAuthorizationOffer.h"
#include "fakes/FakeQuestionBox.h"
#include "register/RegisterJournal.h"

// A journal over `drafts`, with the merchant's answers it asks for.
struct JournalOver {
    explicit JournalOver(DraftRecorder& drafts)
        : journal([&drafts](SentDraft::Kind) -> DraftRecorder& { return drafts; }, [&drafts] { return &drafts; },
                  questions, offer)
    {}
    FakeQuestionBox questions;
    FakeAuthorizationOffer offer;
    RegisterJournal journal;
};
