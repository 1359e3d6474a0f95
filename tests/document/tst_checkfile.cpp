#include "document/CheckFile.h"
#include "platform/DurableFile.h"
#include "platform/QuilloError.h"
#include "print/PdfFileDestination.h"
#include "print/PrintedPage.h"

#include "fakes/AsOrdinaryUser.h"
#include "fakes/TestFiles.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <pwd.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A cheque whose boxes hold `fill`, but for the payee.
CheckTexts withPayee(const QString& payee, const QString& fill = QString())
{
    CheckTexts texts;
    for (QString& text : texts)
        text = fill;
    texts[Box::Payee] = payee;
    return texts;
}

CheckRecord recordWithPayee(const QString& payee)
{
    return CheckRecord::fromWindow(withPayee(payee));
}

// A payee longer than a field, with a character the code page lacks.
const QString LongPayee = QStringLiteral("Przedsiębiorstwo Handlowe Łukasz i Syn");

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

// Saves a check with `payee` at `file` ("check"), or replaces it whole with
// the payee's bytes as an export does ("export").
void writeAs(const QString& write, const QString& file, const QString& payee)
{
    if (write == QLatin1String("check"))
        CheckFile::write(file, withPayee(payee));
    else
        DurableFile::replaceWhole(file, payee.toUtf8());
}

// Runs `body` in a child process that is killed the moment it first writes
// anything, as a crash or a power cut would stop it. Returns whether the child
// was stopped at a write.
bool killedAtFirstWrite(const std::function<void()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        try {
            body();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0); // stopped by its SIGSTOP
    // System call stops tell themselves apart from signals, which the
    // syscall information needs; the child dies with this process.
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    bool killed = false;
    while (!killed && ::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr) == 0 && ::waitpid(child, &status, 0) == child &&
           WIFSTOPPED(status)) {
        __ptrace_syscall_info call{};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof call, &call) > 0 && call.op == PTRACE_SYSCALL_INFO_ENTRY &&
            (call.entry.nr == SYS_pwrite64 || call.entry.nr == SYS_write)) {
            ::kill(child, SIGKILL);
            killed = true;
        }
    }
    ::waitpid(child, &status, 0);
    return killed;
}

// Everything in `folder`, hidden files included.
QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

} // namespace

class TestCheckFile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writeCreatesA480ByteFile();
    void writeOverALongerFileKeepsTheRest();
    void writeOverAShorterFileReplacesItsStart();
    void killedWriteLeavesTheOldFileAndNothingElse_data();
    void killedWriteLeavesTheOldFileAndNothingElse();
    void replacingTheExtensionKeepsTheFilesPermissionsAndOwner();
    void newFilesAreTheSaversAlone_data();
    void newFilesAreTheSaversAlone();
    void folderWithoutNewFilesGetsTheExtensionInPlace();
    void failedReplaceLeavesNothingBehind();
    void savesWithoutNamelessFiles_data();
    void savesWithoutNamelessFiles();
    void writeFollowsLinks_data();
    void writeFollowsLinks();
    void readUsesTheFirst480Bytes();
    void readOnlyFileOpens();
    void openNamesWhatADamagedExtensionCut_data();
    void openNamesWhatADamagedExtensionCut();
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
    CheckFile::write(path(QStringLiteral("new.qlo")), withPayee(QStringLiteral("Acme Supply")));
    QCOMPARE(TestFiles::read(path(QStringLiteral("new.qlo"))), record.toBytes());
}

void TestCheckFile::writeOverALongerFileKeepsTheRest()
{
    const QByteArray before = patternBytes(1000);
    QVERIFY(TestFiles::write(path(QStringLiteral("long.qlo")), before));
    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(QStringLiteral("long.qlo")), withPayee(QStringLiteral("Acme Supply")));

    const QByteArray after = TestFiles::read(path(QStringLiteral("long.qlo")));
    QCOMPARE(after.size(), 1000);
    QCOMPARE(after.left(480), record.toBytes());
    QCOMPARE(after.mid(480), before.mid(480));
}

void TestCheckFile::writeOverAShorterFileReplacesItsStart()
{
    QVERIFY(TestFiles::write(path(QStringLiteral("short.qlo")), patternBytes(100)));
    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(QStringLiteral("short.qlo")), withPayee(QStringLiteral("Acme Supply")));
    QCOMPARE(TestFiles::read(path(QStringLiteral("short.qlo"))), record.toBytes());
}

