#pragma once

#include "document/CheckForm.h"

#include <QStringList>

// The fourteen boxes and the caption of the cheque window, in memory. Every
// change is also logged ("Text3=abc", "caption= (New File) --Quillo",
// "focus Text1").
class FakeCheckForm : public CheckForm {
public:
    CheckTexts texts() const override { return boxes; }
    void setText(Box box, const QString& text) override
    {
        boxes[box] = text;
        changes.append(QStringLiteral("Text") + QString::number(numberOf(box)) + QLatin1Char('=') + text);
    }
    void setCaption(const QString& text) override
    {
        caption = text;
        changes.append(QStringLiteral("caption=") + text);
    }

    void focusFirstBox() override { changes.append(QStringLiteral("focus Text1")); }
    void markOpened(const PerBox<QString>& reasons) override { marks = reasons; }

    QString& text(Box box) { return boxes[box]; }
    // Text<number>, as tables of test cases name the boxes.
    QString& text(int number) { return boxes[Box(number)]; }

    CheckTexts boxes;
    PerBox<QString> marks;
    QString caption;
    QStringList changes;
};
