#include "fakes/FakeMessageBox.h"
#include "fakes/TestFiles.h"
#include "platform/SystemInfoLauncher.h"
#include "system/qt/QtFileSystemChecks.h"
#include "system/qt/QtProcessStarter.h"
#include "system/qt/StandInRegistry.h"
#include "system/qt/SystemInfoPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const QByteArray InfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

// Writes a program that leaves a marker file behind when it runs.
QString writeProgram(const QString& folder, const QString& name, const QString& marker,
                     QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)
{
    const QString path = QDir(folder).filePath(name);
    TestFiles::write(path, QStringLiteral("#!/bin/sh\necho started > '%1'\n").arg(marker).toLocal8Bit());
    QFile::setPermissions(path, permissions);
    return path;
}

// The value "PATH" of the MSINFO key as the registry answers it.
struct Answer {
    std::int32_t result = -1;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    QByteArray bytes;
};

Answer queryPath(Registry& registry, std::uint32_t bufferSize = 1024)
{
    Answer answer;
    Registry::Key key = 0;
    if (registry.openKey(Registry::HKeyLocalMachine, InfoKey.toLower(), 0, Registry::KeyRead, &key) != 0)
        return answer;
    QByteArray buffer(bufferSize, '\0');
    answer.size = bufferSize;
    answer.result = registry.queryValue(key, "path", &answer.type, buffer.data(), &answer.size);
    answer.bytes = buffer.left(static_cast<qsizetype>(std::min(answer.size, bufferSize)));
    registry.closeKey(key);
    return answer;
}

} // namespace

class TestSystemInfoPlatform : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void fileExists_data();
    void fileExists();
    void standInAnswersTheFirstProgramOfItsList();
    void standInKnowsOnlyTheMsinfoKey();
    void standInValueLongerThanTheBuffer();
    void processStarterReportsWhetherItStarted_data();
    void processStarterReportsWhetherItStarted();
    void systemInfoStartsTheProgramFoundOnPath();
    void systemInfoWithoutProgramIsUnavailable();

private:
    QByteArray m_savedPath;
    // A fresh folder for each test.
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestSystemInfoPlatform::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_savedPath = qgetenv("PATH");
}

void TestSystemInfoPlatform::cleanup()
{
    qputenv("PATH", m_savedPath);
    m_folder.reset();
}

void TestSystemInfoPlatform::fileExists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("expected");
    QTest::newRow("ordinary file") << QStringLiteral("MSINFO32.EXE") << true;
    QTest::newRow("hidden file") << QStringLiteral(".MSINFO32.EXE") << false;
    QTest::newRow("file in a hidden folder") << QStringLiteral(".hidden/MSINFO32.EXE") << true;
    QTest::newRow("folder") << QStringLiteral("folder") << false;
    QTest::newRow("missing file") << QStringLiteral("missing.exe") << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestSystemInfoPlatform::fileExists()
{
    QFETCH(QString, name);
    QFETCH(bool, expected);

    QDir folder(m_folder->path());
    QVERIFY(folder.mkpath(QStringLiteral("folder")));
    QVERIFY(folder.mkpath(QStringLiteral(".hidden")));
    for (const char* file : {"MSINFO32.EXE", ".MSINFO32.EXE", ".hidden/MSINFO32.EXE"})
        QVERIFY(TestFiles::write(folder.filePath(QString::fromLatin1(file)), "program"));

    const QtFileSystemChecks checks;
    QCOMPARE(checks.fileExists(name.isEmpty() ? QString() : folder.filePath(name)), expected);
}

void TestSystemInfoPlatform::standInAnswersTheFirstProgramOfItsList()
{
    QDir root(m_folder->path());
    QVERIFY(root.mkpath(QStringLiteral("early")));
    QVERIFY(root.mkpath(QStringLiteral("late")));
    const QString early = root.filePath(QStringLiteral("early"));
    const QString late = root.filePath(QStringLiteral("late"));
    const QString marker = root.filePath(QStringLiteral("marker"));
    // Earlier on PATH but later in the list.
    writeProgram(early, QStringLiteral("gnome-system-monitor"), marker);
    // First in the list, but not executable: not a program.
    writeProgram(early, QStringLiteral("hardinfo2"), marker, QFile::ReadOwner | QFile::WriteOwner);
    const QString expected = writeProgram(late, QStringLiteral("hardinfo"), marker);
    qputenv("PATH", QFile::encodeName(early + QLatin1Char(':') + late));

    StandInRegistry registry;
    const Answer answer = queryPath(registry);
    QCOMPARE(answer.result, Registry::ErrorSuccess);
    QCOMPARE(answer.type, Registry::RegSz);
    const QByteArray stored = QFile::encodeName(expected) + QByteArray(1, '\0');
    QCOMPARE(answer.size, static_cast<std::uint32_t>(stored.size()));
    QCOMPARE(answer.bytes, stored);
}

