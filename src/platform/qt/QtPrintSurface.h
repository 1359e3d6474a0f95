#pragma once

#include "print/PrintSurface.h"

#include <QFont>
#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

class PrintDestination;
class QFontMetricsF;
class QPrinter;

// The average character width that sets the width of a print column.
double weightedAverageCharWidth(const QFontMetricsF& metrics);

// PrintSurface over QPainter on a QPrinter.
//
// The drawing is kept until endDoc() and only then painted onto the printer in
// one go. Qt's PDF-based print engines cannot abort a job once the painter has
// begun (QPrinter::abort() is not supported there, and ending the painter
// sends the job), so a Quick Print that fails halfway would otherwise still
// send half a check. Kept this way, a failed run leaves nothing behind.
class QtPrintSurface : public PrintSurface {
public:
    // Prints to the system's default printer with its own page size and
    // printable area, without a dialog. Without a default printer (or a print
    // service to ask), the first output fails and says why.
    static std::unique_ptr<QtPrintSurface> forDefaultPrinter();

    // Prints to a printer that the caller has set up (a PDF file in tests).
    explicit QtPrintSurface(std::unique_ptr<QPrinter> printer);
    // Paints the page into a PDF document, then hands it to `destination`:
    // endDoc() succeeds only once the destination has taken the job.
    QtPrintSurface(std::unique_ptr<QPrinter> pdfPrinter, std::unique_ptr<PrintDestination> destination);
    ~QtPrintSurface() override;

    void setFontName(const QString& family) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    double averageCharWidth() override;
    double lineHeight() override;
    double textWidth(const QString& text) override;
    double printableWidth() override;
    double unitsPerInch() override;
    void drawText(double x, double y, const QString& text) override;
    void endDoc() override;

private:
    struct DrawnText {
        QFont font;
        QPointF topLeft;
        QString text;
    };

    void beginDocumentIfNeeded();
    void paintPage(const QString& printerName);
    void printToDestination();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<PrintDestination> m_destination;
    QString m_missingPrinterReason;
    QFont m_font;
    bool m_begun = false;
    std::vector<DrawnText> m_page;
};
