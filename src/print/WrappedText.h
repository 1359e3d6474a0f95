#pragma once

#include <QString>
#include <QStringList>

class PrintSurface;

namespace WrappedText {

// `text` broken between words into lines no wider than `width` in the
// surface's current font; a word longer than a line is broken where it must.
QStringList lines(PrintSurface& surface, const QString& text, double width);

} // namespace WrappedText
