#pragma once

#include "platform/DefaultPrinter.h"
#include "platform/FailureHandling.h"
#include "platform/SystemPrintJobStates.h"
#include "platform/browser/WebEngineControlFactory.h"
#include "platform/qt/QtApplicationFacts.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFileDialogs.h"
#include "platform/qt/QtFocusedControl.h"
#include "platform/qt/QtHelpViewer.h"
#include "platform/qt/QtMessageBoxService.h"
#include "platform/qt/QtQuestionBox.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTextPrompt.h"
#include "platform/qt/SystemInfoPlatform.h"
#include "platform/qt/WindowList.h"
#include "register/KeychainKeyring.h"
#include "register/RegisterAuthorizations.h"
#include "register/RegisterJournal.h"
#include "register/RegisterSession.h"
#include "register/UncertainSettler.h"
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

private:
    QtApplicationFacts m_facts;
    QtMessageBoxService m_messages{m_facts};
    MessageBoxFailureReporter m_failures{m_messages};
    QtFileDialogs m_fileDialogs;
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
    DialogPassphrasePrompt m_passphrase;
    RegisterSession m_register{RegisterSession::defaultPath(), m_keyring};
    DialogAuthorizationOffer m_authorizationOffer{m_settings, m_facts.title(), m_fileDialogs};
    RegisterJournal m_journal{
        [this]() -> DraftRecorder& { return m_register.open(&m_passphrase); },
        [this]() -> DraftRecorder* { return m_register.isOpen() ? &m_register.open(nullptr) : nullptr; }, m_questions,
        m_authorizationOffer};
    RegisterAuthorizations m_authorizations{[this]() -> DraftRegister& { return m_register.open(&m_passphrase); }};
    SystemPrintJobStates m_jobStates;
    UncertainSettler m_settler{[this]() -> UncertainPrints& { return m_register.open(&m_passphrase); }, m_jobStates};
    QPointer<frmRegister> m_registerWindow;

    void openRegisterWindow(frmMain* cheques);
};
