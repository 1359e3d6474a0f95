#include "fakes/FakeFileSystemChecks.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakeProcessStarter.h"
#include "fakes/FakeRegistry.h"
#include "platform/SystemInfoLauncher.h"

#include <QtTest>

namespace {

const QByteArray InfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString Unavailable = QStringLiteral("System Information Is Unavailable At This Time");

// A registry value to put in place; type 0 means none.
struct Entry {
    std::uint32_t type = 0;
    QByteArray bytes;
};

Entry text(const QByteArray& value)
{
    return {Registry::RegSz, value + QByteArray(1, '\0')};
}

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestSystemInfoLauncher : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void getKeyValue_data();
    void getKeyValue();
    void getKeyValueOpensForReadingOnly();
    void startSysInfo_data();
    void startSysInfo();

private:
    struct World {
        FakeRegistry registry;
        FakeFileSystemChecks files;
        FakeProcessStarter processes;
        FakeMessageBox messages;
        SystemInfoLauncher launcher{registry, files, processes, messages};
    };
};

void TestSystemInfoLauncher::getKeyValue_data()
{
    QTest::addColumn<bool>("keyExists");
    QTest::addColumn<Entry>("value");
    QTest::addColumn<QString>("passed");
    QTest::addColumn<bool>("expectedResult");
    QTest::addColumn<QString>("expectedText");

    const QString passed = QStringLiteral("as passed");
    const QByteArray longest(1023, 'x'); // with its NUL exactly fills the buffer

    QTest::newRow("text") << true << text("C:\\Tools\\info.exe") << passed << true
                          << QStringLiteral("C:\\Tools\\info.exe");
    QTest::newRow("empty text") << true << text("") << passed << true << QString();
    QTest::newRow("text cut at the first NUL") << true << Entry{Registry::RegSz, QByteArray("C:\\a.exe\0C:\\b.exe", 17)}
                                               << passed << true << QStringLiteral("C:\\a.exe");
    QTest::newRow("text without NUL") << true << Entry{Registry::RegSz, "abc"} << passed << true
                                      << QStringLiteral("abc");
    QTest::newRow("text filling the buffer") << true << text(longest) << passed << true << QString::fromLatin1(longest);
    QTest::newRow("1024 bytes without NUL")
        << true << Entry{Registry::RegSz, QByteArray(1024, 'y')} << passed << true << QString(1024, QLatin1Char('y'));
    QTest::newRow("text longer than the buffer") << true << text(QByteArray(1024, 'x')) << passed << false << QString();

    const auto dword = [](std::uint32_t n) {
        QByteArray b;
        for (int i = 0; i < 4; ++i)
            b.append(static_cast<char>((n >> (8 * i)) & 0xFF));
        return Entry{Registry::RegDword, b};
    };
    QTest::newRow("number 0") << true << dword(0) << passed << true << QStringLiteral("0");
    QTest::newRow("number 7") << true << dword(7) << passed << true << QStringLiteral("7");
    QTest::newRow("number with a zero byte") << true << dword(256) << passed << true << QStringLiteral("256");
    QTest::newRow("number 0x12345678") << true << dword(0x12345678) << passed << true << QStringLiteral("305419896");
    QTest::newRow("number with the top bit set")
        << true << dword(0xFFFFFFFF) << passed << true << QStringLiteral("4294967295");

    QTest::newRow("expandable text is left as passed")
        << true << Entry{Registry::RegExpandSz, QByteArray("%windir%\0", 9)} << passed << true << passed;
    QTest::newRow("binary is left as passed")
        << true << Entry{Registry::RegBinary, QByteArray("\x01\x02", 2)} << passed << true << passed;

    QTest::newRow("value missing") << true << Entry{} << passed << false << QString();
    QTest::newRow("key missing") << false << Entry{} << passed << false << QString();
}

void TestSystemInfoLauncher::getKeyValue()
{
    QFETCH(bool, keyExists);
    QFETCH(Entry, value);
    QFETCH(QString, passed);
    QFETCH(bool, expectedResult);
    QFETCH(QString, expectedText);

    World world;
    if (keyExists)
        world.registry.addKey("Software\\Quillo");
    if (value.type != 0)
        world.registry.setValue("Software\\Quillo", "Setting", value.type, value.bytes);

    QString keyVal = passed;
    const bool result = world.launcher.GetKeyValue(Registry::HKeyLocalMachine, QStringLiteral("SOFTWARE\\QUILLO"),
                                                   QStringLiteral("setting"), keyVal);
    QCOMPARE(result, expectedResult);
    QCOMPARE(keyVal, expectedText);
    QCOMPARE(world.registry.openKeys(), 0);
    QVERIFY(world.messages.shown.isEmpty());
}

