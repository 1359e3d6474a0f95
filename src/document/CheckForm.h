#pragma once

#include "document/CheckRecord.h"

#include <QString>

// What the File commands need of the cheque-entry window: its fourteen text
// boxes and its caption.
class CheckForm {
public:
    virtual ~CheckForm() = default;

    // The texts of Text1 to Text14 as they stand.
    virtual CheckTexts texts() const = 0;
    virtual void setText(Box box, const QString& text) = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Gives Text1 the focus with the caret at its start, so that typing goes
    // into the first box.
    virtual void focusFirstBox() = 0;
    // Marks the boxes with a reason each (empty: no mark) until the merchant
    // changes their text: what Open could not read whole.
    virtual void markOpened(const PerBox<QString>& reasons) = 0;
};
