#include "app/AppServices.h"

#include "platform/WhenFinished.h"

#include "ui/about/AboutServices.h"
#include "ui/about/frmAbout.h"
#include "ui/browser/BrowserServices.h"
#include "ui/browser/HomePageAddress.h"
#include "ui/browser/frmBrowser.h"
#include "ui/main/frmMain.h"
#include "ui/register/frmRegister.h"

#include "register/OfficePassphraseChange.h"
#include "register/RegisterCopyToServer.h"

#include <QCoreApplication>

AppServices::AppServices(KeyringKeys* keyring) : m_keyring(keyring ? keyring : &m_desktopKeyring) {}

MainWindowServices AppServices::mainWindowServices()
{
    MainWindowServices services;
    services.facts = &m_facts;
    services.messages = &m_messages;
    services.failures = &m_failures;
    services.fileDialogs = &m_fileDialogs;
    services.helpViewer = &m_helpViewer;
    services.clipboard = &m_clipboard;
    services.focusedControl = &m_focusedControl;
    services.settings = &m_settings;
    services.windows = &m_windows;
    services.printers = &m_printers;
    services.journal = &m_journal;
    services.authorizations = &m_authorizations;
    services.showAboutBox = [this](QWidget* owner) {
        AboutServices about = AboutServices::forPlatform(m_facts, m_messages, m_systemInfo, &m_windows);
        frmAbout::showModal(owner, about);
    };
    services.homePageAddress = HomePageAddress;
    services.openBrowserWindow = [this](const QString& startingAddress) {
        openBrowserWindow(startingAddress, BrowserServices{&m_browserControls, &m_windows, &m_failures});
    };
    services.openRegisterWindow = [this](QWidget* owner) { openRegisterWindow(qobject_cast<frmMain*>(owner)); };
    services.moveRegister = [this](const RegisterLocation& chosen, const QString& password) {
        moveRegister(chosen, password);
    };
    services.copyRegisterToServer = [this] {
        RegisterCopyToServer::run(m_register, m_copyPassphrase, m_officePassphrase, m_messages);
    };
    services.changeOfficePassphrase = [this] {
        OfficePassphraseChange::run(m_register, m_officePassphrase, m_messages);
    };
    // Leaves the event loop at once: no window's unload step runs.
    services.endProgram = [] { QCoreApplication::exit(0); };
    return services;
}

void AppServices::startRegister()
{
    // Opened now only where that asks nothing (an unlocked keyring, or the
    // passphrase variable), and then prints left uncertain last time are
    // looked up. Otherwise the first print, export or Register window asks
    // for what the register needs; one that cannot be opened is said then,
    // with the question whether to print the draft unrecorded.
    m_register.openInBackground([this](bool opened) {
        m_registerStartFinished = true;
        if (opened)
            m_settler.settle();
    });
}

void AppServices::moveRegister(RegisterLocation chosen, const QString& password)
{
    chosen.path = RegisterSession::defaultPath();
    // The window shows the register that was open; the next use opens the new place.
    if (chosen != m_register.location() && m_registerWindow)
        m_registerWindow->close();
    m_register.setLocation(chosen);
    m_register.keepServerPassword(password);
}

void AppServices::openRegisterWindow(QPointer<frmMain> cheques)
{
    QFuture<void> ready = m_register.openLater();
    if (ready.isFinished()) {
        showRegisterWindow(cheques);
        return;
    }
    whenFinished(ready, &m_windows,
                 [this, cheques] { Failures::reportTo(m_failures, [&] { showRegisterWindow(cheques); }); });
}

void AppServices::showRegisterWindow(frmMain* cheques)
{
    m_settler.settle();
    if (m_registerWindow) {
        m_registerWindow->raise();
        m_registerWindow->activateWindow();
        return;
    }
    RegisterWindowServices services;
    services.session = &m_register;
    services.passphrase = &m_windowPassphrase;
    services.messages = &m_messages;
    services.questions = &m_questions;
    services.texts = &m_textPrompt;
    services.statusChanges = &m_statusChanges;
    services.fileDialogs = &m_fileDialogs;
    services.failures = &m_failures;
    services.exportFolder = fileDialogFolder(m_facts);
    services.folders = &m_folderFiles;
    auto* window = new frmRegister(services);
    if (!window->Form_Load()) {
        delete window;
        return;
    }
    if (cheques) {
        QObject::connect(window, &frmRegister::openAsDraft, cheques,
                         [cheques](const DraftDetails& draft) { cheques->openDraft(draft.record.texts); });
        QObject::connect(window, &frmRegister::printAgain, cheques,
                         [cheques](const DraftDetails& draft) { cheques->printDraftAgain(draft.record.texts); });
    }
    QObject::connect(&m_settler, &UncertainSettler::lookedUp, window, [window](qint64 draft, bool printed) {
        window->showStatus(draft, printed ? DraftStatus::Printed : DraftStatus::NotPrinted);
    });
    m_windows.add(window);
    m_registerWindow = window;
    window->show();
}
