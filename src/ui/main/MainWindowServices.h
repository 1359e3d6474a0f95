#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

class ApplicationFacts;
class DraftAuthorizations;
class DraftJournal;
class Clipboard;
class FailureReporter;
class FileDialogs;
class FocusedControl;
class HelpViewer;
class LoadedWindows;
class MessageBoxService;
class PrinterFinder;
class QWidget;
class SettingsStore;
struct RegisterLocation;

// What the cheque-entry window needs of the rest of the program. The program
// fills it with the real services; tests fill it with fakes.
struct MainWindowServices {
    const ApplicationFacts* facts = nullptr;
    MessageBoxService* messages = nullptr;
    // Reports the failures of handlers without handling of their own.
    FailureReporter* failures = nullptr;
    // The open and save dialogs behind cDlg.
    FileDialogs* fileDialogs = nullptr;
    // The help viewer behind cDlg.ShowHelp.
    HelpViewer* helpViewer = nullptr;
    Clipboard* clipboard = nullptr;
    FocusedControl* focusedControl = nullptr;
    SettingsStore* settings = nullptr;
    // The program's loaded windows; the main window is the oldest.
    LoadedWindows* windows = nullptr;
    // Finds the default printer for each command that prints or lays out a page.
    PrinterFinder* printers = nullptr;
    // Keeps account of every draft that is printed or exported; none: no account is kept.
    DraftJournal* journal = nullptr;
    // What the register knows of the authorizations of drafts, for Edit,
    // Authorization and the confirmation letter; none: no register is kept.
    DraftAuthorizations* authorizations = nullptr;
    // Shows the About box modal over `owner`; returns when it has closed.
    std::function<void(QWidget* owner)> showAboutBox;
    // The product's home page, where View, Web Browser opens.
    QString homePageAddress;
    // Opens a new, independent browser window at `startingAddress`.
    std::function<void(const QString& startingAddress)> openBrowserWindow;
    // Opens the register window, or brings it to the front when it is open.
    std::function<void(QWidget* owner)> openRegisterWindow;
    // The register is kept at the place chosen from now on (its file's path
    // is the program's to fill in); `password`, where one was typed, is the
    // server's.
    std::function<void(const RegisterLocation& chosen, const QString& password)> moveRegister;
    // Copies this computer's register to the office server, asking for the office passphrase that opens it there.
    std::function<void()> copyRegisterToServer;
    // Wraps the office register's key by a new office passphrase, asking for the old and the new.
    std::function<void()> changeOfficePassphrase;
    // Ends the program at once, without unloading any window.
    std::function<void()> endProgram;
    // The time the status bar shows.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};
