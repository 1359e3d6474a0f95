#include "fakes/DesignedCaptions.h"
#include "fakes/PageItems.h"
#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "ui/main/CaretBlinkLimiter.h"
#include "ui/main/MainWindowFixture.h"
#include "ui/main/StatusClock.h"

#include <QAccessible>
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

namespace {

const Twips twips = Twips(Twips::DesignDpi);

using DesignedChequeFace::Controls;
using Designed = DesignedChequeFace::Control;

QRect designRect(int left, int top, int width, int height)
{
    return twips.toPixels(left, top, width, height);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void windowFrame();
    void frameCaptionSitsOnItsLine();
    void chequeFaceAsDesigned_data();
    void chequeFaceAsDesigned();
    void everyCaptionShowsWhole();
    void micrBoxesShowTheMicrFont();
    void screenReadersCanTellTheBoxesApart();
    void resizingMovesNothingOnTheFace();
    void menuTree();
    void menuShortcutsReachTheirItemsFromAnyControl();
    void toolbarButtons();
    void nothingIsDrawnRightOfTheLastButton();
    void statusBarPanels();
    void clockWakesOncePerMinute_data();
    void clockWakesOncePerMinute();
    void tabCycle();
    void caretStopsBlinkingWhenIdle();
    void quickPrintPrintsTheWindowsTexts();
    void quickPrintFailureIsShownWithoutConfirmation();

private:
    MainWindowFixture* m_fixture = nullptr;
    std::unique_ptr<frmMain> m_window;
};

void TestMainWindow::initTestCase()
{
    Fonts::install();
}

void TestMainWindow::init()
{
    m_fixture = new MainWindowFixture;
    m_window = m_fixture->makeWindow();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    delete m_fixture;
}

void TestMainWindow::windowFrame()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("frmMain"));
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(m_window->font().pointSizeF(), 9.75);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget* client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(605, 405)); // 9075 x 6075 twips below the menu bar
    QCOMPARE(client->mapTo(m_window.get(), QPoint(0, 0)).y(), m_window->menuBar()->height());

    auto* toolbar = m_window->findChild<QToolBar*>("tbToolBar");
    QCOMPARE(toolbar->parentWidget(), client);
    QCOMPARE(toolbar->geometry(), designRect(0, 0, 9075, 420));
    auto* frame = m_window->findChild<QGroupBox*>("Frame1");
    QCOMPARE(frame->parentWidget(), client);
    QCOMPARE(frame->geometry(), designRect(120, 480, 8775, 5295));
    QCOMPARE(frame->title(), QStringLiteral("Quillo"));
    QCOMPARE(frame->font().pointSizeF(), 8.25);
    auto* status = m_window->findChild<QStatusBar*>("sbStatusBar");
    QCOMPARE(status->parentWidget(), client);
    QCOMPARE(status->geometry(), designRect(0, 5805, 9075, 270));

    // Before the File commands run, the designed caption stands.
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Quillo"));
}

void TestMainWindow::frameCaptionSitsOnItsLine()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* frame = m_window->findChild<QGroupBox*>("Frame1");
    const QImage image = frame->grab().toImage();
    const int middle = image.width() / 2;

    // The frame's top line, where the middle column first leaves the ground.
    int lineY = 0;
    while (lineY < 30 && image.pixel(middle, lineY) == image.pixel(middle, 0))
        ++lineY;
    const QRgb line = image.pixel(middle, lineY);
    // The caption's ink: dark pixels above the first captions of the face.
    QRect caption;
    for (int y = 0; y < frame->findChild<QLabel*>("Label1")->y(); ++y)
        for (int x = 0; x < middle; ++x)
            if (qGray(image.pixel(x, y)) < 100)
                caption |= QRect(x, y, 1, 1);
    QVERIFY2(caption.isValid(), "the caption shows");

    const QString seen = QStringLiteral("line at %1, caption %2").arg(lineY).arg(QDebug::toString(caption));
    QVERIFY2(caption.top() < lineY && lineY < caption.bottom(), qPrintable(seen));
    QCOMPARE(image.pixel(caption.left() - 3, lineY), line);
    QCOMPARE(image.pixel(caption.right() + 3, lineY), line);
    for (int x = caption.left(); x <= caption.right(); ++x)
        QVERIFY2(image.pixel(x, lineY) != line, qPrintable(seen + QStringLiteral(": the line runs through it")));
}

