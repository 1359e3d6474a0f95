#include "system/qt/QtFocusedControl.h"

#include "platform/QuilloError.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

QLineEdit* QtFocusedControl::focusedTextBox()
{
    QWidget* focused = QApplication::focusWidget();
    if (auto* box = qobject_cast<QLineEdit*>(focused))
        return box;
    if (auto* combo = qobject_cast<QComboBox*>(focused); combo && combo->lineEdit())
        return combo->lineEdit();
    throw QuilloError(QStringLiteral("There is no text here to cut, copy or paste. "
                                     "Click in one of the check's boxes first."));
}

QString QtFocusedControl::selText() const
{
    return focusedTextBox()->selectedText();
}

void QtFocusedControl::setSelText(const QString& text)
{
    // QLineEdit::insert replaces the selection, or inserts at the caret, and
    // leaves the caret after the new text.
    focusedTextBox()->insert(text);
}
