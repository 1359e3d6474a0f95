#pragma once

#include "print/PrintedPage.h"

#include <QRectF>
#include <QWidget>
#include <vector>

// A page on the screen as the printer will print it: the sheet, the edge of
// its printable area as a thin dashed line, and on it the page drawn by the
// printed page's own painter. Items that would not fit are marked with a red
// frame.
class PagePreview : public QWidget {
    Q_OBJECT

public:
    // `marks` are in the page's device pixels, from the printable area's corner.
    PagePreview(PrintedPage page, std::vector<QRectF> marks, QWidget* parent = nullptr);

    // 1 shows the sheet at its real size.
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }
    // The zoom at which the sheet fills `width` pixels.
    double zoomToFit(int width) const;

    QSize sizeHint() const override;

    // Draws the sheet with its top-left corner at the painter's origin, at
    // the painter's device resolution times the zoom.
    void paintSheet(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF sheetPixels() const;

    PrintedPage m_page;
    std::vector<QRectF> m_marks;
    double m_zoom = 1.0;
};
