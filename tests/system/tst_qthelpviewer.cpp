#include "system/qt/Fonts.h"
#include "system/qt/MicrFont.h"
#include "system/qt/QtHelpViewer.h"
#include "system/qt/widgets/HelpViewerWindow.h"

#include "fakes/TestFiles.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextTable>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

const QString Fixed = QStringLiteral("C:\\Program Files\\Quillo\\Quillo.hlp");
constexpr int ForceFile = 9;

// A two-page help document in `folder`: index.html links to page2.html.
bool writeHelp(const QString& folder, const QString& title)
{
    return QDir().mkpath(folder) &&
           TestFiles::write(folder + QStringLiteral("/index.html"),
                            QStringLiteral("<html><head><title>%1</title></head><body><h1>%1</h1>"
                                           "<p><a href=\"page2.html\">Second page</a></p></body></html>")
                                .arg(title)
                                .toUtf8()) &&
           TestFiles::write(folder + QStringLiteral("/page2.html"),
                            "<html><head><title>Second page</title></head><body><p>More help.</p></body></html>");
}

QTextBrowser* browserOf(const QtHelpViewer& viewer)
{
    return viewer.window() ? viewer.window()->findChild<QTextBrowser*>(QStringLiteral("helpBrowser")) : nullptr;
}

QAction* action(const QtHelpViewer& viewer, const char* name)
{
    return viewer.window()->findChild<QAction*>(QLatin1String(name));
}

QList<HelpViewerWindow*> viewerWindows()
{
    QList<HelpViewerWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<HelpViewerWindow*>(widget))
            windows.append(window);
    }
    return windows;
}

QUrl fileUrl(const QString& path)
{
    return QUrl::fromLocalFile(path);
}

} // namespace

class TestQtHelpViewer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fixedPathOpensQuilloHelp_data();
    void fixedPathOpensQuilloHelp();
    void helpOfThisBuildIsFound();
    void secondCallReusesTheWindowAndKeepsThePage();
    void closedViewerOpensAgainAtTheStart();
    void switchesFromAnotherFileToQuilloHelp();
    void toolbarNavigates();
    void missingDocumentShowsNotFoundPage_data();
    void missingDocumentShowsNotFoundPage();
    void helpInstalledLaterIsFoundOnTheNextCall();
    void deletingTheViewerClosesItsWindow();
    void viewerDoesNotKeepTheProgramRunning();
    void screenReadersReadEveryControl();
    void micrSymbolsShowInQuillosMicrFont();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_exe;
};

void TestQtHelpViewer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_exe = m_dir->filePath(QStringLiteral("prefix/bin"));
    QVERIFY(QDir().mkpath(m_exe));
}

void TestQtHelpViewer::cleanup()
{
    // Every viewer of a test is gone with it.
    QVERIFY(viewerWindows().isEmpty());
}

void TestQtHelpViewer::fixedPathOpensQuilloHelp_data()
{
    QTest::addColumn<QString>("helpFolder"); // relative to the temporary folder
    QTest::newRow("beside the program") << QStringLiteral("prefix/bin/help");
    QTest::newRow("installed data folder") << QStringLiteral("prefix/share/quillo/help");
}

void TestQtHelpViewer::fixedPathOpensQuilloHelp()
{
    QFETCH(QString, helpFolder);
    QVERIFY(writeHelp(m_dir->filePath(helpFolder), QStringLiteral("Test Help")));
    QtHelpViewer viewer(m_exe);
    QCOMPARE(viewer.window(), nullptr);

    QVERIFY_THROWS_NO_EXCEPTION(viewer.showHelp(Fixed, ForceFile));

    QVERIFY(viewer.window());
    QVERIFY(viewer.window()->isVisible());
    QCOMPARE(viewer.window()->windowTitle(), QStringLiteral("Quillo Help"));
    QVERIFY(!viewer.window()->windowIcon().isNull());
    QVERIFY(viewer.window()->width() >= 400 && viewer.window()->height() >= 300);
    QTextBrowser* browser = browserOf(viewer);
    QVERIFY(browser);
    QCOMPARE(browser->source(), fileUrl(m_dir->filePath(helpFolder + QStringLiteral("/index.html"))));
    QCOMPARE(browser->documentTitle(), QStringLiteral("Test Help"));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("Second page")));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestQtHelpViewer::helpOfThisBuildIsFound()
{
    // The help that the build copies beside the program is what the running
    // program shows.
    QtHelpViewer viewer(qEnvironmentVariable("QUILLO_BINARY_DIR"));
    viewer.showHelp(Fixed, ForceFile);
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Quillo Help"));
    QVERIFY(browserOf(viewer)->toPlainText().contains(QStringLiteral("What Quillo is for")));
}

