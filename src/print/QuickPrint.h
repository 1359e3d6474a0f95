#pragma once

#include "document/CheckRecord.h"

#include <QString>

class MessageBoxService;
class PrintSurface;

// The captions of the seven labels that the printed cheque carries, read from
// the window at the moment of printing.
struct PrintedCaptions {
    QString Label4;  // "Pay to the Order of"
    QString Label5;  // "In the Amount of"
    QString Label8;  // "Payable in U.S. Funds"
    QString Label9;  // "NO SIGNATURE REQUIRED. "
    QString Label10; // "Memo"
    QString Label11; // "This is an Authorized"
    QString Label12; // "and Requested Transaction."
};

// Quick Print: composes the cheque into one page of sixteen lines placed by
// character columns, ends the document and confirms with a message box.
// A failure of the surface stops it at that step and propagates to the
// caller; the confirmation is shown only once the document has ended.
// A page on which an item would run past the right edge of the printable
// area is refused before the document ends, with a QuilloError that names
// each such item.
class QuickPrint {
public:
    static const QString Confirmation;
    static const QString TextFont;
    static const QString MicrFont;
    static constexpr double TextFontSize = 10;
    static constexpr double MicrFontSize = 16;

    static void run(const CheckTexts& texts, const PrintedCaptions& captions, PrintSurface& surface,
                    MessageBoxService& messages);
};