void TestMainWindow::chequeFaceAsDesigned_data()
{
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(Controls.size()); ++i)
        QTest::newRow(Controls[std::size_t(i)].name) << i;
}

void TestMainWindow::chequeFaceAsDesigned()
{
    QFETCH(int, row);
    const Designed& d = Controls[std::size_t(row)];
    auto* widget = m_window->findChild<QWidget*>(QString::fromLatin1(d.name));
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget()->objectName(), QStringLiteral("Frame1"));
    // Geometry in twips, back from pixels.
    const QRect g = widget->geometry();
    QCOMPARE(QRect(twips.fromPixels(g.x()), twips.fromPixels(g.y()), twips.fromPixels(g.width()),
                   twips.fromPixels(g.height())),
             QRect(QPoint(twips.fromPixels(twips.toPixels(d.left)), twips.fromPixels(twips.toPixels(d.top))),
                   QSize(twips.fromPixels(twips.toPixels(d.width)), twips.fromPixels(twips.toPixels(d.height)))));
    QCOMPARE(g, designRect(d.left, d.top, d.width, d.height));
    QCOMPARE(widget->font().family(), QString::fromLatin1(d.family));
    QCOMPARE(widget->font().pointSizeF(), d.points);
    QCOMPARE(widget->font().bold(), d.bold);

    const QString name = QString::fromLatin1(d.name);
    if (name.startsWith(QLatin1String("Text"))) {
        auto* box = qobject_cast<QLineEdit*>(widget);
        QVERIFY(box);
        QCOMPARE(box->text(), QString::fromLatin1(d.text));
        QCOMPARE(box->maxLength(), std::numeric_limits<int>::max()); // no limit of its own
        QCOMPARE(box->echoMode(), QLineEdit::Normal);
        QVERIFY(box->hasFrame());
        QVERIFY(!box->isReadOnly());
    } else if (name.startsWith(QLatin1String("Label"))) {
        auto* caption = qobject_cast<QLabel*>(widget);
        QVERIFY(caption);
        QCOMPARE(caption->text(), QString::fromLatin1(d.text));
        QCOMPARE(caption->focusPolicy(), Qt::NoFocus);
    } else if (name == QLatin1String("Command1")) {
        QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), QStringLiteral("Quick Print "));
    } else {
        auto* picture = qobject_cast<QLabel*>(widget);
        QVERIFY(picture);
        QCOMPARE(picture->frameShadow(), QFrame::Sunken);
        QCOMPARE(picture->frameWidth(), 2);
        QCOMPARE(picture->focusPolicy(), name == QLatin1String("Picture1") ? Qt::StrongFocus : Qt::NoFocus);
    }
}

void TestMainWindow::everyCaptionShowsWhole()
{
    for (const Designed& d : Controls) {
        if (!d.text || !*d.text || QByteArray(d.name).startsWith("Text"))
            continue;
        auto* widget = m_window->findChild<QWidget*>(QString::fromLatin1(d.name));
        const QFontMetrics metrics(widget->font());
        int room = widget->width();
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
        }
        QVERIFY2(metrics.horizontalAdvance(QString::fromLatin1(d.text)) <= room,
                 qPrintable(QStringLiteral("%1 \"%2\" needs %3 px, has %4")
                                .arg(d.name, d.text)
                                .arg(metrics.horizontalAdvance(QString::fromLatin1(d.text)))
                                .arg(room)));
        QVERIFY2(metrics.height() <= widget->height(), d.name);
    }
}

