#include "fakes/ComboEntries.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/TestFiles.h"
#include "system/browser/WebEngineControlFactory.h"
#include "system/qt/WindowList.h"
#include "ui/browser/HomePageAddress.h"
#include "ui/browser/frmBrowser.h"

#include <QComboBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

namespace {

// Web-engine tests wait for another process; allow for a slow, busy machine.
constexpr int LoadTimeout = 30000;

} // namespace

// The browser window over the real web engine, on local pages only.
class TestBrowserWeb : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void pageTitleBecomesCaptionAndAddressEntersList();
    void toolbarMovesBetweenPages();
    void addressBoxOpensTypedPath();
    void homePageShipsWithQuillo();
    void twoOpeningsGiveTwoWindowsThatUnloadTogether();

private:
    frmBrowser* open(const QString& startingAddress, WebBrowserControlFactory& controls);
    QString page(const QString& name) const { return m_dir.filePath(name); }
    QString url(const QString& name) const { return QUrl::fromLocalFile(page(name)).toString(); }
    static QComboBox* box(const QWidget* window) { return window->findChild<QComboBox*>(QStringLiteral("cboAddress")); }
    static QTimer* timer(const QWidget* window) { return window->findChild<QTimer*>(QStringLiteral("timTimer")); }
    static void click(const QWidget* window, const char* key);

    QTemporaryDir m_dir;
    std::unique_ptr<WebEngineControlFactory> m_controls;
    WindowList m_windows;
    FakeFailureReporter m_failures;
    QList<QPointer<frmBrowser>> m_opened;
};

void TestBrowserWeb::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const auto write = [this](const QString& name, const QByteArray& title) {
        QVERIFY(TestFiles::write(page(name), "<!DOCTYPE html><html><head><title>" + title +
                                                 "</title></head><body><h1>" + title + "</h1></body></html>"));
    };
    write(QStringLiteral("page.html"), "Quillo Test Page");
    write(QStringLiteral("second.html"), "Second Test Page");
    write(QStringLiteral("home.html"), "Test Home");
    write(QStringLiteral("search.html"), "Test Search");
    m_controls = std::make_unique<WebEngineControlFactory>(
        WebBrowserSettings{QUrl::fromLocalFile(page(QStringLiteral("home.html"))),
                           QUrl::fromLocalFile(page(QStringLiteral("search.html")))});
}

void TestBrowserWeb::cleanup()
{
    qDeleteAll(m_opened);
    m_opened.clear();
    QCOMPARE(m_failures.reports, QStringList());
}

frmBrowser* TestBrowserWeb::open(const QString& startingAddress, WebBrowserControlFactory& controls)
{
    frmBrowser* window = openBrowserWindow(startingAddress, {&controls, &m_windows, &m_failures});
    m_opened.append(window);
    return window;
}

void TestBrowserWeb::click(const QWidget* window, const char* key)
{
    auto* button = window->findChild<QToolButton*>(QStringLiteral("tbToolBar_") + QLatin1String(key));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestBrowserWeb::pageTitleBecomesCaptionAndAddressEntersList()
{
    auto* window = new frmBrowser({m_controls.get(), &m_windows, &m_failures});
    m_opened.append(window);
    QSignalSpy captions(window, &QWidget::windowTitleChanged);
    window->StartingAddress = page(QStringLiteral("page.html"));
    window->Show();

    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Quillo Test Page"), LoadTimeout);
    QTRY_VERIFY(!timer(window)->isActive());
    QCOMPARE(window->windowTitle(), QStringLiteral("Quillo Test Page"));
    // The start address as given, and on top the address the engine reports.
    QCOMPARE(entries(box(window)), (QStringList{url(QStringLiteral("page.html")), page(QStringLiteral("page.html"))}));
    QCOMPARE(box(window)->currentText(), url(QStringLiteral("page.html")));
    // While the page loaded the caption said so.
    QVERIFY(!captions.isEmpty());
    QCOMPARE(captions.first().first().toString(), QStringLiteral("Working..."));
}

void TestBrowserWeb::toolbarMovesBetweenPages()
{
    frmBrowser* window = open(page(QStringLiteral("page.html")), *m_controls);
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Quillo Test Page"), LoadTimeout);

    click(window, "Home");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Test Home"), LoadTimeout);
    click(window, "Search");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Test Search"), LoadTimeout);
    click(window, "Back");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Test Home"), LoadTimeout);
    click(window, "Forward");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Test Search"), LoadTimeout);
    QTRY_VERIFY(!timer(window)->isActive());

    QCOMPARE(entries(box(window)), (QStringList{url(QStringLiteral("search.html")), url(QStringLiteral("home.html")),
                                                url(QStringLiteral("page.html")), page(QStringLiteral("page.html"))}));
}

void TestBrowserWeb::addressBoxOpensTypedPath()
{
    frmBrowser* window = open(QString(), *m_controls);
    QTest::keyClicks(box(window), page(QStringLiteral("second.html")));
    QTest::keyClick(box(window), Qt::Key_Return);

    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Second Test Page"), LoadTimeout);
    QTRY_COMPARE(entries(box(window)), QStringList{url(QStringLiteral("second.html"))});
}

void TestBrowserWeb::homePageShipsWithQuillo()
{
    WebEngineControlFactory shipped;
    frmBrowser* window = open(HomePageAddress, shipped);

    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Welcome to Quillo"), LoadTimeout);
    QCOMPARE(entries(box(window)), QStringList{HomePageAddress});

    // The component's own search page ships too, and links back home.
    click(window, "Search");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Quillo Search"), LoadTimeout);
    click(window, "Home");
    QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Welcome to Quillo"), LoadTimeout);
    QTRY_VERIFY(!timer(window)->isActive());
    delete window;
}

void TestBrowserWeb::twoOpeningsGiveTwoWindowsThatUnloadTogether()
{
    QWidget mainWindow;
    m_windows.add(&mainWindow);
    QPointer<frmBrowser> first = open(page(QStringLiteral("page.html")), *m_controls);
    QPointer<frmBrowser> second = open(page(QStringLiteral("page.html")), *m_controls);
    QVERIFY(first != second);

    QTRY_COMPARE_WITH_TIMEOUT(first->windowTitle(), QStringLiteral("Quillo Test Page"), LoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(second->windowTitle(), QStringLiteral("Quillo Test Page"), LoadTimeout);
    click(first, "Search");
    QTRY_COMPARE_WITH_TIMEOUT(first->windowTitle(), QStringLiteral("Test Search"), LoadTimeout);
    QCOMPARE(second->windowTitle(), QStringLiteral("Quillo Test Page"));
    QCOMPARE(box(second)->count(), 2);

    // What the main window does when it closes: unload the others, newest first.
    QCOMPARE(m_windows.count(), 3);
    for (int i = m_windows.count() - 1; i >= 1; --i)
        m_windows.unload(i);
    QTRY_VERIFY(first.isNull() && second.isNull());
    QCOMPARE(m_windows.count(), 1);
}

QTEST_MAIN(TestBrowserWeb)
#include "tst_browserweb.moc"
