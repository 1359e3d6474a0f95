#include "document/FileCommands.h"
#include "platform/CommonDialog.h"

#include "fakes/AsOrdinaryUser.h"
#include "fakes/FakeCheckForm.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString NewCaption = QStringLiteral(" (New File) --Quillo");

// The window as it stands after loading: New has run and the dialog is set up
// for the file commands.
struct Window {
    explicit Window(const QString& folder)
    {
        commands.run(FileCommands::New);
        cDlg.InitDir = folder;
        cDlg.Filter = QStringLiteral("Any File (*.*)|*.*|Quillo Files (*.qlo)|*.qlo");
        cDlg.FilterIndex = 2;
        cDlg.Flags = 4102;
        cDlg.CancelError = true;
        form.changes.clear();
    }

    void type(int box, const QString& text) { form.text(box) = text; }

    FakeCheckForm form;
    FakeFileDialogs dialogs;
    CommonDialog cDlg{dialogs};
    FakeMessageBox messages;
    FileCommands commands{form, cDlg, messages};
};

// A cheque file as written from empty boxes, with `value` at field `field`.
QByteArray chequeBytes(int field = -1, const QByteArray& value = {})
{
    QByteArray bytes = QByteArray(32, '\0') + QByteArray(448, ' ');
    if (field >= 0)
        bytes.replace(field * 32, value.size(), value);
    return bytes;
}

// The message after a save that stored some values differently from the window.
QString storedDifferently(const QString& path, const QStringList& changes)
{
    return QStringLiteral("The check was saved to \"%1\", but not every value could be stored as typed:\n").arg(path) +
           changes.join(QLatin1Char('\n')) +
           QStringLiteral("\nThe window still holds the full text, so the check can still be printed as typed.");
}

