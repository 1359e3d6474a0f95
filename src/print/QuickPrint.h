#pragma once

#include "document/CheckRecord.h"
#include "print/PageSetup.h"

#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

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

// Quick Print's page: the cheque in sixteen lines placed by character
// columns, and the message that refuses a page on which an item would run
// past an edge of the printable area, naming each such item and the edge. The
// confirmation is shown once the printer has taken the page.
class QuickPrint {
public:
    // The sides of the printable area.
    enum class Edge { Left, Top, Right, Bottom };

    // An item that would run past an edge of the printable area: what it is
    // (a box's name and the box, empty and none for a caption), its text, by
    // how many inches it overshoots which edge, and where it stands on the
    // page, in surface units. When the page setup moves the page towards that
    // edge, `offset` says by how many inches, and `byOffset` whether the item
    // would fit without it. A field of the bank line at the standard place
    // that has more characters than it holds gives its capacity in `holds`.
    struct Overflow {
        QString name;
        std::optional<Box> box;
        QString text;
        double inches;
        QRectF place;
        int holds = 0;
        Edge edge = Edge::Right;
        double offset = 0;
        bool byOffset = false;
        // Drawn lines lower than the layout puts it, because a text above
        // ran into the place of the item after it.
        bool pushedDown = false;
    };

    static const QString Confirmation;
    static const QString TextFont;
    static const QString MicrFont;
    // The remotely created check code, printed on the bank line when the page setup asks for it.
    static const QString RemotelyCreatedCode;
    static constexpr double TextFontSize = 10;
    static constexpr double MicrFontSize = 16;

    // Lays out the page on `surface`, and returns the items that would not
    // fit: what the preview and the PDF export share with the printed page. With the bank line at the standard place,
    // the items above it that reach into the check's clear band are added to `inClearBand`: they print, but the preview
    // marks them.
    static std::vector<Overflow> compose(const CheckTexts& texts, const PrintedCaptions& captions,
                                         PrintSurface& surface, const PageSetup& setup = {},
                                         std::vector<QRectF>* inClearBand = nullptr);

    // The cheque's page as a composition, with the texts as they are now.
    static std::function<std::vector<Overflow>(PrintSurface&)>
    page(const CheckTexts& texts, const PrintedCaptions& captions, const PageSetup& setup);

    // Why a page with these overflows is not printed, naming each item, with
    // advice that fits a printable area `pageInches` wide.
    static QString refusal(const std::vector<Overflow>& overflows, double pageInches);
    // What the refusal says of one overflow, without the item's name, and the
    // sentences of advice that the refusal ends with.
    static QString overflowSentence(const Overflow& overflow);
    static QStringList advice(const std::vector<Overflow>& overflows, double pageInches);
};
