#pragma once

#include "print/MerchantDetails.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Merchant Details --Quillo": who the confirmation letter comes from, the
// phone for the payor's questions and the refund procedure it states.
class frmMerchantDetails : public QDialog {
    Q_OBJECT

public:
    frmMerchantDetails(const MerchantDetails& details, QWidget* owner);

    // The details as the dialog shows them.
    MerchantDetails details() const;

private:
    QLineEdit* txtName = nullptr;
    QPlainTextEdit* txtAddress = nullptr;
    QLineEdit* txtPhone = nullptr;
    QLineEdit* txtQuestionsPhone = nullptr;
    QPlainTextEdit* txtRefund = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
