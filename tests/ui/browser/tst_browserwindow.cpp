#include "fakes/ComboEntries.h"
#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeWebBrowserControlFactory.h"
#include "platform/QuilloError.h"
#include "platform/Twips.h"
#include "system/qt/WindowList.h"
#include "ui/browser/frmBrowser.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <QtTest>

namespace {} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void opensAtStartingAddress();
    void emptyStartingAddressOpensIdle();
    void listKeepsEachAddressOnceNewestFirst_data();
    void listKeepsEachAddressOnceNewestFirst();
    void startingAddressStaysBesideReportedAddress();
    void navigationCompleteStartsNoNavigation();
    void enterNavigatesToTextAsTyped_data();
    void enterNavigatesToTextAsTyped();
    void enterOnListedAddressNavigatesOnce();
    void choosingFromListNavigates();
    void toolbarButtonsDriveTheControl_data();
    void toolbarButtonsDriveTheControl();
    void stopStopsTimerAndShowsName();
    void timerShowsWorkingWhileBusyThenName();
    void downloadCompleteShowsName();
    void lateTitleShowsWhenNotBusy();
    void pageTitleShowsAsItIs_data();
    void pageTitleShowsAsItIs();
    void failuresAreIgnoredStepByStep();
    void failuresOfUnhandledHandlersAreReportedOnce();
    void toolbarHasSixKeyedButtons();
    void layoutAfterLoad_data();
    void layoutAfterLoad();
    void shrinkingKeepsLastSizes_data();
    void shrinkingKeepsLastSizes();
    void altAFocusesAddressBox();
    void tabOrderFollowsDesign();
    void screenReadersReadTheAddressBoxAsAddress();
    void windowIsSizableAndKeptOutOfTaskbar();
    void windowsAreIndependentAndUnloadWithMainWindow();
    void noBrowserNoWindow();

private:
    frmBrowser* open(const QString& startingAddress);
    FakeWebBrowserControl* control() const { return m_controls.last(); }
    QComboBox* box() const { return m_window->findChild<QComboBox*>(QStringLiteral("cboAddress")); }
    QTimer* timer() const { return m_window->findChild<QTimer*>(QStringLiteral("timTimer")); }
    void click(const QString& key);
    int pixels(int twips) const { return Twips::forScreen().toPixels(twips); }

    FakeWebBrowserControlFactory m_controls;
    WindowList m_windows;
    FakeFailureReporter m_failures;
    QPointer<frmBrowser> m_window;
};

frmBrowser* TestBrowserWindow::open(const QString& startingAddress)
{
    m_window = openBrowserWindow(startingAddress, {&m_controls, &m_windows, &m_failures});
    return m_window;
}

void TestBrowserWindow::click(const QString& key)
{
    auto* button = m_window->findChild<QToolButton*>(QStringLiteral("tbToolBar_") + key);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

void TestBrowserWindow::cleanup()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmBrowser"))
            windows.append(widget);
    }
    qDeleteAll(windows);
    m_controls.created.clear();
    m_controls.failing = false;
    m_failures.reports.clear();
}

void TestBrowserWindow::opensAtStartingAddress()
{
    open(QStringLiteral("quillo.example/start"));

    QVERIFY(m_window->isVisible());
    QCOMPARE(control()->navigations, QStringList{QStringLiteral("quillo.example/start")});
    QCOMPARE(entries(box()), QStringList{QStringLiteral("quillo.example/start")});
    QCOMPARE(box()->currentText(), QStringLiteral("quillo.example/start"));
    QVERIFY(timer()->isActive());
    QCOMPARE(timer()->interval(), 5);
    // Nothing has updated the caption yet.
    QCOMPARE(m_window->windowTitle(), QString());
    QCOMPARE(m_windows.count(), 1);
    QCOMPARE(m_windows.at(0), m_window.data());
}

void TestBrowserWindow::emptyStartingAddressOpensIdle()
{
    open(QString());
    QCoreApplication::processEvents();

    QVERIFY(m_window->isVisible());
    QCOMPARE(control()->calls, QStringList());
    QCOMPARE(box()->count(), 0);
    QCOMPARE(box()->currentText(), QString());
    QVERIFY(!timer()->isActive());
    QCOMPARE(m_window->windowTitle(), QString());
    QCOMPARE(m_windows.count(), 1);
}

