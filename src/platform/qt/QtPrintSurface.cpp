#include "platform/qt/QtPrintSurface.h"

#include "platform/DefaultPrinter.h"
#include "platform/PrintDestination.h"
#include "platform/PrintedPage.h"
#include "platform/QuilloError.h"
#include "platform/qt/Fonts.h"

#include <QFontMetricsF>

std::unique_ptr<QtPrintSurface> QtPrintSurface::forDefaultPrinter()
{
    try {
        return std::make_unique<QtPrintSurface>(DefaultPrinter::find());
    } catch (const QuilloError& error) {
        return std::unique_ptr<QtPrintSurface>(
            new QtPrintSurface(nullptr, DefaultPrinter::fallbackLayout(), error.message()));
    }
}

QtPrintSurface::QtPrintSurface(std::unique_ptr<PrintDestination> destination)
    : QtPrintSurface(std::move(destination), QPageLayout(), QString())
{}

QtPrintSurface::QtPrintSurface(std::unique_ptr<PrintDestination> destination, const QPageLayout& layout,
                               QString missingPrinterReason)
    : m_destination(std::move(destination)), m_missingPrinterReason(std::move(missingPrinterReason)),
      m_measure(&m_scratch)
{
    const QPageLayout pageLayout = m_destination ? m_destination->pageLayout() : layout;
    m_measure.setResolution(Resolution);
    m_measure.setPageLayout(pageLayout);
    m_page = std::make_unique<PrintedPage>(pageLayout, Resolution);
}

QtPrintSurface::~QtPrintSurface() = default;

void QtPrintSurface::setFontName(const QString& family)
{
    m_font.setFamily(family);
}

void QtPrintSurface::setFontSize(double points)
{
    m_font.setPointSizeF(points);
}

void QtPrintSurface::setFontBold(bool bold)
{
    m_font.setBold(bold);
}

double QtPrintSurface::averageCharWidth()
{
    return Fonts::weightedAverageCharWidth(QFontMetricsF(m_font, &m_measure));
}

double QtPrintSurface::lineHeight()
{
    return QFontMetricsF(m_font, &m_measure).lineSpacing();
}

double QtPrintSurface::textWidth(const QString& text)
{
    return QFontMetricsF(m_font, &m_measure).horizontalAdvance(text);
}

double QtPrintSurface::ascent()
{
    return QFontMetricsF(m_font, &m_measure).ascent();
}

double QtPrintSurface::printableWidth()
{
    return m_page->layout().paintRectPixels(Resolution).width();
}

double QtPrintSurface::unitsPerInch()
{
    return Resolution;
}

double QtPrintSurface::sheetWidth()
{
    return m_page->layout().fullRectPixels(Resolution).width();
}

QPointF QtPrintSurface::printableOrigin()
{
    // The page is painted from the printable area's corner, which a PDF
    // writer puts at the margins rounded to whole pixels.
    return m_page->layout().paintRectPixels(Resolution).topLeft();
}

void QtPrintSurface::drawText(double x, double y, const QString& text)
{
    beginDocumentIfNeeded();
    // The surface places a text by its top-left corner; the page by its baseline.
    m_page->add(m_font, QPointF(x, y + QFontMetricsF(m_font, &m_measure).ascent()), text);
}

void QtPrintSurface::drawLine(double x1, double y1, double x2, double y2)
{
    beginDocumentIfNeeded();
    m_page->addLine(QLineF(x1, y1, x2, y2));
}

void QtPrintSurface::beginDocumentIfNeeded()
{
    if (m_begun)
        return;
    if (!m_missingPrinterReason.isEmpty())
        throw QuilloError(m_missingPrinterReason);
    m_begun = true;
}

void QtPrintSurface::endDoc()
{
    beginDocumentIfNeeded();
    // Each document starts on a blank page, whatever becomes of this one.
    auto page = std::exchange(m_page, std::make_unique<PrintedPage>(m_page->layout(), Resolution));
    m_begun = false;
    m_destination->print(*page);
}
