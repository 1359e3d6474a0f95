#include "fakes/FakeClipboard.h"
#include "fakes/FakeFocusedControl.h"
#include "fakes/FakeLoadedWindows.h"
#include "fakes/FakeSettingsStore.h"
#include "platform/QuilloError.h"
#include "ui/main/EditCommands.h"
#include "ui/main/MainWindowUnload.h"

#include <QtTest>

// The window's commands that need no widget: Cut, Copy, Paste and closing.
class TestEditCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void editing_data();
    void editing();
    void failureAfterTheClipboardWasEmptied();
    void unloadClosesNewestFirstThenWritesPlacement();
    void unloadWhileMinimisedWritesNothing();
};

void TestEditCommands::editing_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("clipboardBefore");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<int>("caretAfter");

    QTest::newRow("cut selection") << "cut"
                                   << "0210 123" << 5 << 3 << "x"
                                   << "0210 "
                                   << "123" << 5;
    QTest::newRow("cut nothing selected") << "cut"
                                          << "0210" << 2 << 0 << "x"
                                          << "0210"
                                          << "" << 2;
    QTest::newRow("copy selection") << "copy"
                                    << "Acme" << 0 << 2 << "x"
                                    << "Acme"
                                    << "Ac" << 0;
    QTest::newRow("copy nothing selected") << "copy"
                                           << "Acme" << 1 << 0 << "x"
                                           << "Acme"
                                           << "" << 1;
    QTest::newRow("paste over selection") << "paste"
                                          << "$10.00" << 1 << 2 << "25"
                                          << "$25.00"
                                          << "25" << 3;
    QTest::newRow("paste at caret") << "paste"
                                    << "Acme" << 4 << 0 << " Co."
                                    << "Acme Co."
                                    << " Co." << 8;
    QTest::newRow("paste empty deletes") << "paste"
                                         << "Acme" << 0 << 2 << ""
                                         << "me"
                                         << "" << 0;
}

void TestEditCommands::editing()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, clipboardBefore);
    QFETCH(QString, textAfter);
    QFETCH(QString, clipboardAfter);
    QFETCH(int, caretAfter);

    FakeClipboard clipboard;
    clipboard.content = clipboardBefore;
    FakeFocusedControl focused;
    focused.text = text;
    focused.selectionStart = start;
    focused.selectionLength = length;
    EditCommands commands(clipboard, focused);
    if (command == QLatin1String("cut"))
        commands.cut();
    else if (command == QLatin1String("copy"))
        commands.copy();
    else
        commands.paste();

    QCOMPARE(focused.text, textAfter);
    QCOMPARE(clipboard.content, clipboardAfter);
    if (command != QLatin1String("copy"))
        QCOMPARE(focused.selectionStart, caretAfter);
    if (command != QLatin1String("paste"))
        QCOMPARE(clipboard.log.first(), QStringLiteral("clear"));
}

void TestEditCommands::failureAfterTheClipboardWasEmptied()
{
    FakeClipboard clipboard;
    clipboard.content = QStringLiteral("before");
    FakeFocusedControl button;
    button.hasSelText = false;
    EditCommands commands(clipboard, button);

    QVERIFY_THROWS_EXCEPTION(QuilloError, commands.cut());
    QCOMPARE(clipboard.content, QString());
    QCOMPARE(clipboard.log, QStringList{QStringLiteral("clear")});

    clipboard.content = QStringLiteral("kept");
    QVERIFY_THROWS_EXCEPTION(QuilloError, commands.paste());
    QCOMPARE(clipboard.content, QStringLiteral("kept"));
}

void TestEditCommands::unloadClosesNewestFirstThenWritesPlacement()
{
    FakeLoadedWindows windows;
    windows.names = {"main", "first browser", "About", "second browser"};
    FakeSettingsStore settings;
    MainWindowUnload::run(windows, settings, QStringLiteral("Quillo"), false, {1200, 960, 9225, 7110});
    QCOMPARE(windows.unloaded, (QStringList{"second browser", "About", "first browser"}));
    QCOMPARE(windows.names, QStringList{"main"});
    QCOMPARE(settings.written, (QStringList{"Quillo/Settings/MainLeft=1200", "Quillo/Settings/MainTop=960",
                                            "Quillo/Settings/MainWidth=9225", "Quillo/Settings/MainHeight=7110"}));
}

void TestEditCommands::unloadWhileMinimisedWritesNothing()
{
    FakeLoadedWindows windows;
    windows.names = {"main", "browser"};
    FakeSettingsStore settings;
    MainWindowUnload::run(windows, settings, QStringLiteral("Quillo"), true, {-4800, 0, 1, 1});
    QCOMPARE(windows.unloaded, QStringList{"browser"});
    QVERIFY(settings.written.isEmpty());
}

QTEST_GUILESS_MAIN(TestEditCommands)
#include "tst_editcommands.moc"
