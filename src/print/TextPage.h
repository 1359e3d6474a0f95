#pragma once

#include <QString>
#include <QStringList>

class PrintSurface;

// A page of plain paragraphs, such as a statement of a draft's
// authorization: a heading, then each paragraph wrapped between margins of
// one inch from the sheet's edges; an empty paragraph leaves a line free.
namespace TextPage {

// Draws `paragraphs` on `surface`; returns how many lines did not fit above
// its bottom edge (they are not drawn).
int compose(PrintSurface& surface, const QString& heading, const QStringList& paragraphs);

} // namespace TextPage
