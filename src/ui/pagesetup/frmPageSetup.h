#pragma once

#include "print/PageSetup.h"
#include "print/QuickPrint.h"

#include <QDialog>
#include <QPageLayout>
#include <functional>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;

// File, Page Setup: where Quick Print puts the bank line, whether the bank
// line carries the remotely created check code, and how far the whole page
// moves. Under the offsets the dialog shows how much room they leave the
// check at each edge of the paper. "Print Alignment Page" prints with the
// setup as the dialog shows it, so that it can be tried before it is kept.
class frmPageSetup : public QDialog {
    Q_OBJECT

public:
    // `printAlignmentPage` prints the alignment page with the given setup;
    // `captions` and `paper` are the page's, for the room at the edges.
    frmPageSetup(const PageSetup& setup, std::function<void(const PageSetup&)> printAlignmentPage,
                 const PrintedCaptions& captions, const QPageLayout& paper, QWidget* owner);

    // The setup as the dialog shows it now.
    PageSetup setup() const;
    // The default printer's paper, once it is known.
    void setPaper(const QPageLayout& paper);

private:
    void showRoom();

    PrintedCaptions m_captions;
    QPageLayout m_paper;
    QRadioButton* optLayout = nullptr;
    QRadioButton* optStandard = nullptr;
    QCheckBox* chkEpc6 = nullptr;
    QLabel* lblRoom = nullptr;
    QDoubleSpinBox* txtOffsetRight = nullptr;
    QDoubleSpinBox* txtOffsetDown = nullptr;
    QPushButton* cmdAlignment = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
