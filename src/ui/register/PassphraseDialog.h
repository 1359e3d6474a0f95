#pragma once

#include "register/PassphrasePrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Register Passphrase --Quillo": the register's passphrase, typed once for
// an existing register, twice when a new one is chosen.
class PassphraseDialog : public QDialog {
    Q_OBJECT

public:
    PassphraseDialog(PassphrasePrompt::Purpose purpose, bool wrongBefore, QWidget* owner);

    QString passphrase() const;

private:
    void updateOk();

    PassphrasePrompt::Purpose m_purpose;
    QLabel* lblPrompt = nullptr;
    QLineEdit* txtPassphrase = nullptr;
    QLineEdit* txtAgain = nullptr;
    QPushButton* cmdOK = nullptr;
};
