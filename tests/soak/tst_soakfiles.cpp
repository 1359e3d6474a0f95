// Saves and reopens a thousand cheques with varied texts through the File
// commands, on real files, and checks every byte of the record.
#include "document/FileCommands.h"
#include "platform/CommonDialog.h"

#include "fakes/FakeCheckForm.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int Cheques = 1000;

// A character a merchant may type and the byte it becomes in a cheque file.
struct Typed {
    char16_t unit;
    char byte;
};

// Every character the file can hold, and some it cannot (saved as "?").
QList<Typed> typeableCharacters()
{
    QList<Typed> pool;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        pool.append({c, static_cast<char>(c)});
    for (char16_t c = 0xA0; c <= 0xFF; ++c)
        pool.append({c, static_cast<char>(c)});
    const std::pair<char16_t, unsigned char> windowsOnly[] = {
        {u'€', 0x80},
        {u'‚', 0x82},
        {u'ƒ', 0x83},
        {u'„', 0x84},
        {u'…', 0x85},
        {u'†', 0x86},
        {u'‡', 0x87},
        {u'ˆ', 0x88},
        {u'‰', 0x89},
        {u'Š', 0x8A},
        {u'‹', 0x8B},
        {u'Œ', 0x8C},
        {u'Ž', 0x8E},
        {u'‘', 0x91},
        {u'’', 0x92},
        {u'“', 0x93},
        {u'”', 0x94},
        {u'•', 0x95},
        {u'–', 0x96},
        {u'—', 0x97},
        {u'˜', 0x98},
        {u'™', 0x99},
        {u'š', 0x9A},
        {u'›', 0x9B},
        {u'œ', 0x9C},
        {u'ž', 0x9E},
        {u'Ÿ', 0x9F},
        // The five bytes the code page leaves undefined travel as C1 controls.
        {0x81, 0x81},
        {0x8D, 0x8D},
        {0x8F, 0x8F},
        {0x90, 0x90},
        {0x9D, 0x9D},
        {u'Ω', '?'},
        {u'日', '?'},
        {u'→', '?'},
        {u'ć', '?'},
    };
    for (const auto& [unit, byte] : windowsOnly)
        pool.append({unit, static_cast<char>(byte)});
    return pool;
}

// One box's text, the 32 bytes the record must hold for it, and whether the
// record loses some of it (the file then keeps it whole after the record).
struct Field {
    QString text;
    QByteArray bytes;
    bool lost = false;
};

Field randomField(QRandomGenerator& random, const QList<Typed>& pool)
{
    // Mostly ordinary lengths, with empty boxes and texts longer than a field.
    const int length = random.bounded(8) == 0 ? 33 + random.bounded(20) : random.bounded(33);
    Field field;
    for (int i = 0; i < length; ++i) {
        const Typed& c = pool[random.bounded(int(pool.size()))];
        field.text.append(QChar(c.unit));
        if (i < 32)
            field.bytes.append(c.byte);
        field.lost = field.lost || (i >= 32 ? c.unit != u' ' : (c.byte == '?' && c.unit != u'?'));
    }
    field.bytes.append(QByteArray(32 - field.bytes.size(), ' '));
    return field;
}

// The 32 characters a box holds after Open: the file's bytes as characters.
QString openedText(const QByteArray& bytes, const QList<Typed>& pool)
{
    QString text;
    for (char byte : bytes) {
        QChar c(u'?');
        for (const Typed& typed : pool) {
            if (typed.byte == byte && typed.byte != '?') {
                c = QChar(typed.unit);
                break;
            }
        }
        text.append(byte == ' ' ? QChar(u' ') : c);
    }
    return text;
}

struct Window {
    FakeCheckForm form;
    FakeFileDialogs dialogs;
    CommonDialog cDlg{dialogs};
    FakeMessageBox messages;
    FileCommands commands{form, cDlg, messages};
};

} // namespace

class TestSoakFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void thousandChequesRoundTripByteExactly();
};

void TestSoakFiles::thousandChequesRoundTripByteExactly()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QList<Typed> pool = typeableCharacters();
    QRandomGenerator random(20261207);

    for (int n = 0; n < Cheques; ++n) {
        const QString path = folder.filePath(QStringLiteral("cheque-%1.qlo").arg(n));
        // Every tenth cheque goes over an older, longer file, whose tail stays.
        QByteArray tail;
        if (n % 10 == 9) {
            tail = QByteArray(1 + random.bounded(600), 'T');
            QVERIFY(TestFiles::write(path, QByteArray(480, 'O') + tail));
        }

        Window writer;
        QByteArray expected(32, '\0');
        bool lost = false;
        for (int box = 1; box <= 14; ++box) {
            const Field field = randomField(random, pool);
            writer.form.text(box) = field.text;
            expected += field.bytes;
            lost = lost || field.lost;
        }
        writer.dialogs.answer(path);
        writer.commands.run(FileCommands::SaveAs);
        // The values go whole after the record unless another program's bytes
        // follow it; only then is a value cut or changed, and that is reported.
        const bool whole = lost && tail.isEmpty();
        const QStringList changes = FileCommands::storageChanges(writer.form.boxes, CheckFile::Kept::Record);
        QCOMPARE(changes.isEmpty(), !lost);
        QCOMPARE(writer.messages.shown.size(), lost && !whole ? 1 : 0);
        if (!writer.messages.shown.isEmpty())
            QVERIFY(writer.messages.shown.first().contains(changes.join(QLatin1Char('\n'))));
        const QByteArray saved = TestFiles::read(path);
        QVERIFY2(
            whole ? saved.size() > 480 && saved.left(480) == expected : saved == expected + tail,
            qPrintable(QStringLiteral("cheque %1 saved as %2, expected %3")
                           .arg(n)
                           .arg(QString::fromLatin1(saved.toHex()), QString::fromLatin1((expected + tail).toHex()))));

        Window reader;
        reader.dialogs.answer(path);
        reader.commands.run(FileCommands::Open);
        for (int box = 1; box <= 14; ++box) {
            QCOMPARE(reader.form.text(box),
                     whole ? writer.form.text(box) : openedText(expected.mid(box * 32, 32), pool));
        }
        QCOMPARE(reader.cDlg.FileName, path);

        // Saved again without edits, the file does not change by a byte.
        reader.commands.run(FileCommands::Save);
        QVERIFY(reader.messages.shown.isEmpty());
        QCOMPARE(TestFiles::read(path), saved);
    }
}

QTEST_GUILESS_MAIN(TestSoakFiles)
#include "tst_soakfiles.moc"