void TestBrowserWindow::listKeepsEachAddressOnceNewestFirst_data()
{
    QTest::addColumn<QStringList>("arrivals");
    QTest::addColumn<QStringList>("expected");

    const QString a = QStringLiteral("http://a.example/");
    const QString b = QStringLiteral("http://b.example/");
    const QString c = QStringLiteral("http://c.example/");
    const QString upper = QStringLiteral("http://example.com/Page");
    const QString lower = QStringLiteral("http://example.com/page");
    QTest::newRow("new addresses go on top") << QStringList{a, b, c} << QStringList{c, b, a};
    QTest::newRow("a revisit moves to the top") << QStringList{a, b, c, a} << QStringList{a, c, b};
    QTest::newRow("a reload keeps one entry") << QStringList{a, a, a} << QStringList{a};
    QTest::newRow("the newest revisit of the middle") << QStringList{a, b, c, b} << QStringList{b, c, a};
    QTest::newRow("letter case makes two entries") << QStringList{upper, lower} << QStringList{lower, upper};
    QTest::newRow("a revisit matches its case only") << QStringList{upper, lower, upper} << QStringList{upper, lower};
}

void TestBrowserWindow::listKeepsEachAddressOnceNewestFirst()
{
    QFETCH(QStringList, arrivals);
    QFETCH(QStringList, expected);
    open(QString());

    for (const QString& url : arrivals)
        control()->arriveAt(url, QStringLiteral("Title of ") + url);

    QCOMPARE(entries(box()), expected);
    QCOMPARE(box()->currentIndex(), 0);
    QCOMPARE(box()->currentText(), expected.first());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Title of ") + arrivals.last());
}

void TestBrowserWindow::startingAddressStaysBesideReportedAddress()
{
    open(QStringLiteral("example.com"));
    control()->arriveAt(QStringLiteral("http://example.com/"), QStringLiteral("Example"));

    // The start address as given stays in the list; the control's report of
    // it is a different text and goes on top.
    QCOMPARE(entries(box()), (QStringList{QStringLiteral("http://example.com/"), QStringLiteral("example.com")}));
}

void TestBrowserWindow::navigationCompleteStartsNoNavigation()
{
    open(QStringLiteral("http://a.example/"));
    control()->arriveAt(QStringLiteral("http://a.example/"), QStringLiteral("A"));
    control()->arriveAt(QStringLiteral("http://b.example/"), QStringLiteral("B"));
    control()->arriveAt(QStringLiteral("http://a.example/"), QStringLiteral("A"));

    QCOMPARE(control()->navigations, QStringList{QStringLiteral("http://a.example/")});
    QCOMPARE(m_failures.reports, QStringList());

    // The rewrite is over: choosing an entry navigates again.
    QTest::keyClick(box(), Qt::Key_Down);
    QCOMPARE(control()->navigations.last(), QStringLiteral("http://b.example/"));
}

void TestBrowserWindow::enterNavigatesToTextAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");

    QTest::newRow("Return") << QStringLiteral("Example.COM/Some Page") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << QStringLiteral("example.com") << int(Qt::Key_Enter);
    QTest::newRow("spaces kept") << QStringLiteral("  example.com/a  ") << int(Qt::Key_Return);
}

void TestBrowserWindow::enterNavigatesToTextAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    open(QString());

    QTest::keyClicks(box(), typed);
    QCOMPARE(control()->calls, QStringList());
    QTest::keyClick(box(), Qt::Key(key));

    QCOMPARE(control()->navigations, QStringList{typed});
    QVERIFY(timer()->isActive());
    QCOMPARE(box()->count(), 0);

    // The list takes the address the control reports, not the typed text.
    control()->arriveAt(QStringLiteral("http://example.com/reported"), QStringLiteral("Reported"));
    QCOMPARE(entries(box()), QStringList{QStringLiteral("http://example.com/reported")});
    QCOMPARE(box()->currentText(), QStringLiteral("http://example.com/reported"));
    QCOMPARE(control()->navigations.size(), 1);
}