void TestMainWindow::micrBoxesShowTheMicrFont()
{
    if (QFontDatabase::families().contains(QStringLiteral("MICR 013 BT")))
        QSKIP("This machine has a MICR font of its own.");
    for (int k : {11, 12, 13}) {
        QLineEdit* box = m_window->Text(Box(k));
        QCOMPARE(box->font().family(), QStringLiteral("MICR 013 BT"));
        QCOMPARE(QFontInfo(box->font()).family(), QStringLiteral("Quillo E13B"));
        QCOMPARE(QFontInfo(box->font()).styleName(), QStringLiteral("Regular"));
    }
    // The box holds the letter typed; only the font shows it as a symbol.
    QTest::keyClicks(m_window->Text(Box::RoutingNumber), QStringLiteral("A021000021A"));
    QCOMPARE(m_window->Text(Box::RoutingNumber)->text(), QStringLiteral("A021000021A"));
    QCOMPARE(QFontInfo(m_window->Text(Box::CheckDate)->font()).family() == QStringLiteral("Quillo E13B"), false);
}

void TestMainWindow::screenReadersCanTellTheBoxesApart()
{
    const QStringList expected = {"Payor Name and Address, line 1",
                                  "Payor Name and Address, line 2",
                                  "Payor Name and Address, line 3",
                                  "Bank Name and Address, line 1",
                                  "Bank Name and Address, line 2",
                                  "Check No.",
                                  "Pay to the Order of",
                                  "In the Amount of",
                                  "Amount",
                                  "Date",
                                  "9 Digit Routing No.",
                                  "Account No.",
                                  "Check No. on the MICR line",
                                  "Memo"};
    QSet<QString> seen;
    for (int k = 1; k <= 14; ++k) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(m_window->Text(Box(k)));
        QVERIFY(box);
        QCOMPARE(box->text(QAccessible::Name), expected.at(k - 1));
        seen.insert(box->text(QAccessible::Name));
    }
    QCOMPARE(seen.size(), 14);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(m_window->findChild<QPushButton*>("Command1"))->text(QAccessible::Name),
        QStringLiteral("Quick Print"));
}

void TestMainWindow::resizingMovesNothingOnTheFace()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* frame = m_window->findChild<QGroupBox*>("Frame1");
    auto* toolbar = m_window->findChild<QToolBar*>("tbToolBar");
    auto* status = m_window->findChild<QStatusBar*>("sbStatusBar");
    const QRect frameBefore = frame->geometry();
    const QRect payeeBefore = m_window->Text(Box::Payee)->geometry();

    for (const QSize& size : {QSize(900, 700), QSize(300, 200)}) {
        m_window->resize(size.width(), size.height() + m_window->menuBar()->height());
        QTRY_COMPARE(m_window->centralWidget()->size(), size);
        QCOMPARE(frame->geometry(), frameBefore);
        QCOMPARE(m_window->Text(Box::Payee)->geometry(), payeeBefore);
        QCOMPARE(toolbar->geometry(), QRect(0, 0, size.width(), 28));
        QCOMPARE(status->geometry(), QRect(0, size.height() - 18, size.width(), 18));
    }
}

