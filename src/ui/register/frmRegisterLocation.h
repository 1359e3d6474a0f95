#pragma once

#include "register/RegisterLocation.h"

#include <QDialog>

class FileDialogs;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// File, Register Location: where the draft register is kept, this
// computer's file or a database on the office server, with the server's
// connection. A server away from this computer is reached only over TLS
// with its certificate verified, and the dialog says so as the host is typed.
class frmRegisterLocation : public QDialog {
    Q_OBJECT

public:
    frmRegisterLocation(const RegisterLocation& current, FileDialogs& fileDialogs, QWidget* owner = nullptr);

    // The place chosen; the server's fields are kept even when this
    // computer is chosen.
    RegisterLocation location() const;
    // The server's password as typed; empty when none was.
    QString password() const;

private:
    void update();
    void chooseCaFile();

    RegisterLocation m_current;
    FileDialogs& m_fileDialogs;
    QRadioButton* optThisComputer = nullptr;
    QRadioButton* optOfficeServer = nullptr;
    QLineEdit* txtHost = nullptr;
    QSpinBox* txtPort = nullptr;
    QLineEdit* txtDatabase = nullptr;
    QLineEdit* txtUser = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtCaFile = nullptr;
    QPushButton* cmdBrowse = nullptr;
    QLabel* lblTls = nullptr;
    QPushButton* cmdSave = nullptr;
};
