#include "print/AlignmentPage.h"

#include "print/CheckStock.h"
#include "print/PrintSurface.h"

#include <QPointF>

const QString AlignmentPage::Instructions =
    QStringLiteral("Hold this page against a sheet of your check stock in front of a light, and adjust the offsets "
                   "in File, Page Setup until the marks meet the check's edges.");

namespace {

// Draws in inches on the sheet, from its top-left corner.
class SheetPen {
public:
    SheetPen(PrintSurface& surface, const PageSetup& setup)
        : m_surface(surface), m_inch(surface.unitsPerInch()),
          m_origin(surface.printableOrigin() -
                   QPointF(setup.offsetRight / 100.0 * m_inch, setup.offsetDown / 100.0 * m_inch)),
          m_sheetWidth(surface.sheetWidth() / m_inch)
    {}

    double sheetWidth() const { return m_sheetWidth; }
    // The printable area's corner, in inches on the sheet.
    QPointF printableCorner() const { return m_origin / m_inch; }

    void line(double x1, double y1, double x2, double y2)
    {
        m_surface.drawLine(x1 * m_inch - m_origin.x(), y1 * m_inch - m_origin.y(), x2 * m_inch - m_origin.x(),
                           y2 * m_inch - m_origin.y());
    }
    // `text` centred on x, its top at y.
    void centred(double x, double y, const QString& text)
    {
        m_surface.drawText(x * m_inch - m_surface.textWidth(text) / 2 - m_origin.x(), y * m_inch - m_origin.y(), text);
    }
    void text(double x, double y, const QString& text)
    {
        m_surface.drawText(x * m_inch - m_origin.x(), y * m_inch - m_origin.y(), text);
    }

private:
    PrintSurface& m_surface;
    double m_inch;
    QPointF m_origin;
    double m_sheetWidth;
};

// Rulers in eighths of an inch from the sheet's edges, drawn just inside the
// printable area, where every printer can reach.
void rulers(SheetPen& pen)
{
    const QPointF corner = pen.printableCorner();
    for (int eighth = 1; eighth < pen.sheetWidth() * 8; ++eighth) {
        const double length = eighth % 8 == 0 ? 0.25 : eighth % 4 == 0 ? 0.15 : 0.08;
        const double x = eighth / 8.0;
        if (x > corner.x())
            pen.line(x, corner.y(), x, corner.y() + length);
        if (eighth % 8 == 0)
            pen.centred(x, corner.y() + 0.27, QString::number(eighth / 8));
    }
    for (int eighth = 1; eighth <= 8 * 8; ++eighth) {
        const double length = eighth % 8 == 0 ? 0.25 : eighth % 4 == 0 ? 0.15 : 0.08;
        const double y = eighth / 8.0;
        if (y > corner.y())
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

    // The check and its bands.
    pen.line(left, 0, right, 0);
    pen.line(left, CheckStock::Height, right, CheckStock::Height);
    pen.line(left, 0, left, CheckStock::Height);
    pen.line(right, 0, right, CheckStock::Height);
    pen.line(left, CheckStock::ClearBandTop, right, CheckStock::ClearBandTop);
    pen.line(left, CheckStock::BandTop, right, CheckStock::BandTop);
    pen.line(left, CheckStock::BandBottom, right, CheckStock::BandBottom);
    pen.text(left + 0.9, CheckStock::ClearBandTop + 0.03, QStringLiteral("Clear band: 5/8 in"));
    pen.text(left + 0.9, CheckStock::BandTop + 0.06, QStringLiteral("Bank line: 3/16 to 7/16 in above the edge"));

    // The positions that begin and end the fields, each between two ticks;
    // the numbers of neighbouring positions stand at two heights.
    for (const int position : {1, 13, 14, 32, 33, 43, 44}) {
        const double start = right - CheckStock::positionStart(position);
        const double end = right - CheckStock::positionEnd(position);
        const double top = CheckStock::ClearBandTop - (position % 2 == 0 ? 0.12 : 0.28);
        pen.line(start, top + 0.13, start, CheckStock::BandBottom);
        pen.line(end, top + 0.13, end, CheckStock::BandBottom);
        pen.centred((start + end) / 2, top, QString::number(position));
    }

    rulers(pen);
    surface.setFontSize(10);
    // The sentence, in two lines that fit between the rulers.
    const qsizetype split = Instructions.indexOf(QStringLiteral(" and adjust"));
    pen.text(left + 1, 1.1, Instructions.left(split + 1));
    pen.text(left + 1, 1.3, Instructions.mid(split + 1));
    pen.text(left + 1, 1.6,
             QStringLiteral("Offsets now: right %1 in, down %2 in.")
                 .arg(QString::number(setup.offsetRight / 100.0, 'f', 2),
                      QString::number(setup.offsetDown / 100.0, 'f', 2)));
}
