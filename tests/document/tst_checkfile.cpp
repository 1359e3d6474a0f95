#include "document/CheckFile.h"
#include "platform/QuilloError.h"

#include "fakes/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

CheckRecord recordWithPayee(const QString& payee)
{
    CheckTexts texts;
    texts[6] = payee;
    return CheckRecord::fromWindow(texts);
}

QByteArray patternBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 26);
    return bytes;
}

// The message of the QuilloError `body` throws, or "" when it throws none.
template <typename Body> QString failureOf(Body body)
{
    try {
        body();
    } catch (const QuilloError& error) {
        return error.message();
    }
    return QString();
}

// Whether this process can create a file in `folder`, which root can despite
// the permission bits.
bool canCreateIn(const QString& folder)
{
    QFile probe(folder + QStringLiteral("/probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

} // namespace

class TestCheckFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writeCreatesA480ByteFile();
    void writeOverALongerFileKeepsTheRest();
    void writeOverAShorterFileReplacesItsStart();
    void readUsesTheFirst480Bytes();
    void readOnlyFileOpens();
    void unreadablePathsAreRefused_data();
    void unreadablePathsAreRefused();
    void namedPipeIsRefusedWithoutWaiting();
    void writeFailuresNameTheFileAndReason_data();
    void writeFailuresNameTheFileAndReason();
    void readOnlyFileIsNotChanged();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString& name) const { return m_dir->filePath(name); }
};

void TestCheckFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCheckFile::writeCreatesA480ByteFile()
{
    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(QStringLiteral("new.qlo")), record);
    QCOMPARE(TestFiles::read(path(QStringLiteral("new.qlo"))), record.toBytes());
}

void TestCheckFile::writeOverALongerFileKeepsTheRest()
{
    const QByteArray before = patternBytes(1000);
    QVERIFY(TestFiles::write(path(QStringLiteral("long.qlo")), before));
    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(QStringLiteral("long.qlo")), record);

    const QByteArray after = TestFiles::read(path(QStringLiteral("long.qlo")));
    QCOMPARE(after.size(), 1000);
    QCOMPARE(after.left(480), record.toBytes());
    QCOMPARE(after.mid(480), before.mid(480));
}

void TestCheckFile::writeOverAShorterFileReplacesItsStart()
{
    QVERIFY(TestFiles::write(path(QStringLiteral("short.qlo")), patternBytes(100)));
    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(QStringLiteral("short.qlo")), record);
    QCOMPARE(TestFiles::read(path(QStringLiteral("short.qlo"))), record.toBytes());
}

void TestCheckFile::readUsesTheFirst480Bytes()
{
    QByteArray bytes = recordWithPayee(QStringLiteral("First record")).toBytes();
    bytes += recordWithPayee(QStringLiteral("Second record")).toBytes();
    QVERIFY(TestFiles::write(path(QStringLiteral("two.qlo")), bytes));
    QCOMPARE(CheckFile::read(path(QStringLiteral("two.qlo"))).Payee, fixedWidth(QStringLiteral("First record"), 32));
}

void TestCheckFile::readOnlyFileOpens()
{
    const QString file = path(QStringLiteral("locked.qlo"));
    QVERIFY(TestFiles::write(file, recordWithPayee(QStringLiteral("Acme Supply")).toBytes()));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(CheckFile::read(file).Payee, fixedWidth(QStringLiteral("Acme Supply"), 32));
}

void TestCheckFile::unreadablePathsAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // written as a file unless the name ends in "/"
    QTest::addColumn<QString>("reason");

    QTest::newRow("empty file") << "empty.qlo" << QByteArray("") << "it holds 0 bytes";
    QTest::newRow("479 bytes") << "short.qlo" << QByteArray(479, ' ') << "it holds 479 bytes";
    QTest::newRow("folder") << "folder.qlo/" << QByteArray() << "It is a folder, not a file.";
    QTest::newRow("missing") << "missing.qlo" << QByteArray() << "The file does not exist.";
    QTest::newRow("missing folder") << "nowhere/a.qlo" << QByteArray() << "The file does not exist.";
}

void TestCheckFile::unreadablePathsAreRefused()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);

    QString file = path(name);
    if (name.endsWith(QLatin1Char('/'))) {
        QVERIFY(QDir().mkpath(file));
        file.chop(1);
    } else if (!content.isNull()) {
        QVERIFY(TestFiles::write(file, content));
    }
    const QString message = failureOf([&] { CheckFile::read(file); });
    QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(file)), qPrintable(message));
    QVERIFY2(message.contains(reason), qPrintable(message));
}

void TestCheckFile::namedPipeIsRefusedWithoutWaiting()
{
    // Without a writer, a blocking open of a pipe would hang the window.
    const QString pipe = path(QStringLiteral("pipe.qlo"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QVERIFY(failureOf([&] { CheckFile::read(pipe); }).contains(QStringLiteral("not an ordinary file")));
}

void TestCheckFile::writeFailuresNameTheFileAndReason_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("readOnlyFolder");

    // A file cannot be created below a regular file; this fails for root too,
    // which ignores permission bits.
    QTest::newRow("folder is a file") << "plain.txt/cheque.qlo"
                                      << "The folder does not exist." << false;
    QTest::newRow("missing folder") << "nowhere/cheque.qlo"
                                    << "The folder does not exist." << false;
    QTest::newRow("name is a folder") << "folder.qlo"
                                      << "That name belongs to a folder, not a file." << false;
    // The device that is always full, as a disk runs full under a save.
    QTest::newRow("disk full") << "/dev/full"
                               << "The disk is full." << false;
    // Only meaningful for a user who is refused by permission bits; skipped
    // when running as root.
    QTest::newRow("read-only folder") << "locked/cheque.qlo"
                                      << "The folder is read-only, or you may not create files in it." << true;
}

void TestCheckFile::writeFailuresNameTheFileAndReason()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QFETCH(bool, readOnlyFolder);

    QVERIFY(TestFiles::write(path(QStringLiteral("plain.txt")), "text"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder.qlo"))));
    QVERIFY(QDir().mkpath(path(QStringLiteral("locked"))));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));
    if (readOnlyFolder && canCreateIn(path(QStringLiteral("locked"))))
        QSKIP("This user may create files in a read-only folder.");

    const QString target = file.startsWith(QLatin1Char('/')) ? file : path(file);
    const QString message = failureOf([&] { CheckFile::write(target, recordWithPayee(QStringLiteral("x"))); });
    QCOMPARE(message, QStringLiteral("The cheque could not be saved to \"%1\". %2").arg(target, reason));
    QVERIFY(!QFileInfo(target).isFile());
}

void TestCheckFile::readOnlyFileIsNotChanged()
{
    const QString file = path(QStringLiteral("locked.qlo"));
    const QByteArray before = patternBytes(600);
    QVERIFY(TestFiles::write(file, before));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QFile probe(file);
    if (probe.open(QIODevice::ReadWrite))
        QSKIP("This user may write to a read-only file.");

    const QString message = failureOf([&] { CheckFile::write(file, recordWithPayee(QStringLiteral("x"))); });
    QCOMPARE(message, QStringLiteral("The cheque could not be saved to \"%1\". "
                                     "The file is read-only, or you may not change it.")
                          .arg(file));
    QCOMPARE(TestFiles::read(file), before);
}

QTEST_GUILESS_MAIN(TestCheckFile)
#include "tst_checkfile.moc"