void TestMainWindow::menuTree()
{
    struct Item {
        const char* name;
        int index;
        const char* caption;
        const char* shortcut;
    };
    const QList<QList<Item>> expected = {
        {{"mMenu", 0, "&File", ""},
         {"mFile", 0, "&New", "Ctrl+N"},
         {"mFile", 1, "&Open...", "Ctrl+O"},
         {"mFile", 2, "&Save", "Ctrl+S"},
         {"mFile", 3, "Save &As...", ""},
         {"mnuFilePreview", -1, "Print Pre&view...", ""},
         {"mnuFileExportPdf", -1, "&Export as PDF...", ""},
         {"mnuFileConfirmationLetter", -1, "Print &Confirmation Letter...", ""},
         {"mnuFilePageSetup", -1, "Pa&ge Setup...", ""},
         {"mnuFileMerchantDetails", -1, "Merchant &Details...", ""},
         {"mnuFileRegisterLocation", -1, "Register &Location...", ""},
         {"mnuFileCopyRegister", -1, "Cop&y This Computer's Register to the Server...", ""},
         {"mnuFileOfficePassphrase", -1, "Change Office &Passphrase...", ""},
         {"mnuFileBar2", -1, "", ""},
         {"mExit", -1, "E&xit", ""}},
        {{"mnuEdit", -1, "&Edit", ""},
         {"mnuEditCut", -1, "Cu&t", "Ctrl+X"},
         {"mnuEditCopy", -1, "&Copy", "Ctrl+C"},
         {"mnuEditPaste", -1, "&Paste", "Ctrl+V"},
         {"mnuEditBar0", -1, "", ""},
         {"mnuEditAmountWords", -1, "Amount in &Words", ""},
         {"mnuEditAuthorization", -1, "Aut&horization...", ""}},
        {{"mnuView", -1, "&View", ""},
         {"mnuViewWebBrowser", -1, "&Web Browser", ""},
         {"mnuViewRegister", -1, "&Register", "Ctrl+R"}},
        {{"mnuHelp", -1, "&Help", ""},
         {"mnuHelpContents", -1, "&Contents", ""},
         {"mnuHelpBar0", -1, "", ""},
         {"mnuHelpAbout", -1, "&About ", ""}},
    };
    const QList<QAction*> headings = m_window->menuBar()->actions();
    QCOMPARE(headings.size(), expected.size());
    for (int m = 0; m < expected.size(); ++m) {
        QAction* heading = headings.at(m);
        QCOMPARE(heading->objectName(), QString::fromLatin1(expected[m][0].name));
        QCOMPARE(heading->text(), QString::fromLatin1(expected[m][0].caption));
        QCOMPARE(heading->property("Index").toInt(), expected[m][0].index);
        const QList<QAction*> items = heading->menu()->actions();
        QCOMPARE(items.size(), expected[m].size() - 1);
        for (int i = 0; i < items.size(); ++i) {
            const Item& want = expected[m][i + 1];
            QAction* item = items.at(i);
            QCOMPARE(item->objectName(), QString::fromLatin1(want.name));
            QCOMPARE(item->property("Index").toInt(), want.index);
            QCOMPARE(item->isSeparator(), QByteArray(want.caption).isEmpty());
            QCOMPARE(item->text(), QString::fromLatin1(want.caption));
            QCOMPARE(item->shortcut().toString(), QString::fromLatin1(want.shortcut));
            QVERIFY(item->isEnabled() && item->isVisible() && !item->isChecked());
        }
    }
}

void TestMainWindow::menuShortcutsReachTheirItemsFromAnyControl()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QList<QAction*> mFile = m_window->findChildren<QAction*>("mFile");
    const auto fileNew =
        std::find_if(mFile.begin(), mFile.end(), [](QAction* item) { return item->property("Index") == 0; });
    QVERIFY(fileNew != mFile.end());
    QSignalSpy newSpy(*fileNew, &QAction::triggered);
    for (const char* name : {"Text1", "Text11", "Command1", "Picture1"}) {
        auto* control = m_window->findChild<QWidget*>(QString::fromLatin1(name));
        control->setFocus();
        QTRY_VERIFY(control->hasFocus());
        QTest::keyClick(control, Qt::Key_N, Qt::ControlModifier);
    }
    QCOMPARE(newSpy.count(), 4);
}

void TestMainWindow::toolbarButtons()
{
    auto* toolbar = m_window->findChild<QToolBar*>("tbToolBar");
    const QList<QAction*> entries = toolbar->actions();
    const QStringList expected = {"New", "Open", "Save", "|", "Print", "|", "Cut", "Copy", "Paste", "|", "|"};
    QCOMPARE(entries.size(), expected.size());
    for (int i = 0; i < entries.size(); ++i) {
        QAction* entry = entries.at(i);
        if (expected.at(i) == QLatin1String("|")) {
            QVERIFY2(entry->isSeparator(), qPrintable(QString::number(i)));
            // The pair at the right end separates nothing: it is not drawn.
            QCOMPARE(entry->isVisible(), i < 9);
            continue;
        }
        QCOMPARE(entry->data().toString(), expected.at(i));
        QCOMPARE(entry->toolTip(), expected.at(i));
        // A screen reader reads the picture-only button by its key.
        QAccessibleInterface* readOut = QAccessible::queryAccessibleInterface(toolbar->widgetForAction(entry));
        QCOMPARE(readOut->role(), QAccessible::Button);
        QCOMPARE(readOut->text(QAccessible::Name), expected.at(i));
        QCOMPARE(readOut->text(QAccessible::Description), expected.at(i));
        QVERIFY(entry->text().isEmpty() || toolbar->toolButtonStyle() == Qt::ToolButtonIconOnly);
        QWidget* button = toolbar->widgetForAction(entry);
        QCOMPARE(button->size(), QSize(23, 22));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    }
    QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    QCOMPARE(toolbar->iconSize(), QSize(16, 16));
}

