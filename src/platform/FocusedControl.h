#pragma once

#include <QString>

// The control that has the keyboard focus in the active window, seen through
// its selection text. A control without selection text (a button, a picture)
// fails with a QuilloError at either access.
class FocusedControl {
public:
    virtual ~FocusedControl() = default;
    // The selected characters; empty when nothing is selected.
    virtual QString selText() const = 0;
    // Replaces the selection with `text`, or inserts it at the caret when
    // nothing is selected; the caret ends after the inserted text.
    virtual void setSelText(const QString& text) = 0;
};
