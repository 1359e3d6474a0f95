#include "document/CheckFileExtension.h"
#include "document/FileCommands.h"
#include "platform/CommonDialog.h"

#include "fakes/AsOrdinaryUser.h"
#include "fakes/FakeCheckForm.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/TestFiles.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mman.h>
#include <unistd.h>

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

// Quillo's extension after the record of a cheque whose only value is the
// 47-character amount in words of $1,234.56 (Text8), as the file must hold it:
// magic, version 1, length 181, the checksum of bytes 32 to 479, fourteen
// counted UTF-8 values, the checksum of all before it.
const QByteArray WordsExtension = QByteArray::fromHex(
    "89514c4f0d0a1a0a0100b5000000ba5ecafe237fb0e99d54e631d1e3de6de1e3e96c1e031de01c8aa67d9684fce200000000"
    "0000000000000000000000000000000000000000000000002f0000004f6e652074686f7573616e642074776f2068756e6472"
    "6564207468697274792d666f757220616e642035362f31303000000000000000000000000000000000000000000000000038"
    "f6e34afd58e8c7054612ea7bfccbb70bd372681bcb2acd6f09a0d38d444369");
const QString Words = QStringLiteral("One thousand two hundred thirty-four and 56/100");
const QByteArray WordsFile = chequeBytes(8, "One thousand two hundred thirty-") + WordsExtension;

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