void TestCheckFile::killedWriteLeavesTheOldFileAndNothingElse_data()
{
    QTest::addColumn<QString>("write"); // "check": a check file's save; "export": a whole replace
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("payee");

    const QByteArray shortRecord = recordWithPayee(QStringLiteral("Acme Supply")).toBytes();
    QTest::newRow("new check file") << "check" << QByteArray() << "Other payee";
    QTest::newRow("check file written in place") << "check" << shortRecord << "Other payee";
    QTest::newRow("check file gaining the extension") << "check" << shortRecord << LongPayee;
    QTest::newRow("new export") << "export" << QByteArray() << "%PDF-1.4 new";
    QTest::newRow("replacing export") << "export" << QByteArray("%PDF-1.4 old") << "%PDF-1.4 new";
}

void TestCheckFile::killedWriteLeavesTheOldFileAndNothingElse()
{
    QFETCH(QString, write);
    QFETCH(QByteArray, before);
    QFETCH(QString, payee);
    const QString file = path(QStringLiteral("cheque"));
    if (!before.isNull())
        QVERIFY(TestFiles::write(file, before));
    const auto run = [&] { writeAs(write, file, payee); };

    QVERIFY2(killedAtFirstWrite(run), "the write was never stopped at a write");
    // The old file or nothing, and no hidden file with the draft in it.
    QCOMPARE(entriesOf(m_dir->path()), before.isNull() ? QStringList() : QStringList{QStringLiteral("cheque")});
    QCOMPARE(TestFiles::read(file), before);

    run();
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("cheque")});
    if (write == QLatin1String("check"))
        // Whole values from the extension; the record's fields, filled, without one.
        QCOMPARE(CheckFile::read(file),
                 payee.size() > 32 ? withPayee(payee) : withPayee(fixedWidth(payee, 32), QString(32, u' ')));
    else
        QCOMPARE(TestFiles::read(file), payee.toUtf8());
}

void TestCheckFile::replacingTheExtensionKeepsTheFilesPermissionsAndOwner()
{
    const QString file = path(QStringLiteral("real.qlo"));
    QVERIFY(TestFiles::write(file, recordWithPayee(QStringLiteral("Acme Supply")).toBytes()));
    QVERIFY(QFile::link(QStringLiteral("real.qlo"), path(QStringLiteral("link.qlo"))));
    QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0604), 0);
    // Root may save a file of someone else's; it stays theirs.
    const passwd* nobody = ::getpwnam("nobody");
    QVERIFY(nobody);
    const uid_t owner = ::geteuid() == 0 ? nobody->pw_uid : ::geteuid();
    QCOMPARE(::chown(QFile::encodeName(file).constData(), owner, static_cast<gid_t>(-1)), 0);

    CheckFile::write(path(QStringLiteral("link.qlo")), withPayee(LongPayee));

    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, 0604u);
    QCOMPARE(info.st_uid, owner);
    QVERIFY(QFileInfo(path(QStringLiteral("link.qlo"))).isSymLink());
    QCOMPARE(CheckFile::read(file), withPayee(LongPayee));
}

void TestCheckFile::newFilesAreTheSaversAlone_data()
{
    QTest::addColumn<QString>("save"); // "check", "check with extension" (a long payee) or "pdf"
    QTest::addColumn<int>("before");   // the existing file's mode, -1 for none
    QTest::addColumn<int>("umask");    // the process's, while saving
    QTest::addColumn<uint>("after");

    QTest::newRow("new check file") << "check" << -1 << 0 << 0600u;
    QTest::newRow("new check file, owner's bits masked") << "check" << -1 << 0277 << 0600u;
    QTest::newRow("new check file with the extension") << "check with extension" << -1 << 0 << 0600u;
    QTest::newRow("new PDF export") << "pdf" << -1 << 0 << 0600u;
    QTest::newRow("new PDF export, owner's bits masked") << "pdf" << -1 << 0277 << 0600u;
    QTest::newRow("check file saved over") << "check" << 0644 << 077 << 0644u;
    QTest::newRow("check file saved over with the extension") << "check with extension" << 0664 << 077 << 0664u;
    QTest::newRow("PDF exported over") << "pdf" << 0644 << 077 << 0644u;
    QTest::newRow("PDF exported over a read-only file") << "pdf" << 0444 << 0 << 0444u;
}

