#pragma once

#include "register/DraftRecorder.h"
#include "register/RegisterError.h"

#include <QList>

// A register in memory for the print commands' tests: keeps what is recorded
// and appended, answers the look-ups with prepared drafts, and fails with
// `failure` as its reason when that is set.
class FakeDraftRecorder : public DraftRecorder {
public:
    struct Recorded {
        DraftRecord draft;
        QList<DraftEvent> events;
    };

    DraftId record(const DraftRecord& draft, const std::optional<DraftEvent>& outcome) override
    {
        failIfAsked();
        recorded.append({draft, {}});
        if (outcome)
            recorded.last().events.append(*outcome);
        return recorded.size();
    }

    Recording recordUnlessSent(const DraftRecord& draft, const std::optional<DraftId>& asked) override
    {
        failIfAsked();
        if (earlier && earlier->id != asked)
            return {0, earlier};
        return {record(draft, std::nullopt), std::nullopt};
    }

    void append(DraftId draft, const DraftEvent& event) override
    {
        failIfAsked();
        recorded[qsizetype(draft - 1)].events.append(event);
    }

    std::optional<EarlierDraft> earlierDraft(const CheckTexts&) override
    {
        failIfAsked();
        return earlier;
    }

    std::optional<EarlierDraft> sameAmountRecently(const CheckTexts&) override
    {
        failIfAsked();
        return sameAmount;
    }

    std::optional<AuthorizationRecord> authorizationFor(const CheckTexts&) override
    {
        failIfAsked();
        return authorization;
    }

    std::optional<UsedAuthorization> usedAuthorization(const CheckTexts&,
                                                       const std::optional<AuthorizationRecord>&) override
    {
        failIfAsked();
        return used;
    }

    std::optional<AccountReturn> accountReturn(const CheckTexts&) override
    {
        failIfAsked();
        return returned;
    }

    QList<Recorded> recorded; // draft n is recorded[n - 1]
    std::optional<AccountReturn> returned;
    std::optional<AuthorizationRecord> authorization;
    std::optional<UsedAuthorization> used;
    std::optional<EarlierDraft> earlier;
    std::optional<EarlierDraft> sameAmount;
    QString failure;

private:
    void failIfAsked() const
    {
        if (!failure.isEmpty())
            throw RegisterError(failure);
    }
};