// 480 bytes with a different printable byte at every place, reserved field
// included, so that any shift or loss shows.
QByteArray busyBytes(char reservedFill)
{
    QByteArray bytes(480, reservedFill);
    for (int i = 32; i < 480; ++i)
        bytes[i] = static_cast<char>('!' + i % 90);
    return bytes;
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void savedBytes_data();
    void savedBytes();
    void newClearsTheWindowAndForgetsTheFile();
    void openFillsAll32CharactersAndSavesThemBack();
    void reservedBytesHaveNoEffectAndZerosAreWrittenBack();
    void openUsesTheFirst480BytesOfALongerFile();
    void saveOverALongerFileKeepsTheRest();

    void saveWithCurrentFileAsksNothing();
    void saveOnNewChequeSuggestsText1();
    void saveOnNewChequeWithEmptyText1SuggestsNothing_data();
    void saveOnNewChequeWithEmptyText1SuggestsNothing();
    void suggestedFileName_data();
    void suggestedFileName();
    void saveAsAlwaysAsksSuggestingText1_data();
    void saveAsAlwaysAsksSuggestingText1();
    void cancelledSaveAsKeepsTheCurrentFile();
    void cancelIsSilentAndChangesNothing_data();
    void cancelIsSilentAndChangesNothing();
    void cancelEndsSaveEvenWithoutCancelError();

    void failedSaveIsReported_data();
    void failedSaveIsReported();
    void refusedOpenChangesNothing_data();
    void refusedOpenChangesNothing();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    // The window with `bytes` saved in `name` and opened from there.
    void openFile(Window& window, const QString& name, const QByteArray& bytes);
    // A save to `chosen` that fails for `reason`, told in a message; nothing changes.
    void saveFailsWithMessage(int index, const QString& chosen, const QString& reason);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFileCommands::openFile(Window& window, const QString& name, const QByteArray& bytes)
{
    QVERIFY(TestFiles::write(path(name), bytes));
    window.dialogs.answer(path(name));
    window.commands.run(FileCommands::Open);
    QCOMPARE(window.cDlg.FileName, path(name));
}

void TestFileCommands::savedBytes_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reopened");    // the box's text after opening the file again
    QTest::addColumn<QStringList>("changes"); // what the message after the save lists; none for no message

    const QString fill28(28, QLatin1Char(' '));
    QTest::newRow("all empty") << 1 << QString() << chequeBytes() << QString(32, QLatin1Char(' ')) << QStringList();
    QTest::newRow("four-character cheque number")
        << 6 << QStringLiteral("1234") << chequeBytes(6, "1234") << QStringLiteral("1234") + fill28 << QStringList();
    QTest::newRow("40-character payee") << 7 << QStringLiteral("Pay the Worthington Hardware Co. Limited")
                                        << chequeBytes(7, "Pay the Worthington Hardware Co.")
                                        << QStringLiteral("Pay the Worthington Hardware Co.")
                                        << QStringList{QStringLiteral(
                                               "Pay to the Order of: 40 characters, the file keeps the first 32.")};
    QTest::newRow("amount in words of 34 characters")
        << 8 << QStringLiteral("Two hundred forty-seven and 50/100")
        << chequeBytes(8, "Two hundred forty-seven and 50/1") << QStringLiteral("Two hundred forty-seven and 50/1")
        << QStringList{QStringLiteral("In the Amount of: 34 characters, the file keeps the first 32.")};
    // A reopened box ends in fill spaces; typing pushes them past the field.
    QTest::newRow("typed at the start of a reopened box")
        << 1 << QStringLiteral("XSmith") + QString(27, QLatin1Char(' ')) << chequeBytes(1, "XSmith")
        << QStringLiteral("XSmith") + QString(26, QLatin1Char(' ')) << QStringList();
    QTest::newRow("typed past the fill of a reopened box")
        << 1 << QStringLiteral("Smith") + QString(27, QLatin1Char(' ')) + QStringLiteral("X   ")
        << chequeBytes(1, "Smith") << QStringLiteral("Smith") + QString(27, QLatin1Char(' '))
        << QStringList{QStringLiteral("Payor Name and Address, line 1: 33 characters, the file keeps the first 32.")};
    QTest::newRow("exactly 32 characters")
        << 7 << QStringLiteral("Pay the Worthington Hardware Co.") << chequeBytes(7, "Pay the Worthington Hardware Co.")
        << QStringLiteral("Pay the Worthington Hardware Co.") << QStringList();
    QTest::newRow("e acute and euro sign")
        << 14 << QStringLiteral("Caf\u00e9 \u20ac5")
        << chequeBytes(14, "Caf\xe9 \x80"
                           "5")
        << QStringLiteral("Caf\u00e9 \u20ac5") + QString(25, QLatin1Char(' ')) << QStringList();
    QTest::newRow("leading spaces and dollar kept")
        << 9 << QStringLiteral("  $12.00") << chequeBytes(9, "  $12.00")
        << QStringLiteral("  $12.00") + QString(24, QLatin1Char(' ')) << QStringList();
    QTest::newRow("check mark") << 14 << QStringLiteral("Paid \u2713") << chequeBytes(14, "Paid ?")
                                << QStringLiteral("Paid ?") + QString(26, QLatin1Char(' '))
                                << QStringList{
                                       QStringLiteral("Memo: \"\u2713\" cannot be stored and was saved as \"?\".")};
    QTest::newRow("a character outside the basic plane, twice")
        << 2 << QStringLiteral("\U0001F600 Suite \U0001F600") << chequeBytes(2, "?? Suite ??")
        << QStringLiteral("?? Suite ??") + QString(21, QLatin1Char(' '))
        << QStringList{QStringLiteral("Payor Name and Address, line 2: \"\U0001F600\" cannot be stored and was saved "
                                      "as \"??\".")};
    // Only what the file keeps counts: a lost character past the 32nd is cut anyway.
    QTest::newRow("cut and changed")
        << 13 << QStringLiteral("\u2460") + QString(31, QLatin1Char('1')) + QStringLiteral("\u2461")
        << chequeBytes(13, "?" + QByteArray(31, '1')) << QStringLiteral("?") + QString(31, QLatin1Char('1'))
        << QStringList{QStringLiteral("Check No. on the MICR line: 33 characters, the file keeps the first 32; "
                                      "\"\u2460\" cannot be stored and was saved as \"?\".")};
}

void TestFileCommands::savedBytes()
{
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reopened);
    QFETCH(QStringList, changes);

    Window window(m_dir->path());
    window.type(box, text);
    window.dialogs.answer(path(QStringLiteral("cheque.qlo")));
    window.commands.run(FileCommands::SaveAs);
    QCOMPARE(TestFiles::read(path(QStringLiteral("cheque.qlo"))), bytes);
    // The message comes after the save, which succeeded: the window keeps the
    // full text and the file is current.
    QCOMPARE(window.messages.shown, changes.isEmpty()
                                        ? QStringList()
                                        : QStringList{storedDifferently(path(QStringLiteral("cheque.qlo")), changes)});
    QCOMPARE(window.form.text(box), text);
    QCOMPARE(window.form.caption, QStringLiteral("(cheque.qlo) --Quillo"));

    Window other(m_dir->path());
    other.dialogs.answer(path(QStringLiteral("cheque.qlo")));
    other.commands.run(FileCommands::Open);
    QCOMPARE(other.form.text(box), reopened);
}