void TestCheckFile::newFilesAreTheSaversAlone()
{
    QFETCH(QString, save);
    QFETCH(int, before);
    QFETCH(int, umask);
    QFETCH(uint, after);
    const QString file = path(QStringLiteral("Zebulon Quartz"));
    if (before >= 0) {
        QVERIFY(TestFiles::write(file, QByteArray("old")));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), mode_t(before)), 0);
    }

    const mode_t previous = ::umask(mode_t(umask));
    auto restore = qScopeGuard([previous] { ::umask(previous); });
    if (save == QLatin1String("pdf")) {
        PdfFileDestination pdf(file, QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF()),
                               QStringLiteral("Check"));
        const PrintOutcome outcome = pdf.print(PrintedPage(pdf.pageLayout(), 1200)).result();
        QCOMPARE(outcome.message, QString());
        QVERIFY(TestFiles::read(file).startsWith("%PDF-"));
    } else {
        CheckFile::write(file, withPayee(save == QLatin1String("check") ? QStringLiteral("Acme Supply") : LongPayee));
    }
    restore.dismiss();
    ::umask(previous);

    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, after);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("Zebulon Quartz")});
}

void TestCheckFile::folderWithoutNewFilesGetsTheExtensionInPlace()
{
    // A file the merchant may change in a folder that takes no new files.
    QVERIFY(QDir().mkpath(path(QStringLiteral("locked"))));
    const QString file = path(QStringLiteral("locked/cheque.qlo"));
    QVERIFY(TestFiles::write(file, recordWithPayee(QStringLiteral("Acme Supply")).toBytes()));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));

    QVERIFY(runAsOrdinaryUser(m_dir->path(), [&] {
        QVERIFY(!canCreateIn(path(QStringLiteral("locked"))));
        // A failure must not escape the child that runs as the ordinary user.
        QCOMPARE(failureOf([&] { CheckFile::write(file, withPayee(LongPayee)); }), QString());
        QCOMPARE(entriesOf(path(QStringLiteral("locked"))), QStringList{QStringLiteral("cheque.qlo")});
        QCOMPARE(CheckFile::read(file), withPayee(LongPayee));
        // ...and loses it again, cut to the record.
        QCOMPARE(failureOf([&] { CheckFile::write(file, withPayee(QStringLiteral("Acme Supply"))); }), QString());
        QCOMPARE(TestFiles::read(file), recordWithPayee(QStringLiteral("Acme Supply")).toBytes());
    }));
}

void TestCheckFile::failedReplaceLeavesNothingBehind()
{
    // The complete file is ready when the rename over the folder fails.
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder.pdf"))));
    const QString message =
        failureOf([&] { DurableFile::replaceWhole(path(QStringLiteral("folder.pdf")), QByteArray("%PDF-1.4")); });
    QCOMPARE(message, QStringLiteral("That name belongs to a folder, not a file."));
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("folder.pdf")});
    QCOMPARE(entriesOf(path(QStringLiteral("folder.pdf"))), QStringList());
}

void TestCheckFile::savesWithoutNamelessFiles_data()
{
    QTest::addColumn<QString>("write");     // "check": a check file's save; "export": a whole replace
    QTest::addColumn<QByteArray>("before"); // null: no file; "/": a folder under the name
    QTest::addColumn<QString>("payee");
    QTest::addColumn<QString>("failure");

    const QByteArray shortRecord = recordWithPayee(QStringLiteral("Acme Supply")).toBytes();
    QTest::newRow("new check file") << "check" << QByteArray() << "Other payee" << QString();
    QTest::newRow("check file gaining the extension") << "check" << shortRecord << LongPayee << QString();
    QTest::newRow("new export") << "export" << QByteArray() << "%PDF-1.4 new" << QString();
    QTest::newRow("replacing export") << "export" << QByteArray("%PDF-1.4 old") << "%PDF-1.4 new" << QString();
    // The complete hidden file is ready when the rename over the folder fails.
    QTest::newRow("export over a folder") << "export" << QByteArray("/") << "%PDF-1.4 new"
                                          << "That name belongs to a folder, not a file.";
}

