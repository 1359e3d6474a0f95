#pragma once

#include <QString>

class QWidget;

// Sets a window's caption so that it shows exactly `title`. Qt reads "[*]" in
// a window title as the place of its modified marker and removes it, so a
// file or page named "a[*]b" would lose the "[*]"; doubled, it shows once.
void setLiteralWindowTitle(QWidget& window, const QString& title);
