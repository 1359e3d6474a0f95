#pragma once

#include <QString>

class QWidget;

// Makes `caption` the title of `window`, shown exactly as it is. Qt takes
// "[*]" in a window title for the place of its unsaved-changes mark and shows
// nothing there; doubled, "[*][*]", it shows "[*]". The title that
// windowTitle() returns is the doubled one.
void setLiteralWindowTitle(QWidget& window, const QString& caption);