void TestFileCommands::newClearsTheWindowAndForgetsTheFile()
{
    Window window(m_dir->path());
    openFile(window, QStringLiteral("smith.qlo"), busyBytes('\0'));
    window.form.changes.clear();

    window.commands.run(FileCommands::New);

    QStringList expected;
    for (int box = 1; box <= 14; ++box)
        expected.append(QStringLiteral("Text%1=").arg(box));
    expected.append(QStringLiteral("caption=") + NewCaption);
    expected.append(QStringLiteral("focus Text1"));
    QCOMPARE(window.form.changes, expected);
    QCOMPARE(window.cDlg.FileName, QString());
    QCOMPARE(window.cDlg.FileTitle, QStringLiteral("smith.qlo"));
    QCOMPARE(window.dialogs.requests.size(), 1);
}

void TestFileCommands::openFillsAll32CharactersAndSavesThemBack()
{
    Window window(m_dir->path());
    const QByteArray bytes = busyBytes('\0');
    openFile(window, QStringLiteral("smith.qlo"), bytes);

    QCOMPARE(window.form.caption, QStringLiteral("(smith.qlo) --Quillo"));
    for (int box = 1; box <= 14; ++box)
        QCOMPARE(window.form.text(box), QString::fromLatin1(bytes.mid(box * 32, 32)));
    // Typing goes on in the first box once every box has been filled.
    QCOMPARE(window.form.changes.mid(14),
             (QStringList{QStringLiteral("focus Text1"), QStringLiteral("caption=(smith.qlo) --Quillo")}));

    QVERIFY(TestFiles::write(path(QStringLiteral("smith.qlo")), chequeBytes()));
    window.commands.run(FileCommands::Save);
    QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))), bytes);
}

void TestFileCommands::reservedBytesHaveNoEffectAndZerosAreWrittenBack()
{
    Window zeros(m_dir->path());
    openFile(zeros, QStringLiteral("zeros.qlo"), busyBytes('\0'));
    Window letters(m_dir->path());
    openFile(letters, QStringLiteral("letters.qlo"), busyBytes('R'));

    QCOMPARE(letters.form.boxes, zeros.form.boxes);
    letters.commands.run(FileCommands::Save);
    QCOMPARE(TestFiles::read(path(QStringLiteral("letters.qlo"))), busyBytes('\0'));
}

void TestFileCommands::openUsesTheFirst480BytesOfALongerFile()
{
    Window window(m_dir->path());
    openFile(window, QStringLiteral("long.qlo"), chequeBytes(1, "First") + chequeBytes(1, "Second"));
    QCOMPARE(window.form.text(1), QStringLiteral("First") + QString(27, QLatin1Char(' ')));
    QCOMPARE(window.form.text(2), QString(32, QLatin1Char(' ')));
}

void TestFileCommands::saveOverALongerFileKeepsTheRest()
{
    QByteArray before(1000, '\0');
    for (int i = 0; i < before.size(); ++i)
        before[i] = static_cast<char>(i % 251);
    QVERIFY(TestFiles::write(path(QStringLiteral("long.qlo")), before));

    Window window(m_dir->path());
    window.type(7, QStringLiteral("Acme Supply"));
    window.dialogs.answer(path(QStringLiteral("long.qlo")));
    window.commands.run(FileCommands::SaveAs);

    const QByteArray after = TestFiles::read(path(QStringLiteral("long.qlo")));
    QCOMPARE(after.size(), 1000);
    QCOMPARE(after.left(480), chequeBytes(7, "Acme Supply"));
    QCOMPARE(after.mid(480), before.mid(480));
}

void TestFileCommands::saveWithCurrentFileAsksNothing()
{
    Window window(m_dir->path());
    openFile(window, QStringLiteral("smith.qlo"), chequeBytes());
    window.type(6, QStringLiteral("1001"));

    window.commands.run(FileCommands::Save);

    QCOMPARE(window.dialogs.requests.size(), 1); // the Open only
    QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))), chequeBytes(6, "1001"));
    QCOMPARE(window.cDlg.FileName, path(QStringLiteral("smith.qlo")));
    QCOMPARE(window.form.caption, QStringLiteral("(smith.qlo) --Quillo"));
}

