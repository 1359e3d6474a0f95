#pragma once

#include "document/CheckRecord.h"
#include "print/PageSetup.h"

#include <QRectF>
#include <QString>
#include <vector>

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
    // An item that would run past the right edge of the printable area: what
    // it is (a box's name and number, empty and 0 for a caption), its text, by
    // how many inches it overshoots, and where it stands on the page, in
    // surface units. A field of the bank line at the standard place that has
    // more characters than it holds gives its capacity in `holds`.
    struct Overflow {
        QString name;
        int box;
        QString text;
        double inches;
        QRectF place;
        int holds = 0;
    };

    static const QString Confirmation;
    static const QString TextFont;
    static const QString MicrFont;
    static constexpr double TextFontSize = 10;
    static constexpr double MicrFontSize = 16;

    static void run(const CheckTexts& texts, const PrintedCaptions& captions, PrintSurface& surface,
                    MessageBoxService& messages, const PageSetup& setup = {});

    // Lays out the page on `surface` without ending the document, and returns
    // the items that would not fit: what the preview and the PDF export share
    // with the printed page. With the bank line at the standard place, the
    // items above it that reach into the check's clear band are added to
    // `inClearBand`: they print, but the preview marks them.
    static std::vector<Overflow> compose(const CheckTexts& texts, const PrintedCaptions& captions,
                                         PrintSurface& surface, const PageSetup& setup = {},
                                         std::vector<QRectF>* inClearBand = nullptr);

    // Why a page with these overflows is not printed, naming each item, with
    // advice that fits a printable area `pageInches` wide.
    static QString refusal(const std::vector<Overflow>& overflows, double pageInches);
};
