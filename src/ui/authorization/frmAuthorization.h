#pragma once

#include "document/AuthorizationRecord.h"

#include <QDialog>

class FileDialogs;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class SettingsStore;

// "Authorization --Quillo": the customer's authorization of the draft, as
// Edit, Authorization edits it and as Quick Print offers it for a draft
// without one, with "Print Without Record" beside "OK". A sale by a sales
// call, or by phone in answer to advertising, shows the federal rule that
// forbids such drafts in telemarketing sales to consumers. The merchant can
// turn the offer off here.
class frmAuthorization : public QDialog {
    Q_OBJECT

public:
    enum class Use {
        Edit,  // Edit, Authorization: OK and Cancel
        Offer, // before Quick Print: OK, Print Without Record and Cancel
    };
    // exec()'s result for "Print Without Record".
    static constexpr int WithoutRecord = 2;

    // `isNew`: a record filled from the draft, whose two choices the merchant
    // has not made yet; OK waits for them.
    frmAuthorization(const AuthorizationRecord& record, bool isNew, bool offered, Use use, FileDialogs& dialogs,
                     QWidget* owner);

    // The record as the dialog shows it; another authorization (a new id)
    // once anything differs from the record it was given.
    AuthorizationRecord record() const;
    // Whether the offer before Quick Print stays on.
    bool offered() const;

    // The offer's setting, on unless the merchant turned it off.
    static bool offeredIn(const SettingsStore& settings, const QString& application);
    static void saveOffered(SettingsStore& settings, const QString& application, bool offered);

    // Handlers.
    void cboSale_Click();
    void cmdProof_Click();
    void cmdWithout_Click();

private:
    void updateOk();

    AuthorizationRecord m_given;
    FileDialogs& m_dialogs;
    QString m_proofPath;
    QByteArray m_proofSha256;
    QLineEdit* txtAuthorizedBy = nullptr;
    QLineEdit* txtPhone = nullptr;
    QDateTimeEdit* dtpAuthorizedAt = nullptr;
    QComboBox* cboGiven = nullptr;
    QComboBox* cboSale = nullptr;
    QLabel* lblTelemarketing = nullptr;
    QLineEdit* txtAmount = nullptr;
    QLineEdit* txtPayee = nullptr;
    QSpinBox* spnDrafts = nullptr;
    QLineEdit* txtProof = nullptr;
    QPushButton* cmdProof = nullptr;
    QLabel* lblProofHash = nullptr;
    QCheckBox* chkOffer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdWithout = nullptr;
    QPushButton* cmdCancel = nullptr;
};
