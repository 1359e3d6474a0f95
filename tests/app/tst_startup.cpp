#include "app/AppServices.h"
#include "app/Module1.h"
#include "app/frmSplash.h"
#include "fakes/FakeApplicationFacts.h"
#include "fakes/FakeKeyring.h"
#include "platform/Twips.h"
#include "system/qt/Fonts.h"
#include "ui/main/frmMain.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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

// Every window that is shown, by name, in order.
class ShownWindows : public QObject {
public:
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            names << watched->objectName();
        return false;
    }
};

// Answers each modal dialog as it comes up, as a merchant who cancels:
// Cancel on the passphrase, No on a question. Keeps what each said.
class CancellingMerchant : public QObject {
public:
    QStringList seen;

    CancellingMerchant()
    {
        connect(&m_look, &QTimer::timeout, this, [this] { answer(); });
        m_look.start(10);
    }

private:
    QTimer m_look;

    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << box->objectName() + QStringLiteral(": ") + box->text();
            box->button(QMessageBox::No)->click();
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            seen << dialog->objectName() + QStringLiteral(": ") +
                        dialog->findChild<QLabel*>(QStringLiteral("lblPrompt"))->text();
            dialog->reject();
        }
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void splashComesAndGoesBeforeTheMainWindow();
    void aFirstStartWithoutKeyringAsksNothingUntilThePrint();
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

void TestStartup::aFirstStartWithoutKeyringAsksNothingUntilThePrint()
{
    const QByteArray variable = qgetenv("QUILLO_REGISTER_PASSPHRASE");
    qunsetenv("QUILLO_REGISTER_PASSPHRASE");
    auto restore = qScopeGuard([variable] { qputenv("QUILLO_REGISTER_PASSPHRASE", variable); });
    FakeKeyring keyring;
    keyring.ready = KeyringKeys::Readiness::Absent;

    ShownWindows shown;
    qApp->installEventFilter(&shown);
    AppServices services(&keyring);
    Module1::Main(services);
    QTRY_VERIFY(services.registerStartFinished());
    // Whatever was shown by now: the start is over.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(&shown);
    QCOMPARE(shown.names, QStringList({"frmSplash", "frmMain"}));
    QVERIFY(!services.draftRegister().isOpen());
    QCOMPARE(keyring.reads, 0);

    // The first print asks, once the keyring has been looked at off the
    // window's thread, and says why; cancelled, it offers to print unrecorded.
    CancellingMerchant merchant;
    Module1::MainWindow->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QTRY_COMPARE(
        merchant.seen,
        QStringList({"frmPassphrase: To record this draft, Quillo needs the register's passphrase. The desktop's "
                     "keyring is not running or does not answer, so the draft register is protected with a "
                     "passphrase instead. Choose one: Quillo asks for it once a run, when the register is first "
                     "needed, and without it the register cannot be read.",
                     "QuilloQuestionBox: The draft register cannot be written: no register passphrase was "
                     "given. Print without recording it?"}));
    QVERIFY(keyring.keys.isEmpty());
    QCOMPARE(keyring.onMainThread, 0);
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