void TestBrowserWindow::enterOnListedAddressNavigatesOnce()
{
    open(QString());
    control()->arriveAt(QStringLiteral("http://a.example/"), QStringLiteral("A"));
    control()->arriveAt(QStringLiteral("http://b.example/"), QStringLiteral("B"));

    box()->lineEdit()->clear();
    QTest::keyClicks(box(), QStringLiteral("http://a.example/"));
    QTest::keyClick(box(), Qt::Key_Return);

    QCOMPARE(control()->navigations, QStringList{QStringLiteral("http://a.example/")});
    // The list is rewritten by the control's report, not by the key.
    QCOMPARE(entries(box()), (QStringList{QStringLiteral("http://b.example/"), QStringLiteral("http://a.example/")}));
}

void TestBrowserWindow::choosingFromListNavigates()
{
    open(QString());
    for (const char* url : {"http://a.example/", "http://b.example/", "http://c.example/"})
        control()->arriveAt(QString::fromLatin1(url), QStringLiteral("Page"));
    timer()->stop();

    QTest::keyClick(box(), Qt::Key_Down);
    QCOMPARE(control()->navigations, QStringList{QStringLiteral("http://b.example/")});
    QVERIFY(timer()->isActive());

    // A choice with the mouse arrives as the list's activation.
    emit box()->activated(2);
    QCOMPARE(control()->navigations.last(), box()->currentText());
    QCOMPARE(control()->navigations.size(), 2);
}

void TestBrowserWindow::toolbarButtonsDriveTheControl_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("operation");

    QTest::newRow("Back") << QStringLiteral("Back") << QStringLiteral("GoBack");
    QTest::newRow("Forward") << QStringLiteral("Forward") << QStringLiteral("GoForward");
    QTest::newRow("Refresh") << QStringLiteral("Refresh") << QStringLiteral("Refresh");
    QTest::newRow("Home") << QStringLiteral("Home") << QStringLiteral("GoHome");
    QTest::newRow("Search") << QStringLiteral("Search") << QStringLiteral("GoSearch");
}

void TestBrowserWindow::toolbarButtonsDriveTheControl()
{
    QFETCH(QString, key);
    QFETCH(QString, operation);
    open(QString());

    click(key);

    QCOMPARE(control()->calls, QStringList{operation});
    QVERIFY(timer()->isActive());
}

void TestBrowserWindow::stopStopsTimerAndShowsName()
{
    open(QStringLiteral("http://slow.example/"));
    control()->busy = true;
    control()->locationName = QStringLiteral("Half a page");
    QVERIFY(timer()->isActive());

    click(QStringLiteral("Stop"));

    QCOMPARE(control()->calls.last(), QStringLiteral("Stop"));
    QVERIFY(!timer()->isActive());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Half a page"));
}

void TestBrowserWindow::timerShowsWorkingWhileBusyThenName()
{
    open(QStringLiteral("http://slow.example/"));
    control()->busy = true;
    control()->locationName = QStringLiteral("Slow page");

    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Working..."));
    QVERIFY(timer()->isActive());

    control()->busy = false;
    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Slow page"));
    QVERIFY(!timer()->isActive());
}

void TestBrowserWindow::downloadCompleteShowsName()
{
    open(QString());
    control()->locationName = QStringLiteral("Loaded");
    emit control()->DownloadComplete();
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Loaded"));
    QCOMPARE(box()->count(), 0);
}

