#pragma once

#include "print/PrintSurface.h"

#include <QBuffer>
#include <QFont>
#include <QPdfWriter>
#include <QString>
#include <memory>

class PrintDestination;
class PrintedPage;

// PrintSurface that lays out one page for a destination and hands it over.
//
// The drawing is kept until endDoc() and only then handed to the destination
// in one go, so a Quick Print that fails halfway sends nothing at all.
// Texts are measured at the resolution of a PDF page whatever the
// destination, so that the printer, a PDF file and the preview all place
// every item at the same spot.
class QtPrintSurface : public PrintSurface {
public:
    static constexpr int Resolution = 1200;

    // Lays out for the system's default printer, without a dialog. Without a
    // default printer (or a print service to ask), the page is laid out on US
    // Letter and the first output fails and says why.
    static std::unique_ptr<QtPrintSurface> forDefaultPrinter();

    explicit QtPrintSurface(std::unique_ptr<PrintDestination> destination);
    ~QtPrintSurface() override;

    void setFontName(const QString& family) override;
    void setFontSize(double points) override;
    void setFontBold(bool bold) override;
    double averageCharWidth() override;
    double lineHeight() override;
    double textWidth(const QString& text) override;
    double ascent() override;
    double printableWidth() override;
    double unitsPerInch() override;
    double sheetWidth() override;
    QPointF printableOrigin() override;
    void drawText(double x, double y, const QString& text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void endDoc() override;

private:
    QtPrintSurface(std::unique_ptr<PrintDestination> destination, const QPageLayout& layout,
                   QString missingPrinterReason);

    void beginDocumentIfNeeded();

    std::unique_ptr<PrintDestination> m_destination;
    QString m_missingPrinterReason;
    // Fonts are measured on a PDF page that is never painted.
    QBuffer m_scratch;
    QPdfWriter m_measure;
    QFont m_font;
    bool m_begun = false;
    std::unique_ptr<PrintedPage> m_page;
};
