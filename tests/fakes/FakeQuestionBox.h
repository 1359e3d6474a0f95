#pragma once

#include "platform/QuestionBox.h"

#include <QList>
#include <QStringList>

// Answers the questions with `answers` in turn, then every further one with
// `answer`, and records the questions asked.
class FakeQuestionBox : public QuestionBox {
public:
    bool ask(const QString& question) override
    {
        asked.append(question);
        return answers.isEmpty() ? answer : answers.takeFirst();
    }

    QList<bool> answers;
    bool answer = false;
    QStringList asked;
};