void TestBrowserWindow::lateTitleShowsWhenNotBusy()
{
    // The page has loaded without a title, and the timer has stopped.
    open(QStringLiteral("http://a.example/"));
    control()->arriveAt(QStringLiteral("http://a.example/"), QString());
    QTRY_VERIFY(!timer()->isActive());
    QCOMPARE(m_window->windowTitle(), QString());

    control()->locationName = QStringLiteral("Quillo Home");
    emit control()->TitleChange(QStringLiteral("Quillo Home"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo Home"));

    // While the next page loads, the timer's caption stands.
    click(QStringLiteral("Refresh"));
    control()->busy = true;
    QTRY_COMPARE(m_window->windowTitle(), QStringLiteral("Working..."));
    control()->locationName = QStringLiteral("Half a title");
    emit control()->TitleChange(QStringLiteral("Half a title"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Working..."));
}

void TestBrowserWindow::pageTitleShowsAsItIs_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");
    // Qt takes a lone "[*]" in a title for its unsaved-changes mark and hides it.
    QTest::newRow("navigation complete") << "navigated"
                                         << "Draft [*] of the week";
    QTest::newRow("download complete") << "downloaded"
                                       << "[*]";
    QTest::newRow("last tick of the timer") << "tick"
                                            << "[*][*] twice";
    QTest::newRow("Stop") << "Stop"
                          << "a[*]b [*";
}

void TestBrowserWindow::pageTitleShowsAsItIs()
{
    QFETCH(QString, how);
    QFETCH(QString, title);
    open(QStringLiteral("http://a.example/"));
    control()->locationName = title;

    if (how == QLatin1String("navigated"))
        control()->arriveAt(QStringLiteral("http://a.example/"), title);
    else if (how == QLatin1String("downloaded"))
        emit control()->DownloadComplete();
    else if (how == QLatin1String("tick"))
        QTRY_VERIFY(!timer()->isActive());
    else
        click(how);

    // What the title bar and a screen reader show.
    QTRY_COMPARE(m_window->windowHandle()->title(), title);
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window.data())->text(QAccessible::Name), title);
}

void TestBrowserWindow::failuresAreIgnoredStepByStep()
{
    // Load: the navigation fails, the rest happens.
    m_controls.failing = false;
    open(QStringLiteral("http://a.example/"));
    FakeWebBrowserControl* fake = control();
    fake->failing = {QStringLiteral("Navigate")};
    m_window->StartingAddress = QStringLiteral("http://b.example/");
    m_window->Form_Load();
    QCOMPARE(entries(box()), (QStringList{QStringLiteral("http://a.example/"), QStringLiteral("http://b.example/")}));
    QVERIFY(timer()->isActive());

    // Enter: the failed navigation is dropped by the key handler.
    QTest::keyClick(box(), Qt::Key_Return);
    QCOMPARE(fake->calls.count(QStringLiteral("Navigate")), 3);

    // Stop: the control's failure does not keep the timer running or the
    // caption unchanged.
    fake->failing = {QStringLiteral("Stop")};
    fake->locationName = QStringLiteral("Still here");
    click(QStringLiteral("Stop"));
    QVERIFY(!timer()->isActive());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Still here"));

    // Navigation complete without a name: the list is still rewritten.
    fake->failing = {QStringLiteral("LocationName")};
    fake->arriveAt(QStringLiteral("http://c.example/"), QStringLiteral("ignored"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Still here"));
    QCOMPARE(entries(box()).first(), QStringLiteral("http://c.example/"));

    // Navigation complete without an address: the list stays, the flag that
    // guards the rewrite is cleared, so a choice navigates again.
    fake->failing = {QStringLiteral("LocationURL")};
    const QStringList before = entries(box());
    emit fake->NavigateComplete2(QStringLiteral("http://d.example/"));
    QCOMPARE(entries(box()), before);
    fake->failing.clear();
    QTest::keyClick(box(), Qt::Key_Down);
    QCOMPARE(fake->navigations.last(), before.at(1));

    QCOMPARE(m_failures.reports, QStringList());
}

void TestBrowserWindow::failuresOfUnhandledHandlersAreReportedOnce()
{
    open(QString());
    control()->arriveAt(QStringLiteral("http://a.example/"), QStringLiteral("A"));
    control()->arriveAt(QStringLiteral("http://b.example/"), QStringLiteral("B"));

    // A choice from the list whose navigation fails.
    control()->failing = {QStringLiteral("Navigate")};
    QTest::keyClick(box(), Qt::Key_Down);
    QCOMPARE(m_failures.reports, QStringList{QStringLiteral("Navigate failed")});

    // A tick that cannot ask whether the control is busy.
    control()->failing = {QStringLiteral("Busy")};
    timer()->start();
    QTRY_COMPARE(m_failures.reports.size(), 2);
    QCOMPARE(m_failures.reports.last(), QStringLiteral("Busy failed"));
    QVERIFY(!timer()->isActive());
}

void TestBrowserWindow::toolbarHasSixKeyedButtons()
{
    open(QString());
    auto* toolbar = m_window->findChild<QToolBar*>(QStringLiteral("tbToolBar"));
    QVERIFY(toolbar);

    QStringList keys;
    for (QAction* action : toolbar->actions()) {
        const QString key = action->data().toString();
        keys.append(key);
        QCOMPARE(action->toolTip(), key);
        QCOMPARE(action->text(), QString());
        // A screen reader reads the picture-only button by its key.
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(toolbar->widgetForAction(action));
        QCOMPARE(button->role(), QAccessible::Button);
        QCOMPARE(button->text(QAccessible::Name), key);
        QCOMPARE(button->text(QAccessible::Description), key);
        QCOMPARE(toolbar->widgetForAction(action)->size(), QSize(pixels(465), pixels(450)));
    }
    QCOMPARE(keys, (QStringList{"Back", "Forward", "Stop", "Refresh", "Home", "Search"}));
    QCOMPARE(toolbar->iconSize(), QSize(24, 24));
}

void TestBrowserWindow::layoutAfterLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");

    // The design, with the address box moved and widened and the browser
    // sized by the load.
    QTest::newRow("tbToolBar") << QStringLiteral("tbToolBar") << QRect(0, 0, 6540, 540);
    QTest::newRow("picAddress") << QStringLiteral("picAddress") << QRect(0, 540, 6540, 675);
    QTest::newRow("lblAddress") << QStringLiteral("lblAddress") << QRect(45, 60, 3075, 255);
    QTest::newRow("cboAddress") << QStringLiteral("cboAddress") << QRect(50, 330, 6440, 315);
    QTest::newRow("brwWebBrowser") << QStringLiteral("brwWebBrowser") << QRect(50, 1215, 6440, 3815);
}

void TestBrowserWindow::layoutAfterLoad()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    open(QStringLiteral("http://a.example/"));

    QCOMPARE(m_window->size(), QSize(pixels(6540), pixels(5130)));
    auto* control = m_window->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), Twips::forScreen().toPixels(twips.x(), twips.y(), twips.width(), twips.height()));
}

