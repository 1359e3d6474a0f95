#include "fakes/TestFiles.h"
#include "platform/QuilloError.h"
#include "system/qt/QtFocusedControl.h"
#include "system/qt/QtSettingsStore.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestSettingsStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void valuesLandInQuillosOwnFile();
    void unwritableFolderIsAFailure();
    void focusedControlSelectionText();
};

void TestSettingsStore::valuesLandInQuillosOwnFile()
{
    QtSettingsStore store;
    store.saveSetting(QStringLiteral("Quillo"), QStringLiteral("Settings"), QStringLiteral("MainLeft"),
                      QStringLiteral("1200"));
    store.saveSetting(QStringLiteral("Quillo"), QStringLiteral("Settings"), QStringLiteral("MainTop"),
                      QStringLiteral("-75"));
    const QString path = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Quillo/Quillo.conf");
    QVERIFY2(path.startsWith(qEnvironmentVariable("QUILLO_TEST_SANDBOX")), "settings must stay in the sandbox");
    QCOMPARE(TestFiles::read(path), QByteArray("[Settings]\nMainLeft=1200\nMainTop=-75\n"));
}

void TestSettingsStore::unwritableFolderIsAFailure()
{
    // A configuration "folder" that is a file cannot hold the settings file,
    // whoever runs the test.
    const QString blocker = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Blocked");
    QVERIFY(TestFiles::write(blocker, "not a folder"));
    QtSettingsStore store;
    QVERIFY_THROWS_EXCEPTION(QuilloError, store.saveSetting(QStringLiteral("Blocked"), QStringLiteral("Settings"),
                                                            QStringLiteral("MainLeft"), QStringLiteral("1")));
}

void TestSettingsStore::focusedControlSelectionText()
{
    QWidget window;
    auto* box = new QLineEdit(QStringLiteral("Springfield"), &window);
    auto* combo = new QComboBox(&window);
    combo->setEditable(true);
    combo->setEditText(QStringLiteral("file:///tmp/page.html"));
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QtFocusedControl focused;
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    box->setSelection(0, 6);
    QCOMPARE(focused.selText(), QStringLiteral("Spring"));
    focused.setSelText(QStringLiteral("Summer"));
    QCOMPARE(box->text(), QStringLiteral("Summerfield"));
    QCOMPARE(box->cursorPosition(), 6);

    combo->setFocus();
    QTRY_VERIFY(combo->hasFocus());
    combo->lineEdit()->setSelection(0, 4);
    QCOMPARE(focused.selText(), QStringLiteral("file"));

    button->setFocus();
    QTRY_VERIFY(button->hasFocus());
    QVERIFY_THROWS_EXCEPTION(QuilloError, focused.selText());
    QVERIFY_THROWS_EXCEPTION(QuilloError, focused.setSelText(QStringLiteral("x")));
}

QTEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
