#pragma once

#include "register/AuthorizationOffer.h"

#include <QList>
#include <QStringList>

// Offers nothing until `offered` is set; then answers every offer with
// `answer` and keeps the records it was offered.
class FakeAuthorizationOffer : public AuthorizationOffer {
public:
    bool isOffered() override { return offered; }
    Answer offer(const AuthorizationRecord& record, SentDraft::Kind kind, const QString& proofProblem) override
    {
        proofProblems.append(proofProblem);
        asked.append(record);
        kinds.append(kind);
        return answer;
    }

    bool offered = false;
    Answer answer;
    QList<AuthorizationRecord> asked;
    QList<SentDraft::Kind> kinds;
    QStringList proofProblems;
};
