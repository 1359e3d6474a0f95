#pragma once

#include "print/PrintSurface.h"
#include "print/PrintedPage.h"
#include "print/TextAdvances.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <optional>
#include <utility>
#include <vector>

// The page a composition draws, kept as a PrintedPage value for whatever
// destination then takes it. It knows nothing of printers: it is given the
// paper and printable area to lay out on.
//
// Texts are measured at the resolution of a PDF page whatever the
// destination, so that the printer, a PDF file and the preview all place
// every item at the same spot.
class PageBuilder : public PrintSurface {
public:
    static constexpr int Resolution = 1200;

    // Texts already measured on this thread are not measured again.
    explicit PageBuilder(const QPageLayout& layout, TextAdvances& advances = TextAdvances::ofThisThread());

    // The page drawn so far.
    const PrintedPage& page() const { return m_page; }
    // The smallest rectangle that holds every text and line drawn so far, a
    // text taking its advance and its line's height; empty before anything is drawn.
    QRectF extent() const { return m_extent; }

    void setFontName(const QString& family) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    double averageCharWidth() override;
    double lineHeight() override;
    double textWidth(const QString& text) override;
    double ascent() override;
    double printableWidth() override;
    double printableHeight() override;
    double unitsPerInch() override;
    double sheetWidth() override;
    QPointF printableOrigin() override;
    void drawText(double x, double y, const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;

    // The average character width that sets the width of a print column:
    // the letters and the space weighted by how often English text has them.
    static double weightedAverageCharWidth(const QFontMetricsF& metrics);

private:
    // The current font's metrics, made only to measure what is not yet known.
    const QFontMetricsF& metrics();
    // What is known of the current font.
    TextAdvances::InFont& known();
    // The width of `text` in the current font.
    double measure(const QString& text);
    void fontChanged();

    // Fonts are measured on a PDF page that is never painted.
    QBuffer m_scratch;
    mutable QPdfWriter m_measure;
    QFont m_font;
    std::optional<QFontMetricsF> m_metrics;
    // What is known of each font: a composition asks for the width of what
    // it has just drawn, or draws what it has just measured (the bank line
    // places each text by where it ends), and a page is composed again as
    // the merchant types. The fonts this builder used are remembered with
    // theirs, since a page goes back and forth between a few.
    TextAdvances& m_advances;
    TextAdvances::InFont* m_known = nullptr;
    std::vector<std::pair<QFont, TextAdvances::InFont*>> m_fontsUsed;
    PrintedPage m_page;
    QRectF m_extent;
};
