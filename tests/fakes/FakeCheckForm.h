#pragma once

#include "document/CheckForm.h"

#include <QStringList>

// The fourteen boxes and the caption of the cheque window, in memory. Every
// change is also logged ("Text3=abc", "caption= (New File) --Quillo",
// "focus Text1").
class FakeCheckForm : public CheckForm {
public:
    CheckTexts texts() const override { return boxes; }
    void setText(int box, const QString& text) override
    {
        boxes.at(static_cast<std::size_t>(box - 1)) = text;
        changes.append(QStringLiteral("Text%1=%2").arg(box).arg(text));
    }
    void setCaption(const QString& text) override
    {
        caption = text;
        changes.append(QStringLiteral("caption=") + text);
    }

    void focusFirstBox() override { changes.append(QStringLiteral("focus Text1")); }

    QString& text(int box) { return boxes.at(static_cast<std::size_t>(box - 1)); }

    CheckTexts boxes;
    QString caption;
    QStringList changes;
};