void TestSystemInfoPlatform::standInKnowsOnlyTheMsinfoKey()
{
    qputenv("PATH", QFile::encodeName(m_folder->path()));
    StandInRegistry registry;

    // No program on PATH: the key is there, its value is not.
    const Answer answer = queryPath(registry);
    QCOMPARE(answer.result, Registry::ErrorFileNotFound);

    Registry::Key key = 0;
    QCOMPARE(registry.openKey(Registry::HKeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", 0,
                              Registry::KeyRead, &key),
             Registry::ErrorFileNotFound);
    // HKEY_CURRENT_USER
    QCOMPARE(registry.openKey(0x80000001u, InfoKey, 0, Registry::KeyRead, &key), Registry::ErrorFileNotFound);
    QCOMPARE(registry.openKey(Registry::HKeyLocalMachine, InfoKey, 0, Registry::KeyRead, &key), Registry::ErrorSuccess);
    QCOMPARE(registry.closeKey(key), Registry::ErrorSuccess);
    QCOMPARE(registry.closeKey(key), Registry::ErrorInvalidHandle);
}

void TestSystemInfoPlatform::standInValueLongerThanTheBuffer()
{
    const QString program = writeProgram(m_folder->path(), QStringLiteral("kinfocenter"), QStringLiteral("/dev/null"));
    qputenv("PATH", QFile::encodeName(m_folder->path()));

    StandInRegistry registry;
    const auto needed = static_cast<std::uint32_t>(QFile::encodeName(program).size() + 1);
    const Answer tooSmall = queryPath(registry, needed - 1);
    QCOMPARE(tooSmall.result, Registry::ErrorMoreData);
    QCOMPARE(tooSmall.size, needed);
    QCOMPARE(tooSmall.bytes, QByteArray(needed - 1, '\0'));
    QCOMPARE(queryPath(registry, needed).result, Registry::ErrorSuccess);
}

void TestSystemInfoPlatform::processStarterReportsWhetherItStarted_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("starts");
    QTest::newRow("program") << QStringLiteral("program") << true;
    QTest::newRow("file that is not executable") << QStringLiteral("plain") << false;
    QTest::newRow("missing file") << QStringLiteral("missing") << false;
    QTest::newRow("empty path") << QString() << false;
}

void TestSystemInfoPlatform::processStarterReportsWhetherItStarted()
{
    QFETCH(QString, program);
    QFETCH(bool, starts);

    const QString marker = m_folder->filePath(QStringLiteral("marker"));
    writeProgram(m_folder->path(), QStringLiteral("program"), marker);
    writeProgram(m_folder->path(), QStringLiteral("plain"), marker, QFile::ReadOwner | QFile::WriteOwner);

    QtProcessStarter starter;
    QCOMPARE(starter.startDetached(program.isEmpty() ? QString() : m_folder->filePath(program)), starts);
    if (starts)
        QTRY_VERIFY(QFile::exists(marker));
    else
        QVERIFY(!QFile::exists(marker));
}

void TestSystemInfoPlatform::systemInfoStartsTheProgramFoundOnPath()
{
    const QString marker = m_folder->filePath(QStringLiteral("started"));
    QDir(m_folder->path()).mkpath(QStringLiteral("bin"));
    writeProgram(m_folder->filePath(QStringLiteral("bin")), QStringLiteral("hardinfo"), marker);
    qputenv("PATH", QFile::encodeName(m_folder->filePath(QStringLiteral("bin"))));

    SystemInfoPlatform platform;
    FakeMessageBox messages;
    SystemInfoLauncher launcher(platform.registry(), platform.files(), platform.processes(), messages);
    launcher.StartSysInfo();

    // The program's shell makes the file before it writes to it.
    QTRY_COMPARE(TestFiles::read(marker), QByteArray("started\n"));
    QVERIFY(messages.shown.isEmpty());
}

void TestSystemInfoPlatform::systemInfoWithoutProgramIsUnavailable()
{
    qputenv("PATH", QFile::encodeName(m_folder->path()));

    SystemInfoPlatform platform;
    FakeMessageBox messages;
    SystemInfoLauncher launcher(platform.registry(), platform.files(), platform.processes(), messages);
    launcher.StartSysInfo();

    QCOMPARE(messages.shown, QStringList{QStringLiteral("System Information Is Unavailable At This Time")});
}

QTEST_GUILESS_MAIN(TestSystemInfoPlatform)
#include "tst_systeminfoplatform.moc"
