#pragma once

#include "platform/QuestionBox.h"

#include <QStringList>

// Answers every question with `answer` and records the questions asked.
class FakeQuestionBox : public QuestionBox {
public:
    bool ask(const QString& question) override
    {
        asked.append(question);
        return answer;
    }

    bool answer = false;
    QStringList asked;
};
