#include "system/qt/Fonts.h"
#include "ui/main/MainWindowFixture.h"

#include <QDir>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

// Saves pictures of the windows under a real X server, for people to look
// at: build/screenshots/. Nothing here judges pixels.
class TestScreenshot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::install(); }
    void mainWindow();
};

void TestScreenshot::mainWindow()
{
    MainWindowFixture fixture;
    auto window = fixture.makeWindow();
    window->Load();
    typeSampleCheque(*window);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    const QString folder = qEnvironmentVariable("QUILLO_BINARY_DIR") + QStringLiteral("/screenshots");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/frmMain.png");
    QVERIFY(window->grab().save(path));
    qInfo("Saved %s", qPrintable(path));
}

QTEST_MAIN(TestScreenshot)
#include "tst_screenshot.moc"
