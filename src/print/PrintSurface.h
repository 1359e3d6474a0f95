#pragma once

#include <QPointF>
#include <QString>

// The page as Quick Print composes it: positions in the page's device units
// measured from the top-left corner of the printable area, texts measured in
// the font current when they are drawn.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    // Each of the three font settings leaves the other two as they were.
    virtual void setFontName(const QString& family) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void setFontBold(bool bold) = 0;

    // Measurements in the current font.
    virtual double averageCharWidth() = 0;
    virtual double lineHeight() = 0;
    virtual double textWidth(const QString& text) = 0;
    // From the top of a line to its baseline, on which the MICR glyphs stand.
    virtual double ascent() = 0;

    // The page: the size of the printable area, and how many units make an inch.
    virtual double printableWidth() = 0;
    virtual double printableHeight() = 0;
    virtual double unitsPerInch() = 0;
    // The sheet: its width, and where the printable area's top-left corner
    // lies on it, for items placed from the sheet's own edges.
    virtual double sheetWidth() = 0;
    virtual QPointF printableOrigin() = 0;

    // Draws `text` with its top-left corner at (x, y) in the current font.
    virtual void drawText(double x, double y, const QString& text) = 0;
    // Draws a hairline from (x1, y1) to (x2, y2).
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
};