void TestMainWindow::nothingIsDrawnRightOfTheLastButton()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* toolbar = m_window->findChild<QToolBar*>("tbToolBar");
    const QImage image = toolbar->grab().toImage();
    const int from = toolbar->findChild<QToolButton*>("tbToolBar_Paste")->geometry().right() + 1;
    QVERIFY(from < image.width() - 100);
    // Every column from there to the right end looks alike: no separator.
    for (int x = from + 1; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            QVERIFY2(image.pixel(x, y) == image.pixel(from, y), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    // Nor is the button for buttons that do not fit, which a screen reader
    // would still call by its name.
    auto* overflow = toolbar->findChild<QToolButton*>("qt_toolbar_ext_button");
    QVERIFY(!overflow->isVisible());
    QCOMPARE(QAccessible::queryAccessibleInterface(overflow)->text(QAccessible::Name), QStringLiteral("More buttons"));
}

void TestMainWindow::statusBarPanels()
{
    auto* status = m_window->findChild<QStatusBar*>("sbStatusBar");
    auto* panel1 = status->findChild<QLabel*>("sbStatusBar_Panel1");
    auto* panel2 = status->findChild<QLabel*>("sbStatusBar_Panel2");
    auto* panel3 = status->findChild<QLabel*>("sbStatusBar_Panel3");
    QCOMPARE(panel1->text(), QStringLiteral("Status"));
    const QLocale locale = QLocale::system();
    QCOMPARE(panel2->text(), locale.toString(QDate(2026, 12, 7), QLocale::ShortFormat));
    QCOMPARE(panel3->text(), locale.toString(QTime(9, 41, 30), StatusClock::hoursAndMinutesFormat(locale)));
    QVERIFY(panel3->text().contains(QLatin1String("41")));
    QVERIFY(!panel3->text().contains(QLatin1String("30"))); // hours and minutes only
    for (QLabel* panel : {panel1, panel2, panel3}) {
        QCOMPARE(panel->minimumWidth(), 96);
        QCOMPARE(panel->frameShadow(), QFrame::Sunken);
        QCOMPARE(panel->font().pointSizeF(), 8.25);
    }

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // Panel 1 takes the width that the date and time leave.
    const int before = panel1->width();
    m_window->resize(m_window->width() + 200, m_window->height());
    QTRY_COMPARE(panel1->width(), before + 200);

    // The clock moves on by itself: the next wake-up shows the new minute.
    m_fixture->clock = QDateTime(QDate(2026, 12, 8), QTime(0, 0, 0));
    auto* clock = m_window->findChild<StatusClock*>();
    QVERIFY(clock->timer().isActive());
    clock->update();
    QCOMPARE(panel2->text(), locale.toString(QDate(2026, 12, 8), QLocale::ShortFormat));
    QCOMPARE(panel3->text(), locale.toString(QTime(0, 0), StatusClock::hoursAndMinutesFormat(locale)));
}

void TestMainWindow::clockWakesOncePerMinute_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<int>("wait");
    QTest::newRow("on the minute") << QTime(9, 41, 0) << 60000;
    QTest::newRow("half past") << QTime(9, 41, 30) << 30000;
    QTest::newRow("just before") << QTime(23, 59, 59, 999) << 1;
}

void TestMainWindow::clockWakesOncePerMinute()
{
    QFETCH(QTime, time);
    QFETCH(int, wait);
    QCOMPARE(StatusClock::msUntilNextMinute(time), wait);

    QCOMPARE(StatusClock::hoursAndMinutesFormat(QLocale::c()), QStringLiteral("HH:mm"));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QString usTime = us.toString(QTime(21, 5, 59), StatusClock::hoursAndMinutesFormat(us));
    QVERIFY2(usTime.startsWith(QLatin1String("9:05")) && usTime.endsWith(QLatin1String("PM")), qPrintable(usTime));
}