void TestSystemInfoLauncher::getKeyValueOpensForReadingOnly()
{
    World world;
    world.registry.setString(InfoKey, "PATH", "C:\\x.exe");
    QString keyVal;
    QVERIFY(world.launcher.GetKeyValue(Registry::HKeyLocalMachine, QString::fromLatin1(InfoKey), QStringLiteral("PATH"),
                                       keyVal));
    QCOMPARE(world.registry.openings.size(), 1);
    const FakeRegistry::Opening& opening = world.registry.openings.first();
    QCOMPARE(opening.root, 0x80000002u);
    QCOMPARE(opening.keyName, InfoKey);
    QCOMPARE(opening.options, 0u);
    QCOMPARE(opening.access, 0x20019u); // KEY_READ: no write rights under HKEY_LOCAL_MACHINE
}

void TestSystemInfoLauncher::startSysInfo_data()
{
    QTest::addColumn<Entry>("path");
    QTest::addColumn<Entry>("location");
    QTest::addColumn<QStringList>("existingFiles");
    QTest::addColumn<QStringList>("failingStarts");
    QTest::addColumn<QStringList>("expectedStarts");
    QTest::addColumn<QStringList>("expectedOpenings");
    QTest::addColumn<bool>("unavailable");

    const QString program = QStringLiteral("C:\\WINDOWS\\System32\\msinfo32.exe");
    const QString folder = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo");
    const QString folderProgram = folder + QStringLiteral("\\MSINFO32.EXE");
    const QStringList none;
    const QStringList first = {QString::fromLatin1(InfoKey)};
    const QStringList both = {QString::fromLatin1(InfoKey), QString::fromLatin1(LocationKey)};

    QTest::newRow("first value started as read, not checked")
        << text(program.toLatin1()) << Entry{} << none << none << QStringList{program} << first << false;
    QTest::newRow("first value wins over the second")
        << text(program.toLatin1()) << text(folder.toLatin1()) << QStringList{folderProgram} << none
        << QStringList{program} << first << false;
    QTest::newRow("first value unchanged, spaces and all")
        << text(" C:\\My Tools\\info.exe ") << Entry{} << none << none << QStringList{" C:\\My Tools\\info.exe "}
        << first << false;
    QTest::newRow("first value that cannot start")
        << text(program.toLatin1()) << text(folder.toLatin1()) << QStringList{folderProgram} << QStringList{program}
        << QStringList{program} << first << true;
    QTest::newRow("first value of another type gives an empty path")
        << Entry{Registry::RegBinary, QByteArray("\x01\x02\x03", 3)} << Entry{} << none << none << QStringList{""}
        << first << true;
    QTest::newRow("first value longer than the buffer falls back to the second")
        << text(QByteArray(1024, 'x')) << text(folder.toLatin1()) << QStringList{folderProgram} << none
        << QStringList{folderProgram} << both << false;
    QTest::newRow("first value longer than the buffer, no second")
        << text(QByteArray(1024, 'x')) << Entry{} << none << none << none << both << true;
    QTest::newRow("only the second: folder and MSINFO32.EXE")
        << Entry{} << text(folder.toLatin1()) << QStringList{folderProgram} << none << QStringList{folderProgram}
        << both << false;
    QTest::newRow("only the second, its file missing")
        << Entry{} << text(folder.toLatin1()) << QStringList{folder + QStringLiteral("\\msinfo.exe")} << none << none
        << both << true;
    QTest::newRow("only the second, its program cannot start")
        << Entry{} << text(folder.toLatin1()) << QStringList{folderProgram} << QStringList{folderProgram}
        << QStringList{folderProgram} << both << true;
    QTest::newRow("neither") << Entry{} << Entry{} << none << none << none << both << true;
}

void TestSystemInfoLauncher::startSysInfo()
{
    QFETCH(Entry, path);
    QFETCH(Entry, location);
    QFETCH(QStringList, existingFiles);
    QFETCH(QStringList, failingStarts);
    QFETCH(QStringList, expectedStarts);
    QFETCH(QStringList, expectedOpenings);
    QFETCH(bool, unavailable);

    World world;
    // Both keys exist; only the values come and go.
    world.registry.addKey(InfoKey);
    world.registry.addKey(LocationKey);
    if (path.type != 0)
        world.registry.setValue(InfoKey, "PATH", path.type, path.bytes);
    if (location.type != 0)
        world.registry.setValue(LocationKey, "MSINFO", location.type, location.bytes);
    world.files.files = QSet<QString>(existingFiles.begin(), existingFiles.end());
    world.processes.failing = QSet<QString>(failingStarts.begin(), failingStarts.end());

    world.launcher.StartSysInfo();

    QCOMPARE(world.processes.attempts, expectedStarts);
    QCOMPARE(world.messages.shown, unavailable ? QStringList{Unavailable} : QStringList{});
    QStringList opened;
    for (const FakeRegistry::Opening& opening : world.registry.openings)
        opened.append(QString::fromLatin1(opening.keyName));
    QCOMPARE(opened, expectedOpenings);
    QCOMPARE(world.registry.openKeys(), 0);
}

QTEST_GUILESS_MAIN(TestSystemInfoLauncher)
#include "tst_systeminfolauncher.moc"
