#include "print/AlignmentPage.h"

#include "print/CheckStock.h"
#include "print/PrintSurface.h"

#include "print/QuickPrint.h"

#include <QPointF>
#include <QRectF>
#include <algorithm>

const QString AlignmentPage::Instructions =
    QStringLiteral("Hold this page against a sheet of your check stock in front of a light, and adjust the offsets "
                   "in File, Page Setup until the marks meet the check's edges.");

const QStringList AlignmentPage::Legend = {
    QStringLiteral("The numbers are positions of the bank line, 1/8 in each, counted from the check's right edge; "
                   "each stands between its two ticks."),
    QStringLiteral("1 to 12: amount, left blank for the bank.  13: blank.  14 to 32: on-us field, account and check "
                   "number.  33 to 43: routing number."),
    QStringLiteral("44: external processing code, left blank."),
    QStringLiteral("44: external processing code, here the 6 of a remotely created check."),
};

namespace {

// Draws in inches on the sheet, from its top-left corner, and only inside the
// printable area: a line is cut at its edges, and a text that would not lie
// wholly inside it is left out, since a printer would cut it anyway.
class SheetPen {
public:
    SheetPen(PrintSurface& surface, const PageSetup& setup)
        : m_surface(surface), m_inch(surface.unitsPerInch()),
          m_origin(surface.printableOrigin() -
                   QPointF(setup.offsetRight / 100.0 * m_inch, setup.offsetDown / 100.0 * m_inch)),
          m_sheetWidth(surface.sheetWidth() / m_inch),
          m_printable(0, 0, surface.printableWidth(), surface.printableHeight())
    {}

    double sheetWidth() const { return m_sheetWidth; }
    // The printable area's corner, in inches on the sheet.
    QPointF printableCorner() const { return m_origin / m_inch; }

    // A line across or down the sheet.
    void line(double x1, double y1, double x2, double y2)
    {
        QPointF from = onSurface(x1, y1);
        QPointF to = onSurface(x2, y2);
        const QRectF& area = m_printable;
        if (from.y() == to.y()) {
            if (from.y() < area.top() || from.y() > area.bottom())
                return;
            from.setX(std::clamp(from.x(), area.left(), area.right()));
            to.setX(std::clamp(to.x(), area.left(), area.right()));
        } else {
            if (from.x() < area.left() || from.x() > area.right())
                return;
            from.setY(std::clamp(from.y(), area.top(), area.bottom()));
            to.setY(std::clamp(to.y(), area.top(), area.bottom()));
        }
        if (from != to)
            m_surface.drawLine(from.x(), from.y(), to.x(), to.y());
    }
    // `text` centred on x, its top at y.
    void centred(double x, double y, const QString& text) { place(x - width(text) / 2, y, text); }
    void text(double x, double y, const QString& text) { place(x, y, text); }
    // `text` ending at x.
    void endingAt(double x, double y, const QString& text) { place(x - width(text), y, text); }

private:
    QPointF onSurface(double x, double y) const { return QPointF(x * m_inch, y * m_inch) - m_origin; }
    double width(const QString& text) const { return m_surface.textWidth(text) / m_inch; }

    void place(double x, double y, const QString& text)
    {
        const QPointF at = onSurface(x, y);
        if (m_printable.contains(QRectF(at, QSizeF(m_surface.textWidth(text), m_surface.lineHeight()))))
            m_surface.drawText(at.x(), at.y(), text);
    }

    PrintSurface& m_surface;
    double m_inch;
    QPointF m_origin;
    double m_sheetWidth;
    QRectF m_printable;
};

// Rulers in eighths of an inch from the sheet's edges, drawn just inside the
// printable area, where every printer can reach.
void rulers(SheetPen& pen)
{
    const QPointF corner = pen.printableCorner();
    for (int eighth = 1; eighth < pen.sheetWidth() * 8; ++eighth) {
        const double length = eighth % 8 == 0 ? 0.25 : eighth % 4 == 0 ? 0.15 : 0.08;
        const double x = eighth / 8.0;
        pen.line(x, corner.y(), x, corner.y() + length);
        if (eighth % 8 == 0)
            pen.centred(x, corner.y() + 0.27, QString::number(eighth / 8));
    }
    for (int eighth = 1; eighth <= 8 * 8; ++eighth) {
        const double length = eighth % 8 == 0 ? 0.25 : eighth % 4 == 0 ? 0.15 : 0.08;
        const double y = eighth / 8.0;
        pen.line(corner.x(), y, corner.x() + length, y);
        if (eighth % 8 == 0)
            pen.text(corner.x() + 0.3, y - 0.07, QString::number(eighth / 8));
    }
}

} // namespace

