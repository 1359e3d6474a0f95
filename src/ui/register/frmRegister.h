#pragma once

#include "register/DraftSummary.h"
#include "ui/register/RegisterWindowServices.h"

#include <QWidget>

class DraftListModel;
class DraftRegister;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableView;
class QTimer;

// "Register --Quillo": every draft the register holds, newest first, with a
// search, a date range and the commands that append to a draft's history.
class frmRegister : public QWidget {
    Q_OBJECT

public:
    explicit frmRegister(RegisterWindowServices services, QWidget* parent = nullptr);
    ~frmRegister() override;

    // Opens the register (asking for its passphrase where needed) and shows
    // its drafts; false, the reason told, when it cannot be opened.
    bool Form_Load();

    // Handlers.
    void txtSearch_Change();
    void dtpRange_Change();
    void cboRange_Click();
    void cboSortBy_Click();
    void cmdOpen_Click();
    void cmdPrintAgain_Click();
    void cmdVoid_Click();
    void cmdDeposited_Click();
    void cmdPaid_Click();
    void cmdReturned_Click();
    void cmdRepresented_Click();
    void cmdWithdraw_Click();
    void cmdNote_Click();
    void cmdSaveProof_Click();
    void cmdClaimPackage_Click();
    void cmdExportCsv_Click();
    void cmdRemoveOld_Click();

    // A draft's status changed elsewhere (a later look-up of its print job).
    void showStatus(DraftId draft, DraftStatus status);

Q_SIGNALS:
    // Open as Draft: the cheque window takes the draft's values, as File, Open does.
    void openAsDraft(const DraftDetails& draft);
    // Print Again: Quick Print of the draft's values, duplicate question first.
    void printAgain(const DraftDetails& draft);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void connectCommands();
    // The selected draft; nothing when no row is selected.
    std::optional<DraftSummary> selected() const;
    void showSelection();
    void append(const DraftSummary& draft, const DraftEvent& event);
    // Asks for the day and details of a change of the selected draft's status, and makes it.
    void askAndChange(DraftEventKind kind, const QString& question);
    void showCommandsFor(const std::optional<DraftSummary>& draft);
    // A draft recorded or changed by this program since the list came up,
    // taken into the list; the selected draft stays selected.
    void takeDraft(DraftId draft);
    QDate today() const;
    QString described(const DraftSummary& draft) const;
    // Says which draft has a sealed value that does not open.
    QString damagedText(const DraftSummary& draft) const;
    // A draft to open or print again; a draft with a damaged value is refused.
    DraftDetails undamagedDetails(const DraftSummary& draft) const;
    QString countText() const;

    RegisterWindowServices m_services;
    DraftRegister* m_register = nullptr;
    DraftListModel* m_model = nullptr;
    QTimer* m_opener = nullptr;
    QLineEdit* txtSearch = nullptr;
    QComboBox* cboRange = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QComboBox* cboSortBy = nullptr;
    QCheckBox* chkDescending = nullptr;
    QTableView* tblDrafts = nullptr;
    QListWidget* lstHistory = nullptr;
    QLabel* lblAuthorization = nullptr;
    QLabel* lblCount = nullptr;
    QPushButton* cmdOpen = nullptr;
    QPushButton* cmdPrintAgain = nullptr;
    QPushButton* cmdVoid = nullptr;
    QPushButton* cmdDeposited = nullptr;
    QPushButton* cmdPaid = nullptr;
    QPushButton* cmdReturned = nullptr;
    QPushButton* cmdRepresented = nullptr;
    QPushButton* cmdWithdraw = nullptr;
    QPushButton* cmdNote = nullptr;
    QPushButton* cmdSaveProof = nullptr;
    QPushButton* cmdClaimPackage = nullptr;
    QPushButton* cmdExportCsv = nullptr;
    QCheckBox* chkFullNumbers = nullptr;
    QPushButton* cmdRemoveOld = nullptr;
    QPushButton* cmdClose = nullptr;
};