void TestCheckFile::savesWithoutNamelessFiles()
{
    QFETCH(QString, write);
    QFETCH(QByteArray, before);
    QFETCH(QString, payee);
    QFETCH(QString, failure);
    DurableFile::useNamelessFiles(false);
    const auto restore = qScopeGuard([] { DurableFile::useNamelessFiles(true); });
    const QString file = path(QStringLiteral("cheque"));
    if (before == "/") {
        QVERIFY(QDir().mkpath(file));
    } else if (!before.isNull()) {
        QVERIFY(TestFiles::write(file, before));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0604), 0);
    }
    const auto run = [&] { writeAs(write, file, payee); };

    // The way without them: the bytes go to a hidden file first, which a
    // kill at that moment leaves behind beside the old file.
    QVERIFY2(killedAtFirstWrite(run), "the write was never stopped at a write");
    const QStringList hidden = entriesOf(m_dir->path()).filter(QStringLiteral(".quillo-save-"));
    QCOMPARE(hidden.size(), 1);
    QVERIFY(QFile::remove(path(hidden.first())));

    QCOMPARE(failureOf(run), failure);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{QStringLiteral("cheque")});
    if (!failure.isEmpty()) {
        QCOMPARE(entriesOf(file), QStringList());
        return;
    }
    if (write == QLatin1String("check"))
        QCOMPARE(CheckFile::read(file),
                 payee.size() > 32 ? withPayee(payee) : withPayee(fixedWidth(payee, 32), QString(32, u' ')));
    else
        QCOMPARE(TestFiles::read(file), payee.toUtf8());
    // A check file saved over keeps its permissions; an export is a new file.
    if (write == QLatin1String("check") && !before.isNull()) {
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, 0604u);
    }
}

void TestCheckFile::writeFollowsLinks_data()
{
    QTest::addColumn<QString>("link");   // in the temporary folder
    QTest::addColumn<QString>("target"); // what the link holds
    QTest::addColumn<QString>("file");   // the file that is written
    QTest::addColumn<bool>("existed");
    QTest::newRow("to an existing file") << "link.qlo"
                                         << "real.qlo"
                                         << "real.qlo" << true;
    QTest::newRow("to a missing file") << "link.qlo"
                                       << "real.qlo"
                                       << "real.qlo" << false;
    QTest::newRow("to a missing file in a folder") << "link.qlo"
                                                   << "sub/real.qlo"
                                                   << "sub/real.qlo" << false;
    QTest::newRow("through a second link") << "link.qlo"
                                           << "sub/link2.qlo"
                                           << "sub/real.qlo" << false;
}

void TestCheckFile::writeFollowsLinks()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(QString, file);
    QFETCH(bool, existed);
    QVERIFY(QDir().mkpath(path(QStringLiteral("sub"))));
    QVERIFY(QFile::link(QStringLiteral("real.qlo"), path(QStringLiteral("sub/link2.qlo"))));
    QVERIFY(QFile::link(target, path(link)));
    const QByteArray tail = patternBytes(600).mid(480);
    if (existed)
        QVERIFY(TestFiles::write(path(file), patternBytes(600)));

    const CheckRecord record = recordWithPayee(QStringLiteral("Acme Supply"));
    CheckFile::write(path(link), withPayee(QStringLiteral("Acme Supply")));

    QCOMPARE(TestFiles::read(path(file)), existed ? record.toBytes() + tail : record.toBytes());
    // The links stay links.
    QVERIFY(QFileInfo(path(link)).isSymLink());
    QVERIFY(QFileInfo(path(QStringLiteral("sub/link2.qlo"))).isSymLink());
}

void TestCheckFile::readUsesTheFirst480Bytes()
{
    QByteArray bytes = recordWithPayee(QStringLiteral("First record")).toBytes();
    bytes += recordWithPayee(QStringLiteral("Second record")).toBytes();
    QVERIFY(TestFiles::write(path(QStringLiteral("two.qlo")), bytes));
    QCOMPARE(CheckFile::read(path(QStringLiteral("two.qlo"))),
             withPayee(fixedWidth(QStringLiteral("First record"), 32), QString(32, u' ')));
}

void TestCheckFile::openNamesWhatADamagedExtensionCut_data()
{
    // A file saved with the 38-character payee and a 32-character memo,
    // changed after the record; what Open shows and which boxes it names.
    QTest::addColumn<int>("change"); // -1: the last byte cut, 1: a byte added
    QTest::addColumn<QString>("payee");
    QTest::addColumn<QList<Box>>("cut");
    const QString field = QStringLiteral("Przedsi?biorstwo Handlowe ?ukasz");
    QTest::newRow("intact") << 0 << LongPayee << QList<Box>();
    QTest::newRow("a byte cut") << -1 << field << QList<Box>{Box::Payee, Box::Memo};
    QTest::newRow("a byte added") << 1 << field << QList<Box>{Box::Payee, Box::Memo};
}

