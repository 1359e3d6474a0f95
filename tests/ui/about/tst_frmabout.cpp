#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeFileSystemChecks.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakeProcessStarter.h"
#include "fakes/FakeRegistry.h"
#include "platform/Twips.h"
#include "system/qt/WindowList.h"
#include "ui/about/frmAbout.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>

namespace {

const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");
const QString AboutPicture = QStringLiteral(":/pictures/about-picture.png");

QRgb pixel(const QImage& image, QPoint at)
{
    return image.pixel(at) & 0xFFFFFF;
}

} // namespace

class TestFrmAbout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loadFillsTheLabels();
    void everyControlTakesTheWindowFont();
    void screenReadersReadEveryControl_data();
    void screenReadersReadEveryControl();
    void showModalLoadsAfreshAndReturnsOnceUnloaded();
    void closes_data();
    void closes();
    void isAModalFixedDialogOfItsOwner();
    void centredOverOwner_data();
    void centredOverOwner();
    void geometry_data();
    void geometry();
    void separatorIsEtched();
    void pictureOnLightGrey();
    void tabOrder();
    void sysInfoStartsTheRecordedProgram();
    void sysInfoUnavailableKeepsTheBoxOpen();

private:
    AboutServices services();
    frmAbout* loadShown();
    // Shows the box with showModal and runs `whileShown` on it once it is up.
    // Tells whether the box was up; a box that `whileShown` leaves open is
    // closed so that showModal returns, and `leftOpen` says so.
    bool runModal(const std::function<void(frmAbout*)>& whileShown, bool* leftOpen = nullptr);

    FakeApplicationFacts m_facts;
    FakeMessageBox m_messages;
    FakeRegistry m_registry;
    FakeFileSystemChecks m_files;
    FakeProcessStarter m_processes;
    std::unique_ptr<WindowList> m_windows;
    std::unique_ptr<QWidget> m_owner;
};

void TestFrmAbout::init()
{
    m_facts = FakeApplicationFacts();
    m_messages = FakeMessageBox();
    m_registry = FakeRegistry();
    m_files = FakeFileSystemChecks();
    m_processes = FakeProcessStarter();
    m_windows = std::make_unique<WindowList>();
    m_owner = std::make_unique<QWidget>();
    m_owner->setWindowTitle(QStringLiteral("Cheque entry"));
    m_owner->setGeometry(100, 80, 600, 420);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));
}

void TestFrmAbout::cleanup()
{
    m_owner.reset();
    m_windows.reset();
}

AboutServices TestFrmAbout::services()
{
    AboutServices services;
    services.facts = &m_facts;
    services.messages = &m_messages;
    services.registry = &m_registry;
    services.files = &m_files;
    services.processes = &m_processes;
    services.windows = m_windows.get();
    return services;
}

frmAbout* TestFrmAbout::loadShown()
{
    auto* box = new frmAbout(services(), m_owner.get());
    box->show();
    return box;
}

bool TestFrmAbout::runModal(const std::function<void(frmAbout*)>& whileShown, bool* leftOpen)
{
    bool wasUp = false;
    QTimer::singleShot(0, this, [&] {
        QPointer<frmAbout> box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        if (!box)
            return;
        wasUp = true;
        whileShown(box);
        const bool open = box && box->isVisible();
        if (leftOpen)
            *leftOpen = open;
        if (open)
            box->done(QDialog::Rejected);
    });
    frmAbout::showModal(m_owner.get(), services());
    return wasUp;
}

