#pragma once

#include "register/AuthorizationOffer.h"

#include <QList>

// Offers nothing until `offered` is set; then answers every offer with
// `answer` and keeps the records it was offered.
class FakeAuthorizationOffer : public AuthorizationOffer {
public:
    bool isOffered() override { return offered; }
    Answer offer(const AuthorizationRecord& record) override
    {
        asked.append(record);
        return answer;
    }

    bool offered = false;
    Answer answer;
    QList<AuthorizationRecord> asked;
};
