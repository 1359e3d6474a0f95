#pragma once

#include "register/StatusChangePrompt.h"

// Asks in a frmStatusChange over the active window.
class DialogStatusChangePrompt : public StatusChangePrompt {
public:
    std::optional<StatusChangeAnswer> ask(DraftEventKind kind, const QString& question, const QDate& earliest,
                                          const QDate& today) override;
};