void TestQtHelpViewer::secondCallReusesTheWindowAndKeepsThePage()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(Fixed, ForceFile);
    QPointer<HelpViewerWindow> first = viewer.window();
    browserOf(viewer)->setSource(QUrl(QStringLiteral("page2.html"))); // the user follows the link
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Second page"));
    first->showMinimized();

    viewer.showHelp(Fixed, ForceFile);

    QCOMPARE(viewer.window(), first.data());
    QCOMPARE(viewerWindows().size(), 1);
    QVERIFY(first->isVisible());
    QVERIFY(!first->isMinimized());
    // Already showing this file: the viewer stays where the user was.
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Second page"));
    QVERIFY(action(viewer, "helpBack")->isEnabled());
}

void TestQtHelpViewer::closedViewerOpensAgainAtTheStart()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(Fixed, ForceFile);
    browserOf(viewer)->setSource(QUrl(QStringLiteral("page2.html")));
    QVERIFY(viewer.window()->close());
    QVERIFY(!viewer.window()->isVisible());

    viewer.showHelp(Fixed, ForceFile);

    QVERIFY(viewer.window()->isVisible());
    QCOMPARE(viewerWindows().size(), 1);
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Test Help"));
    QVERIFY(!action(viewer, "helpBack")->isEnabled());
}

void TestQtHelpViewer::switchesFromAnotherFileToQuilloHelp()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    const QString other = m_dir->filePath(QStringLiteral("other.html"));
    QVERIFY(TestFiles::write(other, "<html><head><title>Other Help</title></head><body>Other</body></html>"));
    QtHelpViewer viewer(m_exe);

    viewer.showHelp(other, ForceFile);
    QCOMPARE(browserOf(viewer)->source(), fileUrl(other));
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Other Help"));
    QPointer<HelpViewerWindow> window = viewer.window();

    viewer.showHelp(Fixed, ForceFile);

    QCOMPARE(viewer.window(), window.data());
    QCOMPARE(browserOf(viewer)->source(), fileUrl(m_exe + QStringLiteral("/help/index.html")));
    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Test Help"));
    // A new file starts a new history.
    QVERIFY(!action(viewer, "helpBack")->isEnabled());
    QVERIFY(!action(viewer, "helpForward")->isEnabled());
}

void TestQtHelpViewer::toolbarNavigates()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(Fixed, ForceFile);
    QTextBrowser* browser = browserOf(viewer);
    QAction* back = action(viewer, "helpBack");
    QAction* forward = action(viewer, "helpForward");
    QAction* home = action(viewer, "helpHome");
    QVERIFY(back && forward && home);
    QVERIFY(!back->isEnabled());
    QVERIFY(home->isEnabled());
    QCOMPARE(home->text(), QStringLiteral("Contents"));

    browser->setSource(QUrl(QStringLiteral("page2.html")));
    QVERIFY(back->isEnabled());
    back->trigger();
    QCOMPARE(browser->documentTitle(), QStringLiteral("Test Help"));
    QVERIFY(forward->isEnabled());
    forward->trigger();
    QCOMPARE(browser->documentTitle(), QStringLiteral("Second page"));
    home->trigger();
    QCOMPARE(browser->source(), fileUrl(m_exe + QStringLiteral("/help/index.html")));
}

void TestQtHelpViewer::missingDocumentShowsNotFoundPage_data()
{
    QTest::addColumn<QString>("helpFile"); // "@" stands for the temporary folder
    QTest::addColumn<QStringList>("lookedAt");
    QTest::newRow("Quillo's help") << Fixed
                                   << QStringList{QStringLiteral("@/prefix/bin/help/index.html"),
                                                  QStringLiteral("@/prefix/share/quillo/help/index.html")};
    QTest::newRow("another file") << QStringLiteral("@/gone.hlp") << QStringList{QStringLiteral("@/gone.hlp")};
    QTest::newRow("no name") << QString() << QStringList{};
}

void TestQtHelpViewer::missingDocumentShowsNotFoundPage()
{
    QFETCH(QString, helpFile);
    QFETCH(QStringList, lookedAt);
    helpFile.replace(QLatin1Char('@'), m_dir->path());
    lookedAt.replaceInStrings(QStringLiteral("@"), m_dir->path());
    // The viewer was showing a document before.
    const QString other = m_dir->filePath(QStringLiteral("other.html"));
    QVERIFY(TestFiles::write(other, "<html><head><title>Other Help</title></head><body>Other</body></html>"));
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(other, ForceFile);

    QVERIFY_THROWS_NO_EXCEPTION(viewer.showHelp(helpFile, ForceFile));

    QVERIFY(viewer.window()->isVisible());
    const QString page = browserOf(viewer)->toPlainText();
    QVERIFY2(page.contains(QStringLiteral("The help file could not be found.")), qPrintable(page));
    for (const QString& path : std::as_const(lookedAt))
        QVERIFY2(page.contains(path), qPrintable(path));
    QVERIFY(!page.contains(QStringLiteral("Other")));
    QVERIFY(!action(viewer, "helpBack")->isEnabled());
    QVERIFY(!action(viewer, "helpHome")->isEnabled());
    // Reported inside the viewer only: no message box of the program.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QMessageBox*>(widget));
}

