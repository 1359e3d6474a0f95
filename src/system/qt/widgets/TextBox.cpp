#include "system/qt/widgets/TextBox.h"

#include <QFocusEvent>

void TextBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const bool byTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    // Only the selection that focusing made is turned round; a partial one
    // the user left in the box stays as it is.
    const qsizetype length = text().size();
    if (byTab && length > 0 && selectionStart() == 0 && selectedText().size() == length)
        setSelection(static_cast<int>(length), -static_cast<int>(length));
}