// Bytes that end where readable memory ends: a page the process may not
// touch follows them, so that a read one byte past them stops the test,
// with or without a sanitizer.
class GuardedBytes {
public:
    explicit GuardedBytes(const QByteArray& bytes)
    {
        const qsizetype page = ::sysconf(_SC_PAGESIZE);
        m_pages = (bytes.size() + page - 1) / page * page + page;
        m_start = static_cast<char*>(
            ::mmap(nullptr, size_t(m_pages), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ::mprotect(m_start + m_pages - page, size_t(page), PROT_NONE);
        m_bytes = m_start + m_pages - page - bytes.size();
        memcpy(m_bytes, bytes.constData(), size_t(bytes.size()));
        m_size = bytes.size();
    }
    ~GuardedBytes() { ::munmap(m_start, size_t(m_pages)); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    QByteArrayView view() const { return {m_bytes, m_size}; }

private:
    char* m_start = nullptr;
    char* m_bytes = nullptr;
    qsizetype m_pages = 0;
    qsizetype m_size = 0;
};

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
    void saveOverWhatFollowsTheRecord_data();
    void saveOverWhatFollowsTheRecord();
    void openReadsTheRecordAloneBesideABrokenExtension_data();
    void openReadsTheRecordAloneBesideABrokenExtension();

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
    // Longer than a field: the record keeps 32 characters, the extension the value.
    QTest::newRow("40-character payee") << 7 << QStringLiteral("Pay the Worthington Hardware Co. Limited")
                                        << chequeBytes(7, "Pay the Worthington Hardware Co.") +
                                               QByteArray::fromHex("89514c4f0d0a1a0a0100ae0000005f38534363fcd0c3eb398d5"
                                                                   "6a574f1dfc3218252f9c168e41add1fd860f5cba900000000"
                                                                   "000000000000000000000000000000000000000028000000506"
                                                                   "1792074686520576f727468696e67746f6e20486172647761"
                                                                   "726520436f2e204c696d6974656400000000000000000000000"
                                                                   "000000000000000000000000000000000263db7239b001e9e"
                                                                   "ad5bb835b6df1056682b4bdb2416ae756bb0fefc39d67682")
                                        << QStringLiteral("Pay the Worthington Hardware Co. Limited") << QStringList();
    QTest::newRow("amount in words of 47 characters") << 8 << Words << WordsFile << Words << QStringList();
    // A reopened box ends in fill spaces; typing pushes them past the field.
    QTest::newRow("typed at the start of a reopened box")
        << 1 << QStringLiteral("XSmith") + QString(27, QLatin1Char(' ')) << chequeBytes(1, "XSmith")
        << QStringLiteral("XSmith") + QString(26, QLatin1Char(' ')) << QStringList();
    QTest::newRow("typed past the fill of a reopened box")
        << 1 << QStringLiteral("Smith") + QString(27, QLatin1Char(' ')) + QStringLiteral("X   ")
        << chequeBytes(1, "Smith") + QByteArray::fromHex("89514c4f0d0a1a0a0100aa000000b656ac574c8d2ded5f04970fc65f2cf4a"
                                                         "f8fd114b31916f29cbc3c824574b0a724000000"
                                                         "536d697468202020202020202020202020202020202020202020202020202"
                                                         "020582020200000000000000000000000000000"
                                                         "0000000000000000000000000000000000000000000000000000000000000"
                                                         "00000000000000092dd10f02ab338d05134abb9"
                                                         "6d357f7c9f6c084399c741e7ef9cf0b6a011e132")
        << QStringLiteral("Smith") + QString(27, QLatin1Char(' ')) + QStringLiteral("X   ") << QStringList();
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
    // Outside the code page: "?" in the record, the character in the extension.
    QTest::newRow("check mark, arrow, L with stroke")
        << 14 << QStringLiteral("Paid \u2713 \u2192 \u0141\u00f3d\u017a")
        << chequeBytes(14, "Paid ? ? ?\xf3"
                           "d?") +
               QByteArray::fromHex("89514c4f0d0a1a0a01009a00000021f57173308cd8b948b909e94995eec87f38b529bcd9f80a3c70f3c"
                                   "636170b0500000000"
                                   "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
                                   "00000000000001400"
                                   "00005061696420e29c9320e2869220c581c3b364c5ba59f200236fa51a09f5f75a3473975a98270c507"
                                   "26138755e721469f1"
                                   "08baac35")
        << QStringLiteral("Paid \u2713 \u2192 \u0141\u00f3d\u017a") << QStringList();
    QTest::newRow("a character outside the basic plane, twice")
        << 2 << QStringLiteral("\U0001F600 Suite \U0001F600")
        << chequeBytes(2, "?? Suite ??") +
               QByteArray::fromHex(
                   "89514c4f0d0a1a0a010095000000dfdc385d35ab876beeedd165fa3e53180d7174618076f822462d83895e8f592a0000000"
                   "0"
                   "0f000000f09f988020537569746520f09f98800000000000000000000000000000000000000000000000000000000000000"
                   "0"
                   "0000000000000000000000000000000000c519cd001243695ebf283af42da16beffc9fe3fe44e1f78379cc827ec99380d0")
        << QStringLiteral("\U0001F600 Suite \U0001F600") << QStringList();
    QTest::newRow("cut and changed") << 13
                                     << QStringLiteral("\u2460") + QString(31, QLatin1Char('1')) +
                                            QStringLiteral("\u2461")
                                     << chequeBytes(13, "?" + QByteArray(31, '1')) +
                                            QByteArray::fromHex("89514c4f0d0a1a0a0100ab0000009ef94bf4fddb7048c2b88e4bbf"
                                                                "56c7db837547f12575ba4d4e3336df0095d76800000000"
                                                                "000000000000000000000000000000000000000000000000000000"
                                                                "000000000000000000000000000000000025000000e291"
                                                                "a03131313131313131313131313131313131313131313131313131"
                                                                "3131313131e291a100000000fe97f1fb5777ed6d2f0c7c"
                                                                "a70809676cccf1795c37da63d55861c14fa203a78a")
                                     << QStringLiteral("\u2460") + QString(31, QLatin1Char('1')) +
                                            QStringLiteral("\u2461")
                                     << QStringList();
    // Half a surrogate pair has no UTF-8 either: the one value a file cannot keep.
    QTest::newRow("half a surrogate pair")
        << 14 << QStringLiteral("Paid ") + QChar(0xD800)
        << chequeBytes(14, "Paid ?") +
               QByteArray::fromHex("89514c4f0d0a1a0a01008c0000008e005b77f17ad3e81e6276e6d295af614bbb73d9cda1900b4f8737e"
                                   "4e0a5d18300000000"
                                   "00000000000000000000000000000000000000000000000000000000000000000000000000000000000"
                                   "00000000000000600"
                                   "000050616964203f3f83fd75c48a8a6fc6376d046b16d38274db65aac324577aacd50afbecba2df9")
        << QStringLiteral("Paid ?")
        << QStringList{QStringLiteral("Memo: \"") + QChar(0xD800) +
                       QStringLiteral("\" cannot be stored and was saved as \"?\".")};
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

    // What was kept whole is saved whole again, even over the record alone.
    if (changes.isEmpty()) {
        QVERIFY(TestFiles::write(path(QStringLiteral("cheque.qlo")), bytes.left(480)));
        other.commands.run(FileCommands::Save);
        QCOMPARE(TestFiles::read(path(QStringLiteral("cheque.qlo"))), bytes);
        QVERIFY(other.messages.shown.isEmpty());
    }
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

void TestFileCommands::saveOverWhatFollowsTheRecord_data()
{
    // The file holds the record of the 47-character words, then `tail`; the
    // words box is set to `text` and saved over it.
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after"); // what follows the record afterwards
    QTest::addColumn<QStringList>("changes");

    QByteArray foreign(520, '\0');
    for (int i = 0; i < foreign.size(); ++i)
        foreign[i] = static_cast<char>(i % 251);
    const QByteArray magic("\x89QLO\r\n\x1a\n");
    const QString Words34 = QStringLiteral("Two hundred forty-seven and 50/100");
    const QByteArray Words34Extension = QByteArray::fromHex(
        "89514c4f0d0a1a0a0100a8000000c27e942e40a81a990a3516a2b1052d47de1a4fd88bbad8516719da4c6c03bd6f00000000"
        "0000000000000000000000000000000000000000000000002200000054776f2068756e6472656420666f7274792d73657665"
        "6e20616e642035302f31303000000000000000000000000000000000000000000000000067d1acb89e29c0d8cdb28fe795d6"
        "2944e36b00575183fadb8db212026f5204b2");

    QTest::newRow("old extension, other long words") << WordsExtension << Words34 << Words34Extension << QStringList();
    QTest::newRow("old extension, words that fit")
        << WordsExtension << "Zero and 75/100" << QByteArray() << QStringList();
    QTest::newRow("a damaged extension of Quillo's") << magic << Words << WordsExtension << QStringList();
    const QStringList cut{QStringLiteral("In the Amount of: 47 characters, the file keeps the first 32.")};
    QTest::newRow("seven bytes of the magic") << magic.left(7) << Words << magic.left(7) << cut;
    QTest::newRow("someone else's bytes, long words") << foreign << Words << foreign << cut;
    QTest::newRow("someone else's bytes, words that fit") << foreign << "Zero and 75/100" << foreign << QStringList();
}

void TestFileCommands::saveOverWhatFollowsTheRecord()
{
    QFETCH(QByteArray, tail);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    QFETCH(QStringList, changes);
    const QString file = path(QStringLiteral("long.qlo"));
    QVERIFY(TestFiles::write(file, chequeBytes(8, "One thousand two hundred thirty-") + tail));

    Window window(m_dir->path());
    window.type(8, text);
    window.dialogs.answer(file);
    window.commands.run(FileCommands::SaveAs);

    QCOMPARE(TestFiles::read(file), chequeBytes(8, text.left(32).toLatin1()) + after);
    QCOMPARE(window.messages.shown, changes.isEmpty() ? QStringList() : QStringList{storedDifferently(file, changes)});
}

void TestFileCommands::openReadsTheRecordAloneBesideABrokenExtension_data()
{
    // The file of the 47-character words with one change; what Text8 shows,
    // and whether Open says that it may be cut and marks it.
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("bytes"); // put at offset; an empty one at 0 cuts the last byte
    QTest::addColumn<bool>("resealed");    // the last checksum made to fit the change, as a forger would
    QTest::addColumn<QString>("text8");
    QTest::addColumn<bool>("cut");

    const QString record = QStringLiteral("One thousand two hundred thirty-");
    QTest::newRow("intact") << 0 << QByteArray(1, '\0') << false << Words << false;
    QTest::newRow("reserved field changed") << 0 << QByteArray("Z") << false << Words << false;
    // Another program rewrote the record: its values stand.
    QTest::newRow("record changed since")
        << 256 << QByteArray("o") << false << "one thousand two hundred thirty-" << false;
    // Not Quillo's at all: someone else's bytes.
    QTest::newRow("magic changed") << 480 << QByteArray("\x88") << false << record << false;
    QTest::newRow("version 2") << 488 << QByteArray("\x02") << false << record << true;
    QTest::newRow("length one less") << 490 << QByteArray("\xb4") << false << record << true;
    QTest::newRow("a value changed") << 560 << QByteArray("E") << false << record << true;
    QTest::newRow("last checksum changed") << 660 << QByteArray("\x68") << false << record << true;
    QTest::newRow("last byte cut") << 0 << QByteArray() << false << record << true;
    QTest::newRow("a byte appended") << 661 << QByteArray(1, '\0') << false << record << true;
    // Value lengths that a sealed extension still must not be believed on:
    // the values end at byte 629, the extension at 661. Text8's count is at
    // 554, Text14's at 625.
    QTest::newRow("resealed unchanged") << 554 << QByteArray("\x2f") << true << Words << false;
    QTest::newRow("Text8 to the end of the values") << 554 << QByteArray("\x47\0\0\0", 4) << true << record << true;
    QTest::newRow("Text8 one past the values") << 554 << QByteArray("\x48\0\0\0", 4) << true << record << true;
    QTest::newRow("Text14 one past the values") << 625 << QByteArray("\x01\0\0\0", 4) << true << record << true;
    QTest::newRow("Text14 to the end of the extension") << 625 << QByteArray("\x20\0\0\0", 4) << true << record << true;
    QTest::newRow("Text14 one past the end of the extension")
        << 625 << QByteArray("\x21\0\0\0", 4) << true << record << true;
    QTest::newRow("Text8 2 GiB long") << 554 << QByteArray("\0\0\0\x80", 4) << true << record << true;
    QTest::newRow("Text8 4 GiB long") << 554 << QByteArray("\xff\xff\xff\xff", 4) << true << record << true;
}

void TestFileCommands::openReadsTheRecordAloneBesideABrokenExtension()
{
    QFETCH(int, offset);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, resealed);
    QFETCH(QString, text8);
    QFETCH(bool, cut);
    QByteArray file = WordsFile;
    QCOMPARE(file.size(), 661);
    if (bytes.isEmpty())
        file.chop(1);
    else
        file.replace(offset, bytes.size(), bytes);
    if (resealed)
        file.replace(629, 32, QCryptographicHash::hash(file.sliced(480, 149), QCryptographicHash::Sha256));

    // Read on its own, the extension reads nothing past its end.
    const GuardedBytes tail(file.sliced(480));
    const std::optional<CheckTexts> values = CheckFileExtension::read(QByteArrayView(file).first(480), tail.view());
    QCOMPARE(values ? (*values)[Box::AmountInWords] : QStringLiteral("(none)"),
             text8 == Words ? Words : QStringLiteral("(none)"));

    Window window(m_dir->path());
    window.type(8, QStringLiteral("typed"));
    openFile(window, QStringLiteral("words.qlo"), file);
    QCOMPARE(window.form.text(8), text8);
    // The other boxes come from the same place: empty values, or 32 spaces.
    QCOMPARE(window.form.text(9), text8 == Words ? QString() : QString(32, QLatin1Char(' ')));
    if (!cut) {
        QVERIFY(window.messages.shown.isEmpty());
        QCOMPARE(window.form.marks, PerBox<QString>());
        return;
    }
    QCOMPARE(window.messages.shown,
             QStringList{QStringLiteral("The check was opened from \"%1\", but the part of the file that keeps long "
                                        "values whole is damaged, so these boxes show only what the rest of the file "
                                        "keeps, and may be cut:\nIn the Amount of: the first 32 characters.\nThe boxes "
                                        "are marked: type their whole values before printing the check.")
                             .arg(path(QStringLiteral("words.qlo")))});
    PerBox<QString> marks;
    marks[Box::AmountInWords] =
        QStringLiteral("The file's whole copy of this value is damaged: the box shows the first 32 characters the "
                       "file keeps, and may be cut. Type the whole value before printing.");
    QCOMPARE(window.form.marks, marks);

    // New clears the marks.
    window.commands.run(FileCommands::New);
    QCOMPARE(window.form.marks, PerBox<QString>());
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
