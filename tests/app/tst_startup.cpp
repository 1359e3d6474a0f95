#include "app/AppServices.h"
#include "app/Module1.h"
#include "app/frmSplash.h"
#include "fakes/FakeApplicationFacts.h"
#include "platform/Twips.h"
#include "platform/qt/Fonts.h"
#include "ui/main/frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include <sys/prctl.h>
#include <sys/resource.h>

namespace {

// Watches the two windows appear and go, and what each looked like then.
class StartupWatcher : public QObject {
public:
    QStringList events;
    bool splashExistedWhenMainShown = true;
    QString mainCaptionWhenShown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QString name = watched->objectName();
        if (name != QLatin1String("frmSplash") && name != QLatin1String("frmMain"))
            return false;
        if (event->type() == QEvent::Show) {
            events << name + QStringLiteral(" shown");
            if (name == QLatin1String("frmMain")) {
                splashExistedWhenMainShown = false;
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (window->objectName() == QLatin1String("frmSplash") && window->isVisible())
                        splashExistedWhenMainShown = true;
                }
                mainCaptionWhenShown = static_cast<QWidget*>(watched)->windowTitle();
            }
        } else if (event->type() == QEvent::Paint && name == QLatin1String("frmSplash")) {
            if (!events.contains(QStringLiteral("frmSplash painted")))
                events << QStringLiteral("frmSplash painted");
        }
        return false;
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void splashComesAndGoesBeforeTheMainWindow();
    void splashWindow();
};

void TestStartup::splashComesAndGoesBeforeTheMainWindow()
{
    StartupWatcher watcher;
    QCOMPARE(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 1);
    qApp->installEventFilter(&watcher);
    AppServices services;
    Module1::Main(services);
    qApp->removeEventFilter(&watcher);

    // No core dump can hold the register's keys, and no debugger of the user's attaches.
    QCOMPARE(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
    rlimit core{};
    QCOMPARE(::getrlimit(RLIMIT_CORE, &core), 0);
    QCOMPARE(core.rlim_cur, rlim_t(0));

    QVERIFY(Module1::MainWindow);
    QCOMPARE(watcher.events.first(), QStringLiteral("frmSplash shown"));
    QVERIFY(watcher.events.contains(QStringLiteral("frmSplash painted")));
    QCOMPARE(watcher.events.last(), QStringLiteral("frmMain shown"));
    QVERIFY(!watcher.splashExistedWhenMainShown);
    QVERIFY(Module1::MainWindow->isVisible());
    // After the start, the main window is the only loaded window.
    QCOMPARE(services.windows().count(), 1);
    QCOMPARE(services.windows().at(0), Module1::MainWindow);
    QTRY_COMPARE(QApplication::focusWidget(), Module1::MainWindow->Text(Box::PayorLine1));
    delete Module1::MainWindow;
    Module1::MainWindow = nullptr;
}

void TestStartup::splashWindow()
{
    FakeApplicationFacts facts;
    facts.minor = 10;
    frmSplash splash(facts);
    QVERIFY(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(splash.windowTitle(), QString());
    QCOMPARE(splash.contentsRect().size(), Twips::forScreen().toPixels(0, 0, 7455, 4710).size());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(qAbs(splash.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(splash.geometry().center().y() - screen.center().y()) <= 1);

    auto text = [&](const char* name) { return splash.findChild<QLabel*>(QString::fromLatin1(name))->text(); };
    QCOMPARE(text("lblPlatform"), QStringLiteral("Windows 95/98"));
    QCOMPARE(text("lblVersion"), QStringLiteral("Version 1.10.0"));
    QVERIFY(!text("lblCopyright").isEmpty());
    QVERIFY(!text("lblCompany").isEmpty());
    for (QLabel* label : splash.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
    }
    auto* version = splash.findChild<QLabel*>(QStringLiteral("lblVersion"));
    QCOMPARE(version->font().bold(), true);
    QCOMPARE(version->font().pointSizeF(), 9.75);
    QCOMPARE(version->pos(), Twips::forScreen().toPixels(4200, 2400, 0, 0).topLeft());
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("lblCompany"))->font().pointSizeF(), 12.0);

    // Nothing the user does closes it.
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::keyClick(&splash, Qt::Key_Escape);
    QTest::keyClick(&splash, Qt::Key_F4, Qt::AltModifier);
    QTest::mouseClick(&splash, Qt::LeftButton);
    QVERIFY(splash.isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
