#pragma once

#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeHelpViewer.h"
#include "fakes/FakeLoadedWindows.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/FakeSettingsStore.h"
#include "register/RegisterLocation.h"
#include "system/qt/QtClipboard.h"
#include "system/qt/QtFocusedControl.h"
#include "ui/main/MainWindowServices.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QStringList>
#include <memory>

// A typical cheque, Text1 to Text14, for pictures of the window.
inline void typeSampleCheque(frmMain& window)
{
    const QStringList sample = {"Jane Q. Merchant",
                                "12 Elm Street",
                                "Springfield, IL 62701",
                                "First Prairie Bank",
                                "Springfield, IL",
                                "1042",
                                "Acme Supply Co.",
                                "One hundred and 00/100",
                                "$100.00",
                                "12/07/2026",
                                "A021000021A",
                                "1234567890C",
                                "1042",
                                "Invoice 77"};
    for (Box box : AllBoxes)
        window.Text(box)->setText(sample.at(numberOf(box) - 1));
}

// A cheque-entry window's services, all fakes.
struct MainWindowFixture {
    FakeApplicationFacts facts;
    FakeMessageBox messages;
    FakeFailureReporter failures;
    FakeFileDialogs dialogs;
    FakeHelpViewer help;
    QtClipboard clipboard; // the offscreen platform's clipboard, in process
    QtFocusedControl focusedControl;
    FakeSettingsStore settings;
    FakeLoadedWindows windows;
    QStringList opened; // "about", "browser <address>", "register", "copy register" and "office passphrase", in order
    int endProgramCalls = 0;
    // Each move of the register: "<file or server> host:port/database user password".
    QStringList movedTo;
    // The print service: its default printer keeps every page it is sent.
    FakePrinterFinder printers;
    QDateTime clock = QDateTime(QDate(2026, 12, 7), QTime(9, 41, 30));

    MainWindowServices services()
    {
        MainWindowServices s;
        s.facts = &facts;
        s.messages = &messages;
        s.failures = &failures;
        s.fileDialogs = &dialogs;
        s.helpViewer = &help;
        s.clipboard = &clipboard;
        s.focusedControl = &focusedControl;
        s.settings = &settings;
        s.windows = &windows;
        s.homePageAddress = QStringLiteral("qrc:/home/index.html");
        s.showAboutBox = [this](QWidget*) { opened.append(QStringLiteral("about")); };
        s.openBrowserWindow = [this](const QString& address) { opened.append(QStringLiteral("browser ") + address); };
        s.openRegisterWindow = [this](QWidget*) { opened.append(QStringLiteral("register")); };
        s.copyRegisterToServer = [this] { opened.append(QStringLiteral("copy register")); };
        s.changeOfficePassphrase = [this] { opened.append(QStringLiteral("office passphrase")); };
        s.endProgram = [this] { ++endProgramCalls; };
        s.moveRegister = [this](const RegisterLocation& chosen, const QString& password) {
            movedTo.append(QStringLiteral("%1 %2:%3/%4 %5 %6")
                               .arg(chosen.isServer() ? QStringLiteral("server") : QStringLiteral("file"), chosen.host)
                               .arg(chosen.port)
                               .arg(chosen.database, chosen.user, password));
        };
        s.printers = &printers;
        s.now = [this] { return clock; };
        return s;
    }

    std::unique_ptr<frmMain> makeWindow() { return std::make_unique<frmMain>(services()); }
};
