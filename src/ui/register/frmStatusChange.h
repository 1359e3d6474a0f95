#pragma once

#include "register/StatusChangePrompt.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

// "Mark Deposited --Quillo" and the like: the day of a draft's change of
// status (typed or picked, today first), with the deposit it went in or the
// reason it came back.
class frmStatusChange : public QDialog {
    Q_OBJECT

public:
    frmStatusChange(DraftEventKind kind, const QString& question, const QDate& earliest, const QDate& today,
                    QWidget* owner);

    StatusChangeAnswer answer() const;

private:
    void updateOk();

    QDateEdit* dtpDay = nullptr;
    QLineEdit* txtDeposit = nullptr;
    QComboBox* cboReason = nullptr;
    QLineEdit* txtOther = nullptr;
    QPushButton* cmdOK = nullptr;
};
