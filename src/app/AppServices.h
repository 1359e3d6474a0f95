#pragma once

#include "platform/FailureHandling.h"
#include "register/RegisterAuthorizations.h"
#include "register/RegisterJournal.h"
#include "register/RegisterLocationSettings.h"
#include "register/RegisterSession.h"
#include "register/UncertainSettler.h"
#include "system/SystemPrintJobStates.h"
#include "system/SystemPrinterFinder.h"
#include "system/browser/WebEngineControlFactory.h"
#include "system/keyring/KeychainKeyring.h"
#include "system/qt/QtApplicationFacts.h"
#include "system/qt/QtClipboard.h"
#include "system/qt/QtFileDialogs.h"
#include "system/qt/QtFocusedControl.h"
#include "system/qt/QtFolderFiles.h"
#include "system/qt/QtHelpViewer.h"
#include "system/qt/QtMessageBoxService.h"
#include "system/qt/QtQuestionBox.h"
#include "system/qt/QtSettingsStore.h"
#include "system/qt/QtTextPrompt.h"
#include "system/qt/SystemInfoPlatform.h"
#include "system/qt/WindowList.h"
#include "ui/authorization/DialogAuthorizationOffer.h"
#include "ui/main/MainWindowServices.h"
#include "ui/register/DialogPassphrasePrompt.h"
#include "ui/register/DialogStatusChangePrompt.h"

#include <QPointer>

class frmMain;
class frmRegister;

// The real services of the running program, created once before Main and
// alive until the program ends.
class AppServices {
public:
    // `keyring` stands in for the desktop's keyring where it is given.
    explicit AppServices(KeyringKeys* keyring = nullptr);

    WindowList& windows() { return m_windows; }
    const ApplicationFacts& facts() const { return m_facts; }
    MessageBoxService& messages() { return m_messages; }
    MainWindowServices mainWindowServices();
    // The program's draft register, opened on first use.
    RegisterSession& draftRegister() { return m_register; }
    // Opens the register once the windows are up and settles what it holds uncertain.
    void startRegister();
    // Whether that opening has finished, the register open or left for its first use.
    bool registerStartFinished() const { return m_registerStartFinished; }

private:
    QtApplicationFacts m_facts;
    QtMessageBoxService m_messages{m_facts};
    MessageBoxFailureReporter m_failures{m_messages};
    QtFileDialogs m_fileDialogs;
    QtFolderFiles m_folderFiles;
    QtHelpViewer m_helpViewer{m_facts.executableFolder()};
    QtClipboard m_clipboard;
    QtFocusedControl m_focusedControl;
    QtSettingsStore m_settings;
    WindowList m_windows;
    SystemInfoPlatform m_systemInfo;
    SystemPrinterFinder m_printers;
    // Loads the web engine with the first browser window, not at start-up.
    WebEngineControlFactory m_browserControls;
    QtQuestionBox m_questions{m_facts};
    QtTextPrompt m_textPrompt{m_facts};
    DialogStatusChangePrompt m_statusChanges;
    KeychainKeyring m_desktopKeyring{m_facts.title()};
    KeyringKeys* m_keyring;
    // The passphrase is asked where the register is first needed, saying why.
    DialogPassphrasePrompt m_draftPassphrase{
        QStringLiteral("To record this draft, Quillo needs the register's passphrase.")};
    DialogPassphrasePrompt m_exportPassphrase{
        QStringLiteral("To record this export, Quillo needs the register's passphrase.")};
    DialogPassphrasePrompt m_windowPassphrase{
        QStringLiteral("To show the Register window, Quillo needs the register's passphrase.")};
    DialogPassphrasePrompt m_authorizationPassphrase{
        QStringLiteral("To find or keep the customer's authorization, Quillo needs the register's passphrase.")};
    DialogPassphrasePrompt m_copyPassphrase{
        QStringLiteral("To copy this computer's register to the office server, Quillo needs its passphrase.")};
    DialogPassphrasePrompt m_serverPassword;
    DialogPassphrasePrompt m_officePassphrase;
    // Kept where the settings say: this computer's file, or the office
    // server. The keyring is asked off the window's thread only.
    RegisterSession m_register{
        RegisterLocationSettings::load(m_settings, m_facts.title(), RegisterSession::defaultPath()),
        m_keyring,
        &RegisterSession::openStore,
        &m_serverPassword,
        &QDateTime::currentDateTimeUtc,
        RegisterSession::KeyringThreads::OffCallingThread};
    DialogAuthorizationOffer m_authorizationOffer{m_settings, m_facts.title(), m_fileDialogs, m_questions};
    RegisterJournal m_journal{
        [this](SentDraft::Kind kind) -> DraftRecorder& {
            return m_register.open(kind == SentDraft::Kind::PdfFile ? &m_exportPassphrase : &m_draftPassphrase);
        },
        [this]() -> DraftRecorder* { return m_register.isOpen() ? &m_register.open(nullptr) : nullptr; },
        m_questions,
        m_authorizationOffer,
        &QDateTime::currentDateTimeUtc,
        [this] { return m_register.openLater(); }};
    RegisterAuthorizations m_authorizations{
        [this]() -> DraftRegister& { return m_register.open(&m_authorizationPassphrase); }};
    SystemPrintJobStates m_jobStates;
    UncertainSettler m_settler{[this]() -> UncertainPrints& { return m_register.open(&m_windowPassphrase); },
                               m_jobStates};
    QPointer<frmRegister> m_registerWindow;
    bool m_registerStartFinished = false;

    // Once the register's key is had, off the window's thread.
    void openRegisterWindow(QPointer<frmMain> cheques);
    void showRegisterWindow(frmMain* cheques);
    void moveRegister(RegisterLocation chosen, const QString& password);
};
