#pragma once

#include "platform/FocusedControl.h"

class QLineEdit;

// The application's focus widget. Single-line text boxes and the text part of
// editable combo boxes have selection text; every other control fails.
class QtFocusedControl : public FocusedControl {
public:
    QString selText() const override;
    void setSelText(const QString& text) override;

private:
    static QLineEdit* focusedTextBox();
};
