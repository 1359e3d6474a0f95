#pragma once

#include "register/RegisterTexts.h"
#include "register/StatusChangePrompt.h"

#include <QStringList>

// Answers with `answer` (nothing for Cancel) and records what was asked as
// "<kind>: <question> [<earliest>..<today>]".
class FakeStatusChangePrompt : public StatusChangePrompt {
public:
    std::optional<StatusChangeAnswer> ask(DraftEventKind kind, const QString& question, const QDate& earliest,
                                          const QDate& today) override
    {
        asked.append(QStringLiteral("%1: %2 [%3..%4]")
                         .arg(RegisterTexts::eventName(kind), question, earliest.toString(Qt::ISODate),
                              today.toString(Qt::ISODate)));
        return answer;
    }

    std::optional<StatusChangeAnswer> answer;
    QStringList asked;
};
