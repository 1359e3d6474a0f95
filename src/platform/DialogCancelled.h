#pragma once

#include "platform/QuilloError.h"

// The user cancelled a file dialog whose owner asked to hear about it. It is a
// failure for the command that showed the dialog, but not one to tell anybody
// about: callers that report failures let this one pass silently.
class DialogCancelled : public QuilloError {
public:
    DialogCancelled() : QuilloError(QStringLiteral("The dialog was cancelled.")) {}
};
