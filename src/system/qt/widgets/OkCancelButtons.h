#pragma once

class QDialog;
class QDialogButtonBox;
class QPushButton;

// A dialog's OK and Cancel buttons, named cmdOK and cmdCancel as the dialogs
// of the designed windows are, OK accepting the dialog and Cancel rejecting it.
struct OkCancelButtons {
    QDialogButtonBox* box;
    QPushButton* ok;
    QPushButton* cancel;

    static OkCancelButtons addTo(QDialog& dialog);
};
