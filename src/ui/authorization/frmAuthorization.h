#pragma once

#include "document/AuthorizationRecord.h"
#include "register/ProofFileCheck.h"

#include <QDialog>
#include <QFutureWatcher>

class FileDialogs;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QuestionBox;
class QSpinBox;
class SettingsStore;

// "Authorization --Quillo": the customer's authorization of the draft, as
// Edit, Authorization edits it and as Quick Print offers it for a draft
// without one, with "Print Without Record" beside "Record and Print". A sale
// by a sales call, or by phone in answer to advertising, shows the federal
// rule that forbids such drafts in telemarketing sales to consumers, and the
// offer asks about it before it closes: No leaves every entry as it was. A
// proof file is read on a worker thread and refused, with its reason, when
// it is no file, too large, unreadable or changed. The merchant can turn the
// offer off here.
class frmAuthorization : public QDialog {
    Q_OBJECT

public:
    enum class Use {
        Edit,              // Edit, Authorization: OK and Cancel
        OfferBeforePrint,  // before a print: Record and Print, Print Without Record and Cancel
        OfferBeforeExport, // before Export as PDF: Record and Export, Print Without Record and Cancel
    };
    // exec()'s result for "Print Without Record".
    static constexpr int WithoutRecord = 2;

    // `isNew`: a record filled from the draft, whose two choices the merchant
    // has not made yet; OK waits for them. An offer asks `questions` about a
    // telemarketing sale before it closes.
    frmAuthorization(const AuthorizationRecord& record, bool isNew, bool offered, Use use, FileDialogs& dialogs,
                     QWidget* owner, QuestionBox* questions = nullptr);

    // The record as the dialog shows it; another authorization (a new id)
    // once anything differs from the record it was given.
    AuthorizationRecord record() const;
    // Whether the offer before Quick Print stays on.
    bool offered() const;
    // Drops the proof file the record was given with, showing `problem`: the
    // merchant chooses it again, or another.
    void refuseProof(const QString& problem);
    // Whether the merchant said Yes to the telemarketing question here.
    bool telemarketingAnswered() const { return m_telemarketingAnswered; }

    // The offer's setting, on unless the merchant turned it off.
    static bool offeredIn(const SettingsStore& settings, const QString& application);
    static void saveOffered(SettingsStore& settings, const QString& application, bool offered);

    // Handlers.
    void cboSale_Click();
    void cmdProof_Click();
    void cmdWithout_Click();
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateOk();
    // Whether the dialog may close: an offer for a telemarketing sale asks first.
    bool saleAllowed();
    bool isTelemarketingShown() const;
    // The proof file read on the worker thread has been read, or refused.
    void proofRead(const QString& path);

    AuthorizationRecord m_given;
    Use m_use;
    FileDialogs& m_dialogs;
    QuestionBox* m_questions;
    bool m_telemarketingAnswered = false;
    QFutureWatcher<ProofFileCheck::Result> m_proofReading;
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
    QProgressBar* prgProof = nullptr;
    QLabel* lblWhy = nullptr;
    QCheckBox* chkOffer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdWithout = nullptr;
    QPushButton* cmdCancel = nullptr;
};
