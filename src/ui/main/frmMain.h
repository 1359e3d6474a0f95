#pragma once

#include "document/AuthorizedDraft.h"
#include "document/CheckForm.h"
#include "document/CheckRecord.h"
#include "document/FileCommands.h"
#include "platform/CommonDialog.h"
#include "print/PdfExport.h"
#include "print/Printing.h"
#include "print/QuickPrint.h"
#include "ui/main/EditCommands.h"
#include "ui/main/LetterCommand.h"
#include "ui/main/MainWindowServices.h"

#include <QMainWindow>
#include <cstdint>
#include <memory>
#include <optional>

class ImageList;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class StatusClock;
class UserInputHold;

// The cheque-entry window: the face of a cheque with fourteen text boxes,
// framed by menus, a toolbar, the Quick Print button and a status bar.
class frmMain : public QMainWindow, private CheckForm {
    Q_OBJECT

public:
    explicit frmMain(MainWindowServices services, QWidget* parent = nullptr);
    ~frmMain() override;

    // Loads the window without showing it: runs Form_Load.
    void Load();

    // The window's common dialog: the current file and the dialogs' settings.
    CommonDialog cDlg;

    // Handlers.
    void Form_Load();
    void Form_Unload(std::int16_t& Cancel);
    void Command1_Click();
    void tbToolBar_ButtonClick(QAction* Button);
    void mFile_Click(std::int16_t Index);
    void mnuFilePreview_Click();
    void mnuFileExportPdf_Click();
    void mnuFileConfirmationLetter_Click();
    void mnuFilePageSetup_Click();
    void mnuFileMerchantDetails_Click();
    void mnuFileRegisterLocation_Click();
    void mnuFileCopyRegister_Click();
    void mnuFileOfficePassphrase_Click();
    void mExit_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditAmountWords_Click();
    void mnuEditAuthorization_Click();
    void mnuViewWebBrowser_Click();
    void mnuViewRegister_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();

    // A draft from the register, as a new cheque; printed again at once for
    // Print Again, with the duplicate question first.
    void openDraft(const CheckTexts& texts);
    void printDraftAgain(const CheckTexts& texts);

    // The fourteen cheque values as the text boxes hold them now.
    CheckTexts checkTexts() const;
    // The captions that the printed cheque carries, as the labels hold them now.
    PrintedCaptions printedCaptions() const;

    // Text1 to Text14.
    QLineEdit* Text(Box box) const;

Q_SIGNALS:
    // The window has been unloaded; the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // CheckForm: what the File commands see of the window.
    CheckTexts texts() const override;
    void setText(Box box, const QString& text) override;
    void setCaption(const QString& caption) override;
    void focusFirstBox() override;
    void markOpened(const PerBox<QString>& reasons) override;

    // The page setup kept in the settings now, read once and kept up to date
    // by Page Setup.
    const PageSetup& pageSetup() const;
    // The draft the window holds now, as a print command of `kind` sends it.
    SentDraft sentDraft(SentDraft::Kind kind) const;
    void printAlignmentPage(const PageSetup& setup);
    // While a command waits for the print service, the cheque takes no input.
    void holdInputWhileBusy(bool busy);
    // Carries out a close that came while a page was on its way.
    void closeIfAsked();
    void buildClientArea();
    void buildChequeFace();
    void buildToolbar();
    void buildStatusBar();
    void buildMenus();
    void centreOnScreen();
    // Marks the boxes that look wrong, and clears the marks of the others.
    void runDraftChecks();
    QLabel* label(const char* name) const;

    MainWindowServices m_services;
    FileCommands m_fileCommands;
    EditCommands m_editCommands;
    Printing m_printing;
    PdfExport m_pdfExport;
    LetterCommand m_letter;
    std::unique_ptr<UserInputHold> m_inputHold;
    bool m_closeRequested = false;
    mutable std::optional<PageSetup> m_pageSetup;
    // The customer's authorization as the merchant filled it in for the
    // cheque the window holds; until then the register's, if any, applies.
    std::optional<AuthorizationRecord> m_authorization;
    // The marks Open left, each kept while its box holds the text it was
    // opened with.
    struct OpenedMark {
        QString text;
        QString reason;
    };
    PerBox<std::optional<OpenedMark>> m_openedMarks;
    // The draft that record was filled in for; typed over with another
    // customer's, the record no longer applies.
    AuthorizedDraft m_authorizedDraft;
    QWidget* m_client = nullptr;
    QToolBar* tbToolBar = nullptr;
    QGroupBox* Frame1 = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    ImageList* imlToolbarIcons = nullptr;
    QPushButton* Command1 = nullptr;
    PerBox<QLineEdit*> m_textBoxes;
    StatusClock* m_clock = nullptr;
};
