#include "print/PageBuilder.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// How often each lower-case letter and the space occur in English text, per
// thousand characters: the classic TrueType definition of a font's average
// character width.
constexpr std::array<std::pair<char, int>, 27> LetterFrequencies = {{
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
    {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
    {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166},
}};

} // namespace

PageBuilder::PageBuilder(const QPageLayout& layout, TextAdvances& advances)
    : m_measure(&m_scratch), m_advances(advances), m_page(layout, Resolution)
{
    m_measure.setResolution(Resolution);
    m_measure.setPageLayout(layout);
}

// Columns are as wide as the font's average character. QFontMetricsF's
// averageCharWidth() reads the font's OS/2 table, whose value newer fonts
// compute over every glyph they hold: for the Arial stand-ins of Linux it is
// a quarter wider than Arial's own, which pushes column 110 (cheque number and
// date) off a Letter page. Weighting the advances of the letters by their
// frequency is the measure the page was laid out with, and it comes out the
// same for every font with Arial's widths. For a monospaced font (the MICR
// line) it is exactly the advance.
double PageBuilder::weightedAverageCharWidth(const QFontMetricsF& metrics)
{
    double total = 0;
    int weights = 0;
    for (const auto& [letter, frequency] : LetterFrequencies) {
        total += frequency * metrics.horizontalAdvance(QLatin1Char(letter));
        weights += frequency;
    }
    return total / weights;
}

const QFontMetricsF& PageBuilder::metrics()
{
    if (!m_metrics)
        m_metrics.emplace(m_font, &m_measure);
    return *m_metrics;
}

TextAdvances::InFont& PageBuilder::known()
{
    if (m_known)
        return *m_known;
    const auto used =
        std::find_if(m_fontsUsed.begin(), m_fontsUsed.end(), [this](const auto& font) { return font.first == m_font; });
    m_known = used != m_fontsUsed.end() ? used->second : &m_advances.inFont(m_font);
    if (used == m_fontsUsed.end())
        m_fontsUsed.emplace_back(m_font, m_known);
    return *m_known;
}

void PageBuilder::fontChanged()
{
    m_metrics.reset();
    m_known = nullptr;
}

void PageBuilder::setFontName(const QString& family)
{
    m_font.setFamily(family);
    fontChanged();
}

void PageBuilder::setFontSize(double points)
{
    m_font.setPointSizeF(points);
    fontChanged();
}

void PageBuilder::setFontBold(bool bold)
{
    m_font.setBold(bold);
    fontChanged();
}

double PageBuilder::averageCharWidth()
{
    return known().own(TextAdvances::Measure::ColumnWidth, [this] { return weightedAverageCharWidth(metrics()); });
}

double PageBuilder::lineHeight()
{
    return known().own(TextAdvances::Measure::LineSpacing, [this] { return metrics().lineSpacing(); });
}

double PageBuilder::measure(const QString& text)
{
    return known().of(text, [this]() -> const QFontMetricsF& { return metrics(); });
}

double PageBuilder::textWidth(const QString& text)
{
    return measure(text);
}

double PageBuilder::ascent()
{
    return known().own(TextAdvances::Measure::Ascent, [this] { return metrics().ascent(); });
}

double PageBuilder::printableWidth()
{
    return m_page.layout().paintRectPixels(Resolution).width();
}

double PageBuilder::printableHeight()
{
    return m_page.layout().paintRectPixels(Resolution).height();
}

double PageBuilder::unitsPerInch()
{
    return Resolution;
}

double PageBuilder::sheetWidth()
{
    return m_page.layout().fullRectPixels(Resolution).width();
}

QPointF PageBuilder::printableOrigin()
{
    // The page is painted from the printable area's corner, which a PDF
    // writer puts at the margins rounded to whole pixels.
    return m_page.layout().paintRectPixels(Resolution).topLeft();
}

void PageBuilder::drawText(double x, double y, const QString& text)
{
    // The surface places a text by its top-left corner; the page by its baseline.
    m_page.add(m_font, QPointF(x, y + ascent()), text);
    m_extent |= QRectF(x, y, measure(text), lineHeight());
}

void PageBuilder::drawLine(double x1, double y1, double x2, double y2)
{
    m_page.addLine(QLineF(x1, y1, x2, y2));
    m_extent |= QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
}
