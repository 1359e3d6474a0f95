#include "platform/qt/QtPrintSurface.h"

#include "platform/PrintDestination.h"
#include "platform/QuilloError.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#ifdef QUILLO_PRINTS_THROUGH_CUPS
#include "platform/cups/CupsDestination.h"
#endif

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

// Columns are as wide as the font's average character. QFontMetricsF's
// averageCharWidth() reads the font's OS/2 table, whose value newer fonts
// compute over every glyph they hold: for the Arial stand-ins of Linux it is
// a quarter wider than Arial's own, which pushes column 110 (cheque number and
// date) off a Letter page. Weighting the advances of the letters by their
// frequency is the measure the page was laid out with, and it comes out the
// same for every font with Arial's widths. For a monospaced font (the MICR
// line) it is exactly the advance.
double weightedAverageCharWidth(const QFontMetricsF& metrics)
{
    double total = 0;
    int weights = 0;
    for (const auto& [letter, frequency] : LetterFrequencies) {
        total += frequency * metrics.horizontalAdvance(QLatin1Char(letter));
        weights += frequency;
    }
    return total / weights;
}

namespace {

// A printer object with `info`'s own default page size and printable area.
std::unique_ptr<QPrinter> printerFor(const QPrinterInfo& info)
{
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // QPrinter starts at A4 whatever the printer says; the printer's own
    // default page size is the one that applies.
    if (!info.isNull())
        printer->setPageSize(info.defaultPageSize());
    return printer;
}

} // namespace

#ifdef QUILLO_PRINTS_THROUGH_CUPS

std::unique_ptr<QtPrintSurface> QtPrintSurface::forDefaultPrinter()
{
    std::unique_ptr<PrintDestination> destination;
    QString missing;
    try {
        destination = CupsDestination::findDefault();
    } catch (const QuilloError& error) {
        missing = error.message();
    }
    // The page is laid out as the printer's own driver describes it, and
    // painted into a PDF document that goes to the printer as it stands.
    const QPrinterInfo info = destination ? QPrinterInfo::printerInfo(destination->name()) : QPrinterInfo();
    const QPageLayout layout = printerFor(info)->pageLayout();
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setPageLayout(layout);
    auto surface = std::make_unique<QtPrintSurface>(std::move(pdf), std::move(destination));
    surface->m_missingPrinterReason = missing;
    return surface;
}

#else

std::unique_ptr<QtPrintSurface> QtPrintSurface::forDefaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    auto surface = std::make_unique<QtPrintSurface>(printerFor(info));
    if (info.isNull())
        surface->m_missingPrinterReason = noDefaultPrinterMessage();
    return surface;
}

#endif

QtPrintSurface::QtPrintSurface(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

QtPrintSurface::QtPrintSurface(std::unique_ptr<QPrinter> pdfPrinter, std::unique_ptr<PrintDestination> destination)
    : m_printer(std::move(pdfPrinter)), m_destination(std::move(destination))
{}

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
    return weightedAverageCharWidth(QFontMetricsF(m_font, m_printer.get()));
}

double QtPrintSurface::lineHeight()
{
    return QFontMetricsF(m_font, m_printer.get()).lineSpacing();
}

double QtPrintSurface::textWidth(const QString& text)
{
    return QFontMetricsF(m_font, m_printer.get()).horizontalAdvance(text);
}

double QtPrintSurface::printableWidth()
{
    return m_printer->pageRect(QPrinter::DevicePixel).width();
}

double QtPrintSurface::unitsPerInch()
{
    return m_printer->resolution();
}

void QtPrintSurface::drawText(double x, double y, const QString& text)
{
    beginDocumentIfNeeded();
    m_page.push_back({m_font, QPointF(x, y), text});
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
    if (m_destination)
        printToDestination();
    else
        paintPage(m_printer->outputFormat() == QPrinter::PdfFormat ? m_printer->outputFileName()
                                                                   : m_printer->printerName());
    m_begun = false;
}

void QtPrintSurface::printToDestination()
{
    // The document lives only until the destination has taken it.
    QTemporaryFile document(QDir::tempPath() + QStringLiteral("/quillo-check-XXXXXX.pdf"));
    if (!document.open()) {
        throw QuilloError(QStringLiteral("The check could not be prepared for the printer \"%1\": %2")
                              .arg(m_destination->name(), document.errorString()));
    }
    document.close();
    m_printer->setOutputFileName(document.fileName());
    paintPage(m_destination->name());
    m_destination->print(document.fileName(), QStringLiteral("Quillo"));
}

void QtPrintSurface::paintPage(const QString& printerName)
{
    QPainter painter;
    if (!painter.begin(m_printer.get())) {
        throw QuilloError(QStringLiteral("The printer \"%1\" could not be started, so the check was not printed. "
                                         "Check that the printer is switched on and set up, and try again.")
                              .arg(printerName));
    }
    for (const DrawnText& item : m_page) {
        painter.setFont(item.font);
        const QFontMetricsF metrics(item.font, m_printer.get());
        // The surface places a text by its top-left corner; QPainter by its baseline.
        painter.drawText(QPointF(item.topLeft.x(), item.topLeft.y() + metrics.ascent()), item.text);
    }
    m_page.clear();
    if (!painter.end() || m_printer->printerState() == QPrinter::Error) {
        throw QuilloError(QStringLiteral("The printer \"%1\" did not accept the check, so it was not printed. "
                                         "Check the printer and try again.")
                              .arg(printerName));
    }
}
