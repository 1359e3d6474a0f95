#pragma once

#include <QString>
#include <QWidget>

// Puts the controls of `window`, found by their designed names, into the
// keyboard order in which `names` lists them.
template <typename Names> void applyTabOrder(QWidget& window, const Names& names)
{
    QWidget* previous = nullptr;
    for (const char* name : names) {
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
        if (previous && control)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}