void TestQtHelpViewer::helpInstalledLaterIsFoundOnTheNextCall()
{
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(Fixed, ForceFile);
    QVERIFY(browserOf(viewer)->toPlainText().contains(QStringLiteral("could not be found")));

    QVERIFY(writeHelp(m_dir->filePath(QStringLiteral("prefix/share/quillo/help")), QStringLiteral("Test Help")));
    viewer.showHelp(Fixed, ForceFile);

    QCOMPARE(browserOf(viewer)->documentTitle(), QStringLiteral("Test Help"));
    QVERIFY(action(viewer, "helpHome")->isEnabled());
}

void TestQtHelpViewer::deletingTheViewerClosesItsWindow()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    auto viewer = std::make_unique<QtHelpViewer>(m_exe);
    viewer->showHelp(Fixed, ForceFile);
    QPointer<HelpViewerWindow> window = viewer->window();
    QPointer<QTextBrowser> browser = browserOf(*viewer);
    QVERIFY(window->isVisible());

    viewer.reset();

    QVERIFY(window.isNull());
    QVERIFY(browser.isNull());
    QVERIFY(viewerWindows().isEmpty());
    QCoreApplication::processEvents(); // nothing left queued for the window
}

void TestQtHelpViewer::viewerDoesNotKeepTheProgramRunning()
{
    QVERIFY(writeHelp(m_exe + QStringLiteral("/help"), QStringLiteral("Test Help")));
    const bool quitOnLast = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(true);
    QWidget mainWindow;
    mainWindow.show();
    QtHelpViewer viewer(m_exe);
    viewer.showHelp(Fixed, ForceFile);
    // Should the viewer hold the program, close it after a while so that the
    // test ends, and fails.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, viewer.window(), &QWidget::close);
    watchdog.start(10000);

    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QApplication::exec();

    QGuiApplication::setQuitOnLastWindowClosed(quitOnLast);
    // The program ended as the main window closed, and took the viewer along.
    QVERIFY(watchdog.isActive());
    QVERIFY(!viewer.window()->isVisible());
}

void TestQtHelpViewer::screenReadersReadEveryControl()
{
    HelpViewerWindow window;
    QSet<QString> buttons;
    for (QToolButton* button : window.findChildren<QToolButton*>())
        buttons.insert(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name));
    QCOMPARE(buttons, (QSet<QString>{"Back", "Forward", "Contents", "More buttons"}));
    QCOMPARE(QAccessible::queryAccessibleInterface(window.findChild<QTextBrowser*>(QStringLiteral("helpBrowser")))
                 ->text(QAccessible::Name),
             QStringLiteral("Help page"));
}

namespace {

QString cellText(const QTextTableCell& cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

} // namespace

void TestQtHelpViewer::micrSymbolsShowInQuillosMicrFont()
{
    Fonts::install(); // as the program does at its start
    HelpViewerWindow window;
    window.showDocument(qEnvironmentVariable("QUILLO_BINARY_DIR") + QStringLiteral("/help/micr.html"));
    const QTextDocument* page = window.findChild<QTextBrowser*>(QStringLiteral("helpBrowser"))->document();

    QTextTable* symbols = nullptr;
    for (QTextFrame* frame : page->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table && table->columns() > 2 && cellText(table->cellAt(0, 1)) == QLatin1String("Symbol"))
            symbols = table;
    }
    QVERIFY2(symbols, "the page has a table with a Symbol column");
    QCOMPARE(symbols->rows(), 5);

    // The letter typed, the symbol it gives (U+2446 to U+2449), and its name.
    const QList<std::tuple<QString, char16_t, QString>> expected = {
        {"A", u'\u2446', "transit"}, {"B", u'\u2447', "amount"}, {"C", u'\u2448', "on-us"}, {"D", u'\u2449', "dash"}};
    for (int row = 1; row <= 4; ++row) {
        const auto& [key, symbol, name] = expected.at(row - 1);
        QCOMPARE(cellText(symbols->cellAt(row, 0)), key);
        QCOMPARE(cellText(symbols->cellAt(row, 1)), QString(QChar(symbol)));
        QCOMPARE(cellText(symbols->cellAt(row, 2)), name);

        QTextCursor glyph = symbols->cellAt(row, 1).firstCursorPosition();
        glyph.movePosition(QTextCursor::NextCharacter);
        const QFont font = glyph.charFormat().font();
        QCOMPARE(QFontInfo(font).family(), MicrFont::Family);
        QVERIFY2(QRawFont::fromFont(font).supportsCharacter(QChar(symbol)), qPrintable(name));
    }
}

QTEST_MAIN(TestQtHelpViewer)
#include "tst_qthelpviewer.moc"
