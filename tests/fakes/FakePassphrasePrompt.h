#pragma once

#include "register/PassphrasePrompt.h"

#include <QList>
#include <deque>

// Answers with the prepared passphrases in turn (a null text for Cancel) and
// records what it was asked; with no answer left it cancels.
class FakePassphrasePrompt : public PassphrasePrompt {
public:
    struct Question {
        Purpose purpose;
        bool wrongBefore;
    };

    std::optional<QString> ask(Purpose purpose, bool wrongBefore) override
    {
        asked.append({purpose, wrongBefore});
        if (answers.empty())
            return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }

    std::deque<QString> answers;
    QList<Question> asked;
};
