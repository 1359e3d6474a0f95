#pragma once

#include <QString>

class QLineEdit;

// Marks a text box that looks wrong: a warning icon inside its right end
// (the box's trailing action), with `reason` as the icon's tooltip and as the
// box's accessible description, which screen readers read. An empty reason
// removes the mark and leaves an empty description. The box's place, size,
// font and text stay as they are.
void showBoxMark(QLineEdit& box, const QString& reason);