void TestCheckFile::openNamesWhatADamagedExtensionCut()
{
    QFETCH(int, change);
    QFETCH(QString, payee);
    const QString file = path(QStringLiteral("cheque.qlo"));
    CheckTexts texts = withPayee(LongPayee);
    // Exactly as long as its field: kept whole by the record, but a damaged
    // extension cannot tell it from a longer one.
    texts[Box::Memo] = QStringLiteral("Thirty-two characters, no fewer.");
    QCOMPARE(texts[Box::Memo].size(), 32);
    QCOMPARE(CheckFile::write(file, texts), CheckFile::Kept::WholeValues);
    QByteArray bytes = TestFiles::read(file);
    if (change < 0)
        bytes.chop(1);
    else if (change > 0)
        bytes.append('\n');
    QVERIFY(TestFiles::write(file, bytes));

    const CheckFile::Opened opened = CheckFile::open(file);
    QCOMPARE(opened.texts[Box::Payee], payee);
    QCOMPARE(opened.texts[Box::Memo], QStringLiteral("Thirty-two characters, no fewer."));
    // A box the record fills with spaces was never cut.
    QCOMPARE(opened.texts[Box::PayorLine1], change ? QString(32, u' ') : QString());
    QTEST(opened.cut, "cut");
    QCOMPARE(CheckFile::read(file), opened.texts);
}

void TestCheckFile::readOnlyFileOpens()
{
    const QString file = path(QStringLiteral("locked.qlo"));
    QVERIFY(TestFiles::write(file, recordWithPayee(QStringLiteral("Acme Supply")).toBytes()));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QCOMPARE(CheckFile::read(file), withPayee(fixedWidth(QStringLiteral("Acme Supply"), 32), QString(32, u' ')));
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
    // The system's own folders show what the system holds and take no files.
    QTest::newRow("special system folder") << "/proc/cheque.qlo"
                                           << "The folder belongs to the system and cannot hold files." << false;
    QTest::newRow("named pipe") << "pipe.qlo"
                                << "That name belongs to a pipe or a device, not a file." << false;
    // Permission bits refuse ordinary users only; root runs this row as one.
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
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.qlo"))).constData(), 0600), 0);
    QVERIFY(QDir().mkpath(path(QStringLiteral("locked"))));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));

    const QString target = file.startsWith(QLatin1Char('/')) ? file : path(file);
    const auto check = [&] {
        QVERIFY(!readOnlyFolder || !canCreateIn(path(QStringLiteral("locked"))));
        const QString message = failureOf([&] { CheckFile::write(target, withPayee(QStringLiteral("x"))); });
        QCOMPARE(message, QStringLiteral("The check could not be saved to \"%1\". %2").arg(target, reason));
        QVERIFY(!QFileInfo(target).isFile());
    };
    if (readOnlyFolder)
        QVERIFY(runAsOrdinaryUser(m_dir->path(), check));
    else
        check();
}

void TestCheckFile::readOnlyFileIsNotChanged()
{
    // A record alone, which a long value would give the extension.
    const QString file = path(QStringLiteral("locked.qlo"));
    const QByteArray before = recordWithPayee(QStringLiteral("Acme Supply")).toBytes();
    QVERIFY(TestFiles::write(file, before));
    QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));

    QVERIFY(runAsOrdinaryUser(m_dir->path(), [&] {
        QVERIFY(!QFile(file).open(QIODevice::ReadWrite));
        // Neither in place nor, with the values whole, by a new file in its place.
        for (const QString& payee : {QStringLiteral("x"), LongPayee}) {
            const QString message = failureOf([&] { CheckFile::write(file, withPayee(payee)); });
            QCOMPARE(message, QStringLiteral("The check could not be saved to \"%1\". "
                                             "The file is read-only, or you may not change it.")
                                  .arg(file));
            QCOMPARE(TestFiles::read(file), before);
        }
    }));
}

QTEST_GUILESS_MAIN(TestCheckFile)
#include "tst_checkfile.moc"
