#include "app/AppServices.h"

#include "ui/about/AboutServices.h"
#include "ui/about/frmAbout.h"
#include "ui/browser/BrowserServices.h"
#include "ui/browser/HomePageAddress.h"
#include "ui/browser/frmBrowser.h"
#include "ui/register/frmRegister.h"

#include <QCoreApplication>

AppServices::AppServices() = default;

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
    services.showAboutBox = [this](QWidget* owner) {
        AboutServices about = AboutServices::forPlatform(m_facts, m_messages, m_systemInfo, &m_windows);
        frmAbout::showModal(owner, about);
    };
    services.homePageAddress = HomePageAddress;
    services.openBrowserWindow = [this](const QString& startingAddress) {
        openBrowserWindow(startingAddress, BrowserServices{&m_browserControls, &m_windows, &m_failures});
    };
    services.openRegisterWindow = [this](QWidget*) { openRegisterWindow(); };
    // Leaves the event loop at once: no window's unload step runs.
    services.endProgram = [] { QCoreApplication::exit(0); };
    return services;
}

void AppServices::openRegisterWindow()
{
    if (m_registerWindow) {
        m_registerWindow->raise();
        m_registerWindow->activateWindow();
        return;
    }
    RegisterWindowServices services;
    services.session = &m_register;
    services.passphrase = &m_passphrase;
    services.messages = &m_messages;
    services.questions = &m_questions;
    services.texts = &m_textPrompt;
    services.fileDialogs = &m_fileDialogs;
    services.failures = &m_failures;
    services.exportFolder = fileDialogFolder(m_facts);
    auto* window = new frmRegister(services);
    if (!window->Form_Load()) {
        delete window;
        return;
    }
    m_windows.add(window);
    m_registerWindow = window;
    window->show();
}