void TestBrowserWindow::shrinkingKeepsLastSizes_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("addressWidth");
    QTest::addColumn<QSize>("browser");

    // Sizes in twips, on whole pixels at the design resolution.
    QTest::newRow("larger") << QSize(9000, 6990) << 8900 << QSize(8900, 5675);
    QTest::newRow("too narrow") << QSize(90, 6990) << 6440 << QSize(6440, 5675);
    QTest::newRow("too low") << QSize(9000, 1200) << 8900 << QSize(8900, 3815);
    QTest::newRow("too small") << QSize(60, 600) << 6440 << QSize(6440, 3815);
}

void TestBrowserWindow::shrinkingKeepsLastSizes()
{
    QFETCH(QSize, window);
    QFETCH(int, addressWidth);
    QFETCH(QSize, browser);
    open(QString());

    m_window->resize(pixels(window.width()), pixels(window.height()));
    QCOMPARE(m_window->size(), QSize(pixels(window.width()), pixels(window.height())));

    QCOMPARE(box()->width(), pixels(addressWidth));
    QCOMPARE(box()->height(), pixels(315));
    auto* area = m_window->findChild<QWidget*>(QStringLiteral("brwWebBrowser"));
    QCOMPARE(area->size(), QSize(pixels(browser.width()), pixels(browser.height())));
    QCOMPARE(area->pos(), QPoint(pixels(50), pixels(1215)));
}

void TestBrowserWindow::altAFocusesAddressBox()
{
    open(QString());
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    box()->clearFocus();
    QVERIFY(!box()->hasFocus());

    QTest::keyClick(m_window, Qt::Key_A, Qt::AltModifier);

    QTRY_VERIFY(box()->hasFocus());
    auto* label = m_window->findChild<QLabel*>(QStringLiteral("lblAddress"));
    QCOMPARE(label->text(), QStringLiteral("&Address:"));
}