void AlignmentPage::compose(PrintSurface& surface, const PageSetup& setup)
{
    surface.setFontName(QStringLiteral("Arial"));
    surface.setFontSize(8);
    surface.setFontBold(false);
    SheetPen pen(surface, setup);
    const double right = pen.sheetWidth();
    const double left = right - CheckStock::Width;

    // The check and its bands. The check's top and sides are the sheet's
    // edges, which no printer reaches: the rulers measure from them instead.
    pen.line(left, 0, right, 0);
    pen.line(left, CheckStock::Height, right, CheckStock::Height);
    pen.line(left, 0, left, CheckStock::Height);
    pen.line(right, 0, right, CheckStock::Height);
    pen.line(left, CheckStock::ClearBandTop, right, CheckStock::ClearBandTop);
    pen.line(left, CheckStock::BandTop, right, CheckStock::BandTop);
    pen.line(left, CheckStock::BandBottom, right, CheckStock::BandBottom);

    // The positions that begin and end the fields, each between two ticks;
    // the numbers of neighbouring positions stand at two heights.
    for (const int position : {1, 13, 14, 32, 33, 43, 44}) {
        const double start = right - CheckStock::positionStart(position);
        const double end = right - CheckStock::positionEnd(position);
        const double top = CheckStock::ClearBandTop - (position % 2 == 0 ? 0.14 : 0.28);
        pen.line(start, top + 0.13, start, CheckStock::BandBottom);
        pen.line(end, top + 0.13, end, CheckStock::BandBottom);
        pen.centred((start + end) / 2, top, QString::number(position));
    }
    // The bands' names stand in the on-us field, between the ticks of
    // positions 32 and 14, where no tick crosses them.
    const double labels = right - CheckStock::positionStart(32) + 0.06;
    pen.text(labels, CheckStock::ClearBandTop + 0.03, QStringLiteral("Clear band: 5/8 in"));
    pen.text(labels, CheckStock::BandTop + 0.06, QStringLiteral("Bank line: 3/16 to 7/16 in above the edge"));

    // The words stand clear of the rulers, however the offsets move the
    // printable area's corner over the sheet, and above the position numbers.
    const QPointF corner = pen.printableCorner();
    const double x = std::max(left + 1, corner.x() + 0.5);
    const double y = std::max(1.1, corner.y() + 0.42);
    // What the numbers are.
    pen.text(x, y + 0.7, Legend.at(0));
    pen.text(x, y + 0.84, Legend.at(1));
    pen.text(x, y + 0.98, setup.epc6 ? Legend.at(3) : Legend.at(2));

    rulers(pen);
    surface.setFontSize(10);
    // The sentence, in two lines that fit between the rulers.
    const qsizetype split = Instructions.indexOf(QStringLiteral(" and adjust"));
    pen.text(x, y, Instructions.left(split + 1));
    pen.text(x, y + 0.2, Instructions.mid(split + 1));
    pen.text(x, y + 0.5,
             QStringLiteral("Offsets now: right %1 in, down %2 in.")
                 .arg(QString::number(setup.offsetRight / 100.0, 'f', 2),
                      QString::number(setup.offsetDown / 100.0, 'f', 2)));

    if (setup.epc6) {
        // The code where Quick Print puts it at the standard place: its cell
        // is position 44, its ink ends on the bank line's.
        surface.setFontName(QuickPrint::MicrFont);
        surface.setFontSize(QuickPrint::MicrFontSize);
        surface.setFontBold(true);
        pen.endingAt(right - CheckStock::positionStart(CheckStock::ProcessingCodePosition),
                     CheckStock::InkBottom - surface.ascent() / surface.unitsPerInch(),
                     QuickPrint::RemotelyCreatedCode);
    }
}
