#pragma once

#include "print/PageSetup.h"

#include <QDialog>
#include <functional>

class QDoubleSpinBox;
class QPushButton;
class QRadioButton;

// File, Page Setup: where Quick Print puts the bank line, and how far it
// moves the whole page. "Print Alignment Page" prints with the offsets as
// the dialog shows them, so that they can be tried before they are kept.
class frmPageSetup : public QDialog {
    Q_OBJECT

public:
    // `printAlignmentPage` prints the alignment page with the given setup.
    frmPageSetup(const PageSetup& setup, std::function<void(const PageSetup&)> printAlignmentPage, QWidget* owner);

    // The setup as the dialog shows it now.
    PageSetup setup() const;

private:
    QRadioButton* optLayout = nullptr;
    QRadioButton* optStandard = nullptr;
    QDoubleSpinBox* txtOffsetRight = nullptr;
    QDoubleSpinBox* txtOffsetDown = nullptr;
    QPushButton* cmdAlignment = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
