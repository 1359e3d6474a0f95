#pragma once

#include <QString>
#include <QWidget>

// What a screen reader calls a control that shows no text of its own (a
// text box, a picture): the designed name of the control and the name read.
struct AccessibleName {
    const char* control;
    const char* name;
};

// Gives the controls of `window`, found by their designed names, the
// accessible names that `names` lists.
template <typename Names> void applyAccessibleNames(QWidget& window, const Names& names)
{
    for (const AccessibleName& entry : names) {
        if (auto* control = window.findChild<QWidget*>(QString::fromLatin1(entry.control)))
            control->setAccessibleName(QString::fromLatin1(entry.name));
    }
}
