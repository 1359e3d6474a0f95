#include "fakes/TestFiles.h"
#include "platform/QuilloError.h"
#include "register/RegisterLocationSettings.h"
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
    void registerLocationIsWritten_data();
    void registerLocationIsWritten();
    void registerLocationIsRead_data();
    void registerLocationIsRead();
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

void TestSettingsStore::registerLocationIsWritten_data()
{
    QTest::addColumn<bool>("server");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("office server")
        << true
        << QByteArray("[Register]\nCaFile=/etc/quillo/office-ca.pem\nDatabase=drafts\nHost=db.office.example\n"
                      "Location=server\nPort=6543\nUser=frontdesk\n");
    // This computer's file: the server's fields stay for the next time it is chosen.
    QTest::newRow("this computer")
        << false
        << QByteArray("[Register]\nCaFile=/etc/quillo/office-ca.pem\nDatabase=drafts\nHost=db.office.example\n"
                      "Location=file\nPort=6543\nUser=frontdesk\n");
}

void TestSettingsStore::registerLocationIsWritten()
{
    QFETCH(bool, server);
    QFETCH(QByteArray, file);
    RegisterLocation location = RegisterLocation::file(QStringLiteral("/home/m/register.sqlite"));
    location.kind = server ? RegisterLocation::Kind::Server : RegisterLocation::Kind::File;
    location.host = QStringLiteral("db.office.example");
    location.port = 6543;
    location.database = QStringLiteral("drafts");
    location.user = QStringLiteral("frontdesk");
    location.caFile = QStringLiteral("/etc/quillo/office-ca.pem");
    const QString application = QStringLiteral("Written%1").arg(QTest::currentDataTag()).remove(QLatin1Char(' '));
    QtSettingsStore store;
    RegisterLocationSettings::save(location, store, application);
    QCOMPARE(TestFiles::read(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/%1/%1.conf").arg(application)),
             file);
}

void TestSettingsStore::registerLocationIsRead_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("server");
    QTest::addColumn<QStringList>("fields"); // host, port, database, user, CA file

    const QByteArray office = "Host=/var/run/postgresql\nDatabase=drafts\nUser=frontdesk\nCaFile=/etc/ca.pem\n";
    const QStringList officeFields{"/var/run/postgresql", "5432", "drafts", "frontdesk", "/etc/ca.pem"};
    QTest::newRow("no section") << QByteArray("[Settings]\nMainLeft=1200\n") << false
                                << QStringList{"", "5432", "", "", ""};
    QTest::newRow("server") << "[Register]\nLocation=server\n" + office << true << officeFields;
    QTest::newRow("server, capital and spaces") << "[Register]\nLocation= Server \n" + office << true << officeFields;
    QTest::newRow("file") << "[Register]\nLocation=file\n" + office << false << officeFields;
    QTest::newRow("unknown place") << "[Register]\nLocation=shared drive\n" + office << false << officeFields;
    QTest::newRow("port 1") << QByteArray("[Register]\nLocation=server\nPort=1\n") << true
                            << QStringList{"", "1", "", "", ""};
    QTest::newRow("port 0") << QByteArray("[Register]\nLocation=server\nPort=0\n") << true
                            << QStringList{"", "5432", "", "", ""};
    QTest::newRow("port 65535") << QByteArray("[Register]\nLocation=server\nPort=65535\n") << true
                                << QStringList{"", "65535", "", "", ""};
    QTest::newRow("port 65536") << QByteArray("[Register]\nLocation=server\nPort=65536\n") << true
                                << QStringList{"", "5432", "", "", ""};
    QTest::newRow("port in words") << QByteArray("[Register]\nLocation=server\nPort=five\n") << true
                                   << QStringList{"", "5432", "", "", ""};
    QTest::newRow("negative port") << QByteArray("[Register]\nLocation=server\nPort=-6543\n") << true
                                   << QStringList{"", "5432", "", "", ""};
}

void TestSettingsStore::registerLocationIsRead()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, server);
    QFETCH(QStringList, fields);
    // An application of its own per row: QSettings keeps a file it has read.
    const QString application = QStringLiteral("Read%1").arg(QTest::currentDataTag()).remove(QRegularExpression("\\W"));
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QLatin1Char('/') + application;
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(TestFiles::write(folder + QLatin1Char('/') + application + QStringLiteral(".conf"), file));

    const QtSettingsStore store;
    const RegisterLocation location =
        RegisterLocationSettings::load(store, application, QStringLiteral("/home/m/register.sqlite"));
    QCOMPARE(location.isServer(), server);
    QCOMPARE(location.path, QStringLiteral("/home/m/register.sqlite"));
    QCOMPARE(
        QStringList({location.host, QString::number(location.port), location.database, location.user, location.caFile}),
        fields);
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
