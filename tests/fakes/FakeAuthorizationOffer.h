#pragma once

#include "register/AuthorizationOffer.h"

#include <QList>
#include <QStringList>
#include <functional>

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
        if (whileOpen)
            whileOpen();
        return answer;
    }

    bool offered = false;
    // Runs while the offer is open: what another program does meanwhile.
    std::function<void()> whileOpen;
    Answer answer;
    QList<AuthorizationRecord> asked;
    QList<SentDraft::Kind> kinds;
    QStringList proofProblems;
};
