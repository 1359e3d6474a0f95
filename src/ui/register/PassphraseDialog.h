#pragma once

#include "register/PassphrasePrompt.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Register Passphrase --Quillo": the register's passphrase, typed once for
// an existing register, twice when a new one is chosen. A new one is measured
// as it is typed (PassphraseStrength) and taken only when it is hard enough
// to guess and both boxes hold it; Show reveals the text.
class PassphraseDialog : public QDialog {
    Q_OBJECT

public:
    // `why`, where given, opens the prompt: what the passphrase is needed for.
    PassphraseDialog(PassphrasePrompt::Purpose purpose, bool wrongBefore, QWidget* owner, const QString& why = {});

    QString passphrase() const;

private:
    void updateOk();

    void showText(bool shown);

    PassphrasePrompt::Purpose m_purpose;
    QLabel* lblPrompt = nullptr;
    QLineEdit* txtPassphrase = nullptr;
    QLineEdit* txtAgain = nullptr;
    QPushButton* cmdShow = nullptr;
    // A new passphrase: why it is refused, and whether the two boxes differ.
    QLabel* lblStrength = nullptr;
    QLabel* lblMatch = nullptr;
    QPushButton* cmdOK = nullptr;
};
