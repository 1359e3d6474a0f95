#pragma once

#include "print/PrintedPage.h"
#include "print/QuickPrint.h"

#include <QDialog>
#include <vector>

class PagePreview;
class QPushButton;
class QScrollArea;

// File, Print Preview: the page as Quick Print would print it now, read-only.
// "Print" asks for Quick Print; a confirmed print closes the window. A page that
// Quick Print would refuse shows its marked items and the refusal, and cannot
// be printed from here. Items that reach into the check's clear band are
// marked too, and print.
class frmPrintPreview : public QDialog {
    Q_OBJECT

public:
    frmPrintPreview(const PrintedPage& page, const std::vector<QuickPrint::Overflow>& overflows, QWidget* owner,
                    const std::vector<QRectF>& inClearBand = {});

    PagePreview* page() const { return m_page; }

    // Adds "Export as PDF..." beside "Print", for a page that may also be
    // kept as a file (the confirmation letter).
    void offerExport();

    // Fits the sheet to the window's width, or shows it at its real size.
    void fitToWidth();
    void actualSize();

Q_SIGNALS:
    // "Print" was clicked: whoever prints the page closes the window with
    // accept() once it has printed.
    void printRequested();
    // "Export as PDF..." was clicked.
    void exportRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdPrint_Click();

    PagePreview* m_page = nullptr;
    QScrollArea* m_scroll = nullptr;
    QPushButton* cmdFitWidth = nullptr;
    QPushButton* cmdActualSize = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdClose = nullptr;
};
