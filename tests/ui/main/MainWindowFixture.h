#pragma once

#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeHelpViewer.h"
#include "fakes/FakeLoadedWindows.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrintDestination.h"
#include "fakes/FakeSettingsStore.h"
#include "fakes/RecordingPrintSurface.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFocusedControl.h"
#include "platform/qt/QtPrintSurface.h"
#include "ui/main/MainWindowServices.h"
#include "ui/main/frmMain.h"

#include <QLineEdit>
#include <QStringList>
#include <memory>
#include <vector>

// Hands the window a surface that the fixture keeps, so that a test can read
// what was printed after the window has dropped its printer.
class BorrowedPrintSurface : public PrintSurface {
public:
    explicit BorrowedPrintSurface(PrintSurface& target) : m_target(target) {}
    void setFontName(const QString& family) override { m_target.setFontName(family); }
    void setFontSize(double points) override { m_target.setFontSize(points); }
    void setFontBold(bool bold) override { m_target.setFontBold(bold); }
    double averageCharWidth() override { return m_target.averageCharWidth(); }
    double lineHeight() override { return m_target.lineHeight(); }
    double textWidth(const QString& text) override { return m_target.textWidth(text); }
    double ascent() override { return m_target.ascent(); }
    double printableWidth() override { return m_target.printableWidth(); }
    double unitsPerInch() override { return m_target.unitsPerInch(); }
    double sheetWidth() override { return m_target.sheetWidth(); }
    QPointF printableOrigin() override { return m_target.printableOrigin(); }
    void drawText(double x, double y, const QString& text) override { m_target.drawText(x, y, text); }
    void drawLine(double x1, double y1, double x2, double y2) override { m_target.drawLine(x1, y1, x2, y2); }
    void endDoc() override { m_target.endDoc(); }

private:
    PrintSurface& m_target;
};

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
    for (int k = 1; k <= 14; ++k)
        window.Text(k)->setText(sample.at(k - 1));
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
    QStringList opened; // "about", "browser <address>" and "register", in order
    int endProgramCalls = 0;
    std::vector<std::unique_ptr<RecordingPrintSurface>> printed; // one per Quick Print run
    int failPrintAtStep = -1;
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
        s.endProgram = [this] { ++endProgramCalls; };
        s.openPrinter = [this] {
            printed.push_back(std::make_unique<RecordingPrintSurface>());
            printed.back()->failAtStep = failPrintAtStep;
            return std::unique_ptr<PrintSurface>(std::make_unique<BorrowedPrintSurface>(*printed.back()));
        };
        s.openSurface = [](std::unique_ptr<PrintDestination> destination) {
            return std::unique_ptr<PrintSurface>(std::make_unique<QtPrintSurface>(std::move(destination)));
        };
        s.pageLayout = [] { return FakePrintDestination().pageLayout(); };
        s.now = [this] { return clock; };
        return s;
    }

    std::unique_ptr<frmMain> makeWindow() { return std::make_unique<frmMain>(services()); }
};
