#pragma once

#include <QLineEdit>

// A designed window's text box. Entered with Tab or Shift+Tab it selects its
// whole text, as a line edit does, but keeps the caret at the start of the
// selection: a cheque box reopened from a file ends in fill spaces, and a
// caret at the end would scroll the box to show only those.
class TextBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};