void TestFileCommands::saveOnNewChequeSuggestsText1()
{
    Window window(m_dir->path());
    window.type(1, QStringLiteral("Acme Supply"));
    // The dialog comes up in InitDir with the name filled in; accepting it
    // returns that name in that folder, untouched.
    window.dialogs.answer(path(QStringLiteral("Acme Supply.qlo")));

    window.commands.run(FileCommands::Save);

    QCOMPARE(window.dialogs.requests.size(), 1);
    const FileDialogRequest& request = window.dialogs.requests.first();
    QCOMPARE(request.kind, FileDialogRequest::Kind::Save);
    QCOMPARE(request.fileName, QStringLiteral("Acme Supply.qlo"));
    QCOMPARE(request.initialFolder, m_dir->path());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Acme Supply.qlo")});
    QCOMPARE(TestFiles::read(path(QStringLiteral("Acme Supply.qlo"))), chequeBytes(1, "Acme Supply"));
    QCOMPARE(window.form.caption, QStringLiteral("(Acme Supply.qlo) --Quillo"));
    QCOMPARE(window.cDlg.FileName, path(QStringLiteral("Acme Supply.qlo")));
    QVERIFY(window.messages.shown.isEmpty());

    // A name the merchant types instead is used exactly as typed.
    window.dialogs.answer(path(QStringLiteral("acme")));
    window.commands.run(FileCommands::SaveAs);
    QCOMPARE(TestFiles::read(path(QStringLiteral("acme"))), chequeBytes(1, "Acme Supply"));
    QCOMPARE(window.form.caption, QStringLiteral("(acme) --Quillo"));
}

void TestFileCommands::saveOnNewChequeWithEmptyText1SuggestsNothing_data()
{
    QTest::addColumn<QString>("text1");
    QTest::newRow("empty") << QString();
    QTest::newRow("only spaces") << QStringLiteral("   ");
}

void TestFileCommands::saveOnNewChequeWithEmptyText1SuggestsNothing()
{
    QFETCH(QString, text1);
    Window window(m_dir->path());
    window.type(1, text1);
    window.dialogs.cancel();
    window.commands.run(FileCommands::Save);
    QCOMPARE(window.dialogs.requests.size(), 1);
    QCOMPARE(window.dialogs.requests.first().fileName, QString());
}

void TestFileCommands::suggestedFileName_data()
{
    QTest::addColumn<QString>("text1");
    QTest::addColumn<QString>("suggested");
    QTest::newRow("a name") << QStringLiteral("Maria L. Gonzalez") << QStringLiteral("Maria L. Gonzalez.qlo");
    QTest::newRow("fill spaces from a file")
        << fixedWidth(QStringLiteral("Maria L. Gonzalez"), 32) << QStringLiteral("Maria L. Gonzalez.qlo");
    QTest::newRow("leading spaces stay") << QStringLiteral("  Acme") << QStringLiteral("  Acme.qlo");
    QTest::newRow("extension already there") << QStringLiteral("smith.qlo") << QStringLiteral("smith.qlo");
    QTest::newRow("extension in capitals") << QStringLiteral("SMITH.QLO  ") << QStringLiteral("SMITH.QLO");
    QTest::newRow("another extension") << QStringLiteral("smith.qlo.txt") << QStringLiteral("smith.qlo.txt.qlo");
    QTest::newRow("only the extension's letters") << QStringLiteral("qlo") << QStringLiteral("qlo.qlo");
}

void TestFileCommands::suggestedFileName()
{
    QFETCH(QString, text1);
    QFETCH(QString, suggested);
    QCOMPARE(FileCommands::suggestedFileName(text1), suggested);
}

void TestFileCommands::saveAsAlwaysAsksSuggestingText1_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("Save As") << 3;
    QTest::newRow("index 4") << 4;
    QTest::newRow("index -1") << -1;
}

