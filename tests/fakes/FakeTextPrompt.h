#pragma once

#include "platform/TextPrompt.h"

#include <QStringList>

// Answers with `answer` (a null text for Cancel) and records the labels asked.
class FakeTextPrompt : public TextPrompt {
public:
    std::optional<QString> askText(const QString& label) override
    {
        asked.append(label);
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }

    QString answer;
    QStringList asked;
};