void TestMainWindow::tabCycle()
{
    m_window->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTRY_COMPARE(QApplication::focusWidget(), m_window->Text(Box::PayorLine1));

    // Every box holds a value as a file gives it back, its fill spaces wider
    // than the box. Entered with Tab, a box selects it all and shows its start.
    const QString reopened = QStringLiteral("1042") + QString(28, QLatin1Char(' '));
    for (int k = 1; k <= 14; ++k)
        m_window->Text(Box(k))->setText(reopened);
    const auto expectStartShown = [&] {
        auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!box)
            return;
        box->repaint(); // scrolls the box to its caret
        QCOMPARE(box->selectedText(), reopened);
        QCOMPARE(box->cursorPosition(), 0);
        // The first character stands at the box's left edge.
        QCOMPARE(box->cursorPositionAt(QPoint(1, box->height() / 2)), 0);
    };

    const QStringList cycle = {"Text1",  "Text2",  "Text3",  "Text4",    "Text5",    "Text6",
                               "Text7",  "Text8",  "Text9",  "Text10",   "Picture1", "Text11",
                               "Text12", "Text13", "Text14", "Command1", "Text1"};
    for (int i = 1; i < cycle.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), cycle.at(i));
        expectStartShown();
        if (QTest::currentTestFailed())
            return;
    }
    for (int i = cycle.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), cycle.at(i));
        expectStartShown();
        if (QTest::currentTestFailed())
            return;
    }
}

void TestMainWindow::caretStopsBlinkingWhenIdle()
{
    const int flashTime = QApplication::cursorFlashTime();
    QVERIFY(flashTime > 0);
    {
        CaretBlinkLimiter limiter(std::chrono::milliseconds(50));
        QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
        QTest::keyClick(m_window->Text(Box::PayorLine1), Qt::Key_A);
        QCOMPARE(QApplication::cursorFlashTime(), flashTime);
        QTRY_COMPARE(QApplication::cursorFlashTime(), 0);
    }
    QCOMPARE(QApplication::cursorFlashTime(), flashTime); // given back when it goes
}

void TestMainWindow::quickPrintPrintsTheWindowsTexts()
{
    using namespace PageItems;
    for (int k = 1; k <= 14; ++k)
        m_window->Text(Box(k))->setText(QStringLiteral("v%1").arg(k));
    m_window->Text(Box::MicrCheckNumber)->setText(QString());
    QTest::mouseClick(m_window->findChild<QPushButton*>("Command1"), Qt::LeftButton);

    QCOMPARE(m_fixture->printers.printer.pages.size(), 1);
    const QStringList out = PageItems::of(m_fixture->printers.printer.pages.first());
    QCOMPARE(out.first(), arial(3, 2, QStringLiteral("v1")));
    QVERIFY(out.contains(arial(28, 6, QStringLiteral("v7"))));
    QVERIFY(out.contains(arial(5, 6, QStringLiteral("Pay to the Order of"))));
    QVERIFY(out.contains(arial(85, 11, QStringLiteral("NO SIGNATURE REQUIRED. "))));
    QCOMPARE(out.last(), micr(25, QStringLiteral("v12")));
    QVERIFY(!out.join(QLatin1Char('\n')).contains(QLatin1String("v13")));
    QCOMPARE(m_fixture->messages.shown, QStringList{QStringLiteral("Quillo Has Been Sent To The Printer!")});
    QVERIFY(m_fixture->failures.reports.isEmpty());
}

void TestMainWindow::quickPrintFailureIsShownWithoutConfirmation()
{
    m_fixture->printers.printer.refusal = QStringLiteral("The printer ran out of paper.");
    m_window->Text(Box::PayorLine1)->setText(QStringLiteral("Jane Doe"));
    QTest::mouseClick(m_window->findChild<QPushButton*>("Command1"), Qt::LeftButton);

    QCOMPARE(m_fixture->failures.reports, QStringList{QStringLiteral("The printer ran out of paper.")});
    QVERIFY(m_fixture->messages.shown.isEmpty());
    QCOMPARE(m_window->Text(Box::PayorLine1)->text(), QStringLiteral("Jane Doe"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