void TestFrmAbout::loadFillsTheLabels()
{
    m_facts.minor = 4;
    m_facts.revision = 12;
    QPointer<frmAbout> box = new frmAbout(services(), m_owner.get());

    QCOMPARE(box->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(box->windowTitle(), QStringLiteral("About Quillo"));
    QCOMPARE(box->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Quillo"));
    QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.4.12"));
    QCOMPARE(box->findChild<QLabel*>("lblDescription")->text(),
             QStringLiteral("Accepts checks by Phone, Fax, and Email."));
    QCOMPARE(box->findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
    QCOMPARE(box->findChild<QPushButton*>("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
    // The title and description are black whatever the style's text colour.
    QCOMPARE(box->findChild<QLabel*>("lblTitle")->palette().color(QPalette::WindowText), QColor(Qt::black));
    QCOMPARE(box->findChild<QLabel*>("lblDescription")->palette().color(QPalette::WindowText), QColor(Qt::black));
    QVERIFY(!box->isVisible());
}

void TestFrmAbout::everyControlTakesTheWindowFont()
{
    frmAbout* box = loadShown();
    QCOMPARE(box->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(box->font().pointSizeF(), 8.25);
    for (const char* name : {"lblTitle", "lblVersion", "lblDescription", "cmdOK", "cmdSysInfo"}) {
        const QWidget* control = box->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(control->font() == box->font(), name);
        QVERIFY2(!control->font().bold(), name);
    }
}

void TestFrmAbout::screenReadersReadEveryControl_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("readAs");
    QTest::newRow("picIcon") << "picIcon" << QAccessible::Graphic
                             << "Quillo picture: a quill in an inkwell in front of a check";
    QTest::newRow("lblTitle") << "lblTitle" << QAccessible::StaticText << "Quillo";
    QTest::newRow("lblVersion") << "lblVersion" << QAccessible::StaticText << "Version 1.0.0";
    QTest::newRow("lblDescription") << "lblDescription" << QAccessible::StaticText
                                    << "Accepts checks by Phone, Fax, and Email.";
    QTest::newRow("cmdOK") << "cmdOK" << QAccessible::Button << "OK";
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QAccessible::Button << "System Info...";
}

void TestFrmAbout::screenReadersReadEveryControl()
{
    QFETCH(QString, name);
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, readAs);
    frmAbout* box = loadShown();
    QAccessibleInterface* control = QAccessible::queryAccessibleInterface(box->findChild<QWidget*>(name));
    QVERIFY(control);
    QCOMPARE(control->role(), role);
    QCOMPARE(control->text(QAccessible::Name), readAs);
}

void TestFrmAbout::showModalLoadsAfreshAndReturnsOnceUnloaded()
{
    QPointer<frmAbout> first;
    QVERIFY(runModal([&](frmAbout* box) {
        first = box;
        QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.0.0"));
        QCOMPARE(m_windows->count(), 1);
        QCOMPARE(m_windows->at(0), box);
        QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    }));
    // showModal has returned: the box is gone, not merely hidden.
    QVERIFY(first.isNull());
    QCOMPARE(m_windows->count(), 0);

    m_facts.minor = 2;
    QVERIFY(runModal([&](frmAbout* box) {
        QCOMPARE(box->findChild<QLabel*>("lblVersion")->text(), QStringLiteral("Version 1.2.0"));
        QCOMPARE(box->findChild<QLabel*>("lblTitle")->text(), QStringLiteral("Quillo"));
        QCOMPARE(box->windowTitle(), QStringLiteral("About Quillo"));
        QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    }));
    QVERIFY(m_owner->findChildren<frmAbout*>().isEmpty());
}

void TestFrmAbout::closes_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("pressesOK");
    QTest::newRow("Enter") << QStringLiteral("Return") << true;
    QTest::newRow("keypad Enter") << QStringLiteral("Enter") << true;
    QTest::newRow("Esc") << QStringLiteral("Escape") << true;
    QTest::newRow("OK clicked") << QStringLiteral("click") << true;
    QTest::newRow("OK by its space bar") << QStringLiteral("Space") << true;
    QTest::newRow("title-bar close button") << QStringLiteral("close") << false;
}

void TestFrmAbout::closes()
{
    QFETCH(QString, how);
    QFETCH(bool, pressesOK);

    int okPresses = 0;
    bool leftOpen = true;
    QVERIFY(runModal(
        [&](frmAbout* box) {
            auto* cmdOK = box->findChild<QPushButton*>("cmdOK");
            connect(cmdOK, &QPushButton::clicked, this, [&] { ++okPresses; });
            QCOMPARE(box->focusWidget(), cmdOK);
            if (how == QLatin1String("click"))
                QTest::mouseClick(cmdOK, Qt::LeftButton);
            else if (how == QLatin1String("close"))
                box->windowHandle()->close();
            else if (how == QLatin1String("Return"))
                QTest::keyClick(box->focusWidget(), Qt::Key_Return);
            else if (how == QLatin1String("Enter"))
                QTest::keyClick(box->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
            else if (how == QLatin1String("Escape"))
                QTest::keyClick(box->focusWidget(), Qt::Key_Escape);
            else if (how == QLatin1String("Space"))
                QTest::keyClick(box->focusWidget(), Qt::Key_Space);
        },
        &leftOpen));
    QVERIFY(!leftOpen);
    QCOMPARE(okPresses, pressesOK ? 1 : 0);
    QVERIFY(m_owner->findChildren<frmAbout*>().isEmpty());
    QCOMPARE(m_windows->count(), 0);
}

void TestFrmAbout::isAModalFixedDialogOfItsOwner()
{
    QVERIFY(runModal([&](frmAbout* box) {
        QCOMPARE(box->parentWidget(), m_owner.get());
        QCOMPARE(box->windowModality(), Qt::ApplicationModal);
        QVERIFY(!m_owner->isEnabled() || QApplication::activeModalWidget() == box);
        // Owned, hence no taskbar entry of its own.
        QCOMPARE(box->windowHandle()->transientParent(), m_owner->windowHandle());
        QCOMPARE(box->windowType(), Qt::Dialog);
        const Qt::WindowFlags flags = box->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
        QCOMPARE(box->minimumSize(), box->maximumSize());
    }));
}

void TestFrmAbout::centredOverOwner_data()
{
    QTest::addColumn<QRect>("ownerGeometry");
    QTest::addColumn<bool>("centred");
    QTest::newRow("owner on the screen") << QRect(100, 80, 600, 420) << true;
    QTest::newRow("small owner") << QRect(300, 200, 200, 120) << true;
    QTest::newRow("owner half off the left edge") << QRect(-500, 100, 600, 420) << false;
}

void TestFrmAbout::centredOverOwner()
{
    QFETCH(QRect, ownerGeometry);
    QFETCH(bool, centred);

    m_owner->setGeometry(ownerGeometry);
    QRect ownerFrame;
    QRect boxFrame;
    QRect available;
    QVERIFY(runModal([&](frmAbout* box) {
        ownerFrame = m_owner->frameGeometry();
        boxFrame = box->frameGeometry();
        available = box->screen()->availableGeometry();
    }));
    if (centred) {
        QVERIFY2(std::abs(boxFrame.center().x() - ownerFrame.center().x()) <= 1,
                 qPrintable(QDebug::toString(boxFrame)));
        QVERIFY2(std::abs(boxFrame.center().y() - ownerFrame.center().y()) <= 1,
                 qPrintable(QDebug::toString(boxFrame)));
    } else {
        QCOMPARE(boxFrame.left(), available.left());
        QVERIFY(std::abs(boxFrame.center().y() - ownerFrame.center().y()) <= 1);
    }
}

void TestFrmAbout::geometry_data()
{
    // The designed places in twips; lines run from (left, top) to (right, top)
    // and have a thickness in pixels.
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("linePixels");

    QTest::newRow("client area") << QString() << 0 << 0 << 5865 << 3630 << 0;
    QTest::newRow("picIcon") << "picIcon" << 120 << 120 << 1710 << 2760 << 0;
    QTest::newRow("lblTitle") << "lblTitle" << 2130 << 240 << 3495 << 480 << 0;
    QTest::newRow("lblVersion") << "lblVersion" << 2130 << 780 << 3495 << 225 << 0;
    QTest::newRow("lblDescription") << "lblDescription" << 2130 << 1125 << 3495 << 1170 << 0;
    QTest::newRow("cmdOK") << "cmdOK" << 4245 << 2625 << 1467 << 345 << 0;
    QTest::newRow("cmdSysInfo") << "cmdSysInfo" << 4260 << 3075 << 1452 << 345 << 0;
    QTest::newRow("Line1 grey") << "Line1_1" << 225 << 2430 << 5657 - 225 << 0 << 1;
    QTest::newRow("Line1 white") << "Line1_0" << 240 << 2445 << 5657 - 240 << 0 << 2;
}

void TestFrmAbout::geometry()
{
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, linePixels);

    frmAbout* box = loadShown();
    const QWidget* control = name.isEmpty() ? box : box->findChild<QWidget*>(name);
    QVERIFY(control);
    const QRect pixels = name.isEmpty() ? QRect(QPoint(0, 0), box->size()) : control->geometry();

    // Half a pixel, in twips, is as close as a pixel grid can come.
    const Twips twips = Twips::forScreen();
    const int tolerance = static_cast<int>(std::ceil(Twips::PerInch / twips.dpi() / 2));
    const auto near = [&](int actualPixels, int expectedTwips) {
        return std::abs(twips.fromPixels(actualPixels) - expectedTwips) <= tolerance;
    };
    const QString actual = QDebug::toString(pixels);
    QVERIFY2(near(pixels.x(), left), qPrintable(actual));
    QVERIFY2(near(pixels.y(), top), qPrintable(actual));
    QVERIFY2(near(pixels.width(), width), qPrintable(actual));
    if (linePixels > 0)
        QCOMPARE(pixels.height(), linePixels);
    else
        QVERIFY2(near(pixels.height(), height), qPrintable(actual));
}

void TestFrmAbout::separatorIsEtched()
{
    frmAbout* box = loadShown();
    const Twips twips = Twips::forScreen();
    const QImage image = box->grab().toImage();
    const int x = twips.toPixels(3000);
    const int greyRow = twips.toPixels(2430);
    QCOMPARE(pixel(image, QPoint(x, greyRow)), 0x808080u);
    QCOMPARE(pixel(image, QPoint(x, greyRow + 1)), 0xFFFFFFu);
    QCOMPARE(pixel(image, QPoint(x, greyRow + 2)), 0xFFFFFFu);
    // Both lines end at the same place on the right.
    const int end = twips.toPixels(5657);
    QCOMPARE(pixel(image, QPoint(end - 1, greyRow)), 0x808080u);
    QCOMPARE(pixel(image, QPoint(end - 1, greyRow + 1)), 0xFFFFFFu);
    QVERIFY(pixel(image, QPoint(end + 1, greyRow)) != 0x808080u);
    // The picture lies over the separator where they meet.
    const QRect picture = box->findChild<QWidget*>("picIcon")->geometry();
    QVERIFY(picture.contains(twips.toPixels(1000), greyRow));
    QCOMPARE(image.pixel(twips.toPixels(1000), greyRow),
             box->findChild<QWidget*>("picIcon")->grab().toImage().pixel(twips.toPixels(1000) - picture.x(),
                                                                         greyRow - picture.y()));
}

void TestFrmAbout::pictureOnLightGrey()
{
    frmAbout* box = loadShown();
    auto* picIcon = box->findChild<QLabel*>("picIcon");
    QCOMPARE(picIcon->focusPolicy(), Qt::NoFocus);
    QCOMPARE(picIcon->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));

    const QPixmap picture(AboutPicture);
    const int border = picIcon->frameWidth();
    if (picture.isNull()) {
        // Without its picture the box shows the grey ground.
        QVERIFY(picIcon->pixmap().isNull());
        const QImage image = picIcon->grab().toImage();
        QCOMPARE(pixel(image, QPoint(border + 5, border + 5)), 0xC0C0C0u);
    } else {
        QCOMPARE(picture.size(), QSize(110, 180));
        QCOMPARE(picIcon->pixmap().size(), picture.size());
        QCOMPARE(picIcon->size(), picture.size() + QSize(2 * border, 2 * border));
    }
}

void TestFrmAbout::tabOrder()
{
    frmAbout* box = loadShown();
    auto* cmdOK = box->findChild<QPushButton*>("cmdOK");
    auto* cmdSysInfo = box->findChild<QPushButton*>("cmdSysInfo");
    QVERIFY(cmdOK->isDefault());

    QStringList order;
    QWidget* widget = cmdOK;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order.append(widget->objectName());
        widget = widget->nextInFocusChain();
    } while (widget != cmdOK && order.size() < 20);
    QCOMPARE(order, (QStringList{"cmdOK", "cmdSysInfo"}));

    QCOMPARE(box->focusWidget(), cmdOK);
    QTest::keyClick(cmdOK, Qt::Key_Tab);
    QCOMPARE(box->focusWidget(), cmdSysInfo);
    QTest::keyClick(cmdSysInfo, Qt::Key_Tab);
    QCOMPARE(box->focusWidget(), cmdOK);
}

void TestFrmAbout::sysInfoStartsTheRecordedProgram()
{
    m_registry.setString("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", "C:\\WINDOWS\\msinfo32.exe");
    QPointer<frmAbout> box = loadShown();
    QTest::mouseClick(box->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);
    QCOMPARE(m_processes.started, QStringList{QStringLiteral("C:\\WINDOWS\\msinfo32.exe")});
    QVERIFY(m_messages.shown.isEmpty());
    QVERIFY(box && box->isVisible());
}

void TestFrmAbout::sysInfoUnavailableKeepsTheBoxOpen()
{
    QPointer<frmAbout> box = loadShown();
    auto* cmdSysInfo = box->findChild<QPushButton*>("cmdSysInfo");
    QTest::mouseClick(cmdSysInfo, Qt::LeftButton);
    QCOMPARE(m_messages.shown, QStringList{Unavailable});
    QVERIFY(m_processes.attempts.isEmpty());
    QVERIFY(box && box->isVisible());

    // Still usable: the button works again and OK still closes.
    QTest::mouseClick(cmdSysInfo, Qt::LeftButton);
    QCOMPARE(m_messages.shown.size(), 2);
    QTest::mouseClick(box->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QTRY_VERIFY(box.isNull());
}

QTEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
