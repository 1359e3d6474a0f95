#pragma once

#include "print/PageSetup.h"

#include <QStringList>

class PrintSurface;

// A page to hold against a sheet of check stock in front of a light: the
// check's bottom edge, its clear band and the bank line's band, the positions
// that begin and end each field of the bank line with a legend for their
// numbers, the remotely created check code when the setup prints it, and inch
// rulers, all where the standard placement puts them and moved by the page
// setup's offsets. Nothing is drawn outside the printable area.
class AlignmentPage {
public:
    static const QString Instructions;
    // What the position numbers are: two lines, then the line for position
    // 44 without the code and with it.
    static const QStringList Legend;

    // Lays out the page on `surface` without ending the document.
    static void compose(PrintSurface& surface, const PageSetup& setup);
};
