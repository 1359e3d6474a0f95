#pragma once

#include <QString>
#include <optional>

// Asks for a line of text (a reason, a note) with OK and Cancel, captioned
// with the application title; nothing when the user cancels.
class TextPrompt {
public:
    virtual ~TextPrompt() = default;
    virtual std::optional<QString> askText(const QString& label) = 0;
};