void TestBrowserWindow::tabOrderFollowsDesign()
{
    open(QString());
    const QStringList designed{"brwWebBrowser", "lblAddress", "cboAddress", "tbToolBar"};

    QStringList chain;
    QWidget* widget = m_window->findChild<QWidget*>(QStringLiteral("brwWebBrowser"));
    for (int step = 0; step < 200 && chain.size() < designed.size(); ++step) {
        if (designed.contains(widget->objectName()) && !chain.contains(widget->objectName()))
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    QCOMPARE(chain, designed);
}

void TestBrowserWindow::screenReadersReadTheAddressBoxAsAddress()
{
    open(QStringLiteral("qrc:/home/index.html"));
    QAccessibleInterface* address = QAccessible::queryAccessibleInterface(box());
    QCOMPARE(address->role(), QAccessible::ComboBox);
    QCOMPARE(address->text(QAccessible::Name), QStringLiteral("Address"));
    QCOMPARE(address->text(QAccessible::Value), QStringLiteral("qrc:/home/index.html"));

    // Inside: the list of visited addresses, then the text field, named as the box.
    QCOMPARE(address->childCount(), 2);
    QAccessibleInterface* list = address->child(0);
    QCOMPARE(list->object(), box()->view());
    QCOMPARE(list->role(), QAccessible::List);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Visited addresses"));
    QAccessibleInterface* field = address->child(1);
    QCOMPARE(field->object(), box()->lineEdit());
    QCOMPARE(field->role(), QAccessible::EditableText);
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Address"));
    QCOMPARE(address->indexOfChild(field), 1);
    QCOMPARE(address->indexOfChild(list), 0);
    QCOMPARE(address->focusChild(), field);
    // The browser control's area: what the page sits in.
    QCOMPARE(QAccessible::queryAccessibleInterface(m_window->findChild<QWidget*>(QStringLiteral("brwWebBrowser")))
                 ->text(QAccessible::Name),
             QStringLiteral("Web page"));

    // The list opens and closes as a screen reader asks.
    QAccessibleActionInterface* actions = address->actionInterface();
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(box()->view()->isVisible());
    actions->doAction(QAccessibleActionInterface::showMenuAction());
    QTRY_VERIFY(!box()->view()->isVisible());
    QCOMPARE(control()->navigations, QStringList{QStringLiteral("qrc:/home/index.html")});
}

void TestBrowserWindow::windowIsSizableAndKeptOutOfTaskbar()
{
    open(QString());
    QCOMPARE(m_window->objectName(), QStringLiteral("frmBrowser"));
    // A tool window gets no taskbar entry.
    QCOMPARE(m_window->windowType(), Qt::Tool);
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(m_window->minimumSize() != m_window->maximumSize());
    QVERIFY(!m_window->parentWidget());
}

void TestBrowserWindow::windowsAreIndependentAndUnloadWithMainWindow()
{
    QWidget mainWindow;
    m_windows.add(&mainWindow);
    QPointer<frmBrowser> first = open(QStringLiteral("http://home.example/"));
    QPointer<frmBrowser> second = open(QStringLiteral("http://home.example/"));

    QVERIFY(first != second);
    QCOMPARE(m_controls.created.size(), 2);
    QCOMPARE(m_windows.count(), 3);
    QCOMPARE(m_windows.at(1), first.data());
    QCOMPARE(m_windows.at(2), second.data());

    m_controls.created.at(0)->arriveAt(QStringLiteral("http://first.example/"), QStringLiteral("First"));
    auto* secondBox = second->findChild<QComboBox*>(QStringLiteral("cboAddress"));
    QCOMPARE(entries(secondBox), QStringList{QStringLiteral("http://home.example/")});
    QCOMPARE(first->windowTitle(), QStringLiteral("First"));
    QCOMPARE(second->windowTitle(), QString());

    // What the main window does when it closes: unload the others, newest first.
    for (int i = m_windows.count() - 1; i >= 1; --i)
        m_windows.unload(i);

    QTRY_VERIFY(first.isNull() && second.isNull());
    QCOMPARE(m_windows.count(), 1);
    QCOMPARE(m_windows.at(0), &mainWindow);
}

void TestBrowserWindow::noBrowserNoWindow()
{
    m_controls.failing = true;
    QVERIFY_THROWS_EXCEPTION(
        QuilloError, openBrowserWindow(QStringLiteral("http://a.example/"), {&m_controls, &m_windows, &m_failures}));
    QCOMPARE(m_windows.count(), 0);
    for (QWidget* widget : QApplication::topLevelWidgets())
        QVERIFY(widget->objectName() != QLatin1String("frmBrowser"));
}

QTEST_MAIN(TestBrowserWindow)
#include "tst_browserwindow.moc"
