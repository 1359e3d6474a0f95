#pragma once

#include "platform/FocusedControl.h"
#include "platform/QuilloError.h"

// A single-line text with a selection, or (hasSelText false) a control
// without selection text such as a button.
class FakeFocusedControl : public FocusedControl {
public:
    QString selText() const override
    {
        check();
        return text.mid(selectionStart, selectionLength);
    }
    void setSelText(const QString& replacement) override
    {
        check();
        text.replace(selectionStart, selectionLength, replacement);
        selectionStart += replacement.size();
        selectionLength = 0;
    }

    QString text;
    int selectionStart = 0; // the caret when nothing is selected
    int selectionLength = 0;
    bool hasSelText = true;

private:
    void check() const
    {
        if (!hasSelText)
            throw QuilloError(QStringLiteral("There is no text here to cut, copy or paste."));
    }
};
