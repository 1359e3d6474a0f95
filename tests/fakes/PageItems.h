#pragma once

#include "print/PrintedPage.h"

#include <QStringList>

// The texts of a composed page, each as "family size [bold] x,y text", with
// the left end of its baseline in the page's units (1/1200 inch from the
// printable area's corner), and the same for expected items placed by
// column and line.
namespace PageItems {

// The fonts as measured at 1200 dots per inch: bold 10-point Arial (Liberation
// Sans here) has columns 79.92 and lines 192.05 units apart; the bold 16-point
// MICR font is 150.19 units to a character and 267 to a line.
constexpr double ArialColumn = 79.9202;
constexpr double ArialLine = 192.046875;
constexpr double ArialAscent = 151.1875;
constexpr double MicrColumn = 150.1875;
constexpr double MicrLine = 267;
constexpr double MicrAscent = 203.765625;

inline QString item(const QString& family, double points, bool bold, double x, double y, const QString& text)
{
    return QStringLiteral("%1 %2%3 %4,%5 %6")
        .arg(family)
        .arg(points)
        .arg(bold ? QStringLiteral(" bold") : QString())
        .arg(x, 0, 'f', 1)
        .arg(y, 0, 'f', 1)
        .arg(text);
}

// A text of Quick Print's page on `line` (1 is the first) at `column`,
// moved by `shift` units.
inline QString arial(int column, int line, const QString& text, QPointF shift = {})
{
    return item(QStringLiteral("Arial"), 10, true, (column - 1) * ArialColumn + shift.x(),
                (line - 1) * ArialLine + ArialAscent + shift.y(), text);
}

// A text of the MICR line, the 16th line, `below` MICR lines lower when pushed.
inline QString micr(int column, const QString& text, int below = 0)
{
    return item(QStringLiteral("MICR 013 BT"), 16, true, (column - 1) * MicrColumn,
                15 * ArialLine + below * MicrLine + MicrAscent, text);
}

inline QStringList of(const PrintedPage& page)
{
    QStringList items;
    for (const PrintedPage::Text& text : page.texts()) {
        items << item(text.font.family(), text.font.pointSizeF(), text.font.bold(), text.baseline.x(),
                      text.baseline.y(), text.text);
    }
    return items;
}

} // namespace PageItems