void TestFileCommands::saveAsAlwaysAsksSuggestingText1()
{
    QFETCH(int, index);
    Window window(m_dir->path());
    openFile(window, QStringLiteral("smith.qlo"), chequeBytes(1, "Smith Hardware"));
    window.dialogs.answer(path(QStringLiteral("copy.qlo")));

    window.commands.run(static_cast<std::int16_t>(index));

    QCOMPARE(window.dialogs.requests.size(), 2);
    const FileDialogRequest& request = window.dialogs.requests.last();
    QCOMPARE(request.kind, FileDialogRequest::Kind::Save);
    // After Open the box holds its fill spaces; the suggestion drops them.
    QCOMPARE(window.form.text(1), QStringLiteral("Smith Hardware") + QString(18, QLatin1Char(' ')));
    QCOMPARE(request.fileName, QStringLiteral("Smith Hardware.qlo"));
    QCOMPARE(request.filters.size(), 2);
    QCOMPARE(request.selectedFilter, 1);
    QVERIFY(request.fileMustExist);
    QVERIFY(request.confirmOverwrite);
    QCOMPARE(TestFiles::read(path(QStringLiteral("copy.qlo"))), chequeBytes(1, "Smith Hardware"));
    QCOMPARE(window.cDlg.FileName, path(QStringLiteral("copy.qlo")));
    QCOMPARE(window.form.caption, QStringLiteral("(copy.qlo) --Quillo"));
}

void TestFileCommands::cancelledSaveAsKeepsTheCurrentFile()
{
    Window window(m_dir->path());
    openFile(window, QStringLiteral("smith.qlo"), chequeBytes());
    window.type(8, QStringLiteral("Ten dollars"));
    window.dialogs.cancel();
    window.commands.run(FileCommands::SaveAs);
    QCOMPARE(window.cDlg.FileName, path(QStringLiteral("smith.qlo")));
    QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))), chequeBytes());

    window.commands.run(FileCommands::Save);
    QCOMPARE(window.dialogs.requests.size(), 2); // Open and the cancelled Save As
    QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))), chequeBytes(8, "Ten dollars"));
}

void TestFileCommands::cancelIsSilentAndChangesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("withFile");
    QTest::newRow("Open, new cheque") << 1 << false;
    QTest::newRow("Open, file current") << 1 << true;
    QTest::newRow("Save, new cheque") << 2 << false;
    QTest::newRow("Save As, new cheque") << 3 << false;
    QTest::newRow("Save As, file current") << 3 << true;
}

void TestFileCommands::cancelIsSilentAndChangesNothing()
{
    QFETCH(int, index);
    QFETCH(bool, withFile);

    Window window(m_dir->path());
    if (withFile)
        openFile(window, QStringLiteral("smith.qlo"), busyBytes('\0'));
    window.type(1, QStringLiteral("Acme Supply"));
    const CheckTexts boxes = window.form.boxes;
    const QString caption = window.form.caption;
    const QString fileName = window.cDlg.FileName;
    const QStringList filesBefore = QDir(m_dir->path()).entryList(QDir::Files);
    window.form.changes.clear();

    window.dialogs.cancel();
    window.commands.run(static_cast<std::int16_t>(index));

    QCOMPARE(window.dialogs.requests.size(), withFile ? 2 : 1);
    QVERIFY(window.messages.shown.isEmpty());
    QCOMPARE(window.form.changes, QStringList());
    QCOMPARE(window.form.boxes, boxes);
    QCOMPARE(window.form.caption, caption);
    QCOMPARE(window.cDlg.FileName, fileName);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), filesBefore);
}

void TestFileCommands::cancelEndsSaveEvenWithoutCancelError()
{
    // Without CancelError a cancelled dialog leaves the suggested name behind;
    // the command must neither save under it nor ask again and again.
    Window window(m_dir->path());
    window.cDlg.CancelError = false;
    window.dialogs.cancel();
    window.dialogs.answer(QString()); // a dialog that hands back no name
    window.commands.run(FileCommands::Save);
    window.commands.run(FileCommands::Save);

    QCOMPARE(window.dialogs.requests.size(), 2);
    QCOMPARE(window.cDlg.FileName, QString());
    QCOMPARE(window.form.caption, NewCaption);
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
}

