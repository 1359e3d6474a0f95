#pragma once

#include "fakes/DesignedCaptions.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeMessageBox.h"
#include "print/PrinterFinder.h"
#include "print/Printing.h"
#include "system/qt/QtPrinterDestination.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

// A word of a PDF and its box in points, as poppler's pdftotext -bbox reads it.
struct PdfWord {
    QString text;
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

// What `program` prints, or nothing when it fails.
inline QString toolOutput(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QList<PdfWord> pdfWords(const QString& pdf)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    QList<PdfWord> words;
    for (const auto& match : pattern.globalMatch(
             toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")})))
        words.append({match.captured(5), match.captured(1).toDouble(), match.captured(2).toDouble(),
                      match.captured(3).toDouble(), match.captured(4).toDouble()});
    return words;
}

// A printer that writes its pages to the PDF file `path`, on `size` paper.
inline std::unique_ptr<QPrinter> pdfPrinter(const QString& path, QPageSize::PageSizeId size = QPageSize::Letter)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(size));
    return printer;
}

// A print service whose default printer is `printer`.
class OnePrinter : public PrinterFinder {
public:
    explicit OnePrinter(std::shared_ptr<PrintDestination> printer) : m_printer(std::move(printer)) {}
    QFuture<FoundPrinter> findDefault() override { return QtFuture::makeReadyFuture(FoundPrinter{m_printer, {}}); }

private:
    std::shared_ptr<PrintDestination> m_printer;
};

// Quick Print of `texts` on `printer`: the confirmation, or why the page was
// refused or not printed.
inline QString quickPrintTo(std::unique_ptr<QPrinter> printer, const CheckTexts& texts, const PageSetup& setup = {})
{
    OnePrinter printers(std::make_shared<QtPrinterDestination>(std::move(printer)));
    FakeMessageBox messages;
    FakeFailureReporter failures;
    Printing printing(printers, messages, failures);
    printing.toDefaultPrinter(QuickPrint::page(texts, designedCaptions(), setup), QuickPrint::Confirmation);
    return (messages.shown + failures.reports).join(QLatin1Char('|'));
}
