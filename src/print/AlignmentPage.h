#pragma once

#include "print/PageSetup.h"

class PrintSurface;

// A page to hold against a sheet of check stock in front of a light: the
// check's outline, its clear band and the bank line's band, the positions
// that begin and end each field of the bank line, and inch rulers, all where
// the standard placement puts them and moved by the page setup's offsets.
class AlignmentPage {
public:
    static const QString Instructions;

    // Lays out the page on `surface` without ending the document.
    static void compose(PrintSurface& surface, const PageSetup& setup);
};