void TestFileCommands::failedSaveIsReported_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");

    // A folder below a regular file cannot exist: this refuses every user,
    // root included, who would ignore a folder's read-only permission bits.
    const QString notAFolder = QStringLiteral("plain.txt/cheque.qlo");
    const QString folderGone = QStringLiteral("The folder does not exist.");
    QTest::newRow("Save, new cheque, folder is a file") << 2 << notAFolder << folderGone;
    QTest::newRow("Save As, folder is a file") << 3 << notAFolder << folderGone;
    // /dev/full accepts the open and fails every write as a full disk does.
    QTest::newRow("Save, new cheque, disk full") << 2 << "/dev/full"
                                                 << "The disk is full.";
    QTest::newRow("Save As, disk full") << 3 << "/dev/full"
                                        << "The disk is full.";
    // Permission bits stop ordinary users only; root runs the row as one.
    QTest::newRow("Save As, read-only folder") << 3 << "locked/cheque.qlo"
                                               << "The folder is read-only, or you may not create files in it.";
}

void TestFileCommands::failedSaveIsReported()
{
    QFETCH(int, index);
    QFETCH(QString, target);
    QFETCH(QString, reason);

    QVERIFY(TestFiles::write(path(QStringLiteral("plain.txt")), "text"));
    QVERIFY(QDir().mkpath(path(QStringLiteral("locked"))));
    QVERIFY(QFile::setPermissions(path(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));
    const QString chosen = target.startsWith(QLatin1Char('/')) ? target : path(target);
    const auto check = [&] { saveFailsWithMessage(index, chosen, reason); };
    if (target.startsWith(QLatin1String("locked/")))
        QVERIFY(runAsOrdinaryUser(m_dir->path(), check));
    else
        check();
}

void TestFileCommands::saveFailsWithMessage(int index, const QString& chosen, const QString& reason)
{
    Window window(m_dir->path());
    const bool withFile = index == FileCommands::SaveAs;
    const QByteArray current = busyBytes('\0');
    if (withFile)
        openFile(window, QStringLiteral("smith.qlo"), current);
    window.type(7, QStringLiteral("Acme Supply"));
    const QString caption = window.form.caption;
    const QString fileName = window.cDlg.FileName;

    window.dialogs.answer(chosen);
    window.commands.run(static_cast<std::int16_t>(index));

    QCOMPARE(window.messages.shown,
             QStringList{QStringLiteral("The check could not be saved to \"%1\". %2").arg(chosen, reason)});
    QCOMPARE(window.form.caption, caption);
    QCOMPARE(window.cDlg.FileName, fileName);
    if (withFile)
        QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))), current);

    if (withFile) {
        // The file that was current is still the one a plain Save writes to.
        window.commands.run(FileCommands::Save);
        QCOMPARE(window.messages.shown.size(), 1);
        QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))).mid(224, 11), QByteArray("Acme Supply"));
        // ...and the caption names it, not the file the failed dialog chose.
        QCOMPARE(window.form.caption, QStringLiteral("(smith.qlo) --Quillo"));
    }
}

void TestFileCommands::refusedOpenChangesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withFile");
    QTest::newRow("short file, new cheque") << "short.qlo" << false;
    QTest::newRow("short file, file current") << "short.qlo" << true;
    QTest::newRow("folder, file current") << "folder.qlo" << true;
    QTest::newRow("missing file, file current") << "missing.qlo" << true;
}

void TestFileCommands::refusedOpenChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(bool, withFile);
    QVERIFY(TestFiles::write(path(QStringLiteral("short.qlo")), chequeBytes(1, "Short").left(479)));
    QVERIFY(QDir().mkpath(path(QStringLiteral("folder.qlo"))));

    Window window(m_dir->path());
    if (withFile)
        openFile(window, QStringLiteral("smith.qlo"), busyBytes('\0'));
    window.type(3, QStringLiteral("typed, not saved"));
    const CheckTexts boxes = window.form.boxes;
    const QString caption = window.form.caption;
    const QString fileName = window.cDlg.FileName;
    window.form.changes.clear();

    window.dialogs.answer(path(name));
    window.commands.run(FileCommands::Open);

    QVERIFY(window.messages.shown.isEmpty());
    QCOMPARE(window.form.changes, QStringList());
    QCOMPARE(window.form.boxes, boxes);
    QCOMPARE(window.form.caption, caption);
    QCOMPARE(window.cDlg.FileName, fileName);

    if (withFile) {
        // A later Save writes the file that stayed current and names it.
        window.commands.run(FileCommands::Save);
        QCOMPARE(window.form.caption, QStringLiteral("(smith.qlo) --Quillo"));
        QCOMPARE(TestFiles::read(path(QStringLiteral("smith.qlo"))).mid(96, 16), QByteArray("typed, not saved"));
    }
}

QTEST_GUILESS_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
