#pragma once

#include "register/DraftEvent.h"
#include "register/ReturnReason.h"

#include <QDate>
#include <QString>
#include <optional>

// What the merchant gives for a change of a draft's status.
struct StatusChangeAnswer {
    QDate day;
    QString deposit; // a deposit or a re-presentment's slip or batch; may be empty
    ReturnReason reason = ReturnReason::Other;
    QString otherText; // a return's reason in the merchant's words, for Other
};

// Asks for the day a draft was deposited, paid, returned or re-presented
// (`kind`), `today` first and none outside `earliest` to `today`; with the
// deposit it went in, or the reason it came back. Nothing when cancelled.
class StatusChangePrompt {
public:
    virtual ~StatusChangePrompt() = default;
    virtual std::optional<StatusChangeAnswer> ask(DraftEventKind kind, const QString& question, const QDate& earliest,
                                                  const QDate& today) = 0;
};
