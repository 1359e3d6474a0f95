#include "ChequeFileCheck.h"
#include "WorkFolder.h"

#include "document/CheckFileExtension.h"
#include "document/CheckForm.h"
#include "document/CheckRecord.h"
#include "document/FileCommands.h"
#include "document/Windows1252.h"
#include "platform/CommonDialog.h"
#include "platform/QuilloError.h"

#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"

#include <QFile>

namespace {

constexpr int RecordLength = CheckRecord::ByteLength;
constexpr int FieldLength = CheckRecord::FieldLength;

// Unbuffered: a buffered QFile takes 16 KiB for its buffer on every call.
bool writeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) &&
           file.write(bytes.data(), bytes.size()) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? file.readAll() : QByteArray();
}

QString describe(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex());
}

// The window's boxes and caption in memory. Unlike the tests' fake it keeps
// no log of each change: building that log's texts took an eighth of an
// input's time, and no property here looks at it.
class Form : public CheckForm {
public:
    CheckTexts texts() const override { return boxes; }
    void setText(Box box, const QString& text) override { boxes[box] = text; }
    void setCaption(const QString& text) override { caption = text; }
    void focusFirstBox() override {}
    void markOpened(const PerBox<QString>&) override {}

    CheckTexts boxes;
    QString caption;
};

// The window after loading, with something typed in every box and a current
// file, so that any change Open makes shows.
struct Window {
    Window()
    {
        static const CheckTexts typed = [] {
            CheckTexts texts;
            for (int box = 1; box <= 14; ++box)
                texts[Box(box)] = QStringLiteral("typed %1").arg(box);
            return texts;
        }();
        form.boxes = typed;
        form.caption = QStringLiteral("(earlier.qlo) --Quillo");
        cDlg.FileName = workFolder() + QStringLiteral("/earlier.qlo");
        cDlg.FileTitle = QStringLiteral("earlier.qlo");
        cDlg.CancelError = true;
    }

    Form form;
    FakeFileDialogs dialogs;
    CommonDialog cDlg{dialogs};
    FakeMessageBox messages;
    FileCommands commands{form, cDlg, messages};
};

void checkRecord(QByteArrayView input, QStringList& failures)
{
    try {
        const CheckRecord record = CheckRecord::fromBytes(input);
        if (input.size() < RecordLength)
            failures << QStringLiteral("a record was read from only %1 bytes").arg(input.size());
        else if (record.toBytes() != input.first(RecordLength))
            failures << QStringLiteral("the record does not give its 480 bytes back");
    } catch (const QuilloError&) {
        if (input.size() >= RecordLength)
            failures << QStringLiteral("a record of %1 bytes was refused").arg(input.size());
    }
}

// The boxes of a window that opens `path`.
CheckTexts reopened(const QString& path)
{
    Window window;
    window.dialogs.answer(path);
    window.commands.run(FileCommands::Open);
    return window.form.boxes;
}

void checkOpenAndSave(QByteArrayView input, QStringList& failures)
{
    const QString path = workFolder() + QStringLiteral("/input.qlo");
    if (!writeFile(path, input)) {
        failures << QStringLiteral("the input could not be written to %1").arg(path);
        return;
    }

    Window window;
    // The window as every input finds it, made once.
    static const Window before;
    window.dialogs.answer(path);
    window.commands.run(FileCommands::Open);

    // Open has a word only for boxes that a damaged extension of Quillo's
    // leaves cut; it reads no more of the file than an extension may hold.
    const QByteArrayView read =
        input.first(std::min<qsizetype>(input.size(), RecordLength + CheckFileExtension::MaxLength + 1));
    const bool cut = read.size() > RecordLength &&
                     !CheckFileExtension::cutBoxes(read.first(RecordLength), read.sliced(RecordLength)).isEmpty();
    if (window.messages.shown.size() != (cut ? 1 : 0))
        failures << QStringLiteral("Open showed %1 messages: ").arg(window.messages.shown.size()) +
                        window.messages.shown.join(QLatin1Char('|'));
    if (input.size() < RecordLength) {
        if (window.form.boxes != before.form.boxes || window.form.caption != before.form.caption)
            failures << QStringLiteral("Open of a %1-byte file changed the window").arg(input.size());
        if (window.cDlg.FileName != before.cDlg.FileName || window.cDlg.FileTitle != before.cDlg.FileTitle)
            failures << QStringLiteral("Open of a %1-byte file changed the current file").arg(input.size());
        return;
    }

    // The record as Save writes it: the reserved field is always NULs.
    const QByteArray record =
        QByteArray(FieldLength, '\0') + input.sliced(FieldLength, RecordLength - FieldLength).toByteArray();
    const QByteArrayView tail = input.sliced(RecordLength);
    const bool ownTail = tail.startsWith(QByteArrayView("\x89QLO\r\n\x1a\n"));

    bool fromRecord = true;
    for (int box = 1; box <= 14; ++box)
        fromRecord = fromRecord &&
                     window.form.boxes[Box(box)] == Windows1252::decode(record.sliced(box * FieldLength, FieldLength));
    // Values from an extension are Quillo's, saved with this very record, so
    // they give it back.
    if (!fromRecord && (!ownTail || CheckRecord::fromWindow(window.form.boxes).toBytes() != record))
        failures << QStringLiteral("Open filled the boxes with values that are not the file's: ") +
                        QStringList(window.form.boxes.begin(), window.form.boxes.end()).join(QLatin1Char('|'));
    if (window.cDlg.FileName != path)
        failures << QStringLiteral("the opened file is not the current file");
    if (window.form.caption != FileCommands::fileCaption(QStringLiteral("input.qlo")))
        failures << QStringLiteral("caption after Open: ") + window.form.caption;

    // Saved over: the same record; someone else's bytes after it stay, and
    // values from the record need no extension, so Quillo's goes.
    window.commands.run(FileCommands::Save);
    const QByteArray resaved = readFile(path);
    if (!resaved.startsWith(record))
        failures << QStringLiteral("Save over the opened file wrote the record %1, not %2")
                        .arg(describe(resaved.left(RecordLength)), describe(record));
    if (!ownTail && resaved.sliced(RecordLength) != tail)
        failures << QStringLiteral("Save over the opened file left %1 after the record, not %2")
                        .arg(describe(resaved.sliced(RecordLength)), describe(tail));
    if (ownTail && fromRecord && resaved.size() != RecordLength)
        failures << QStringLiteral("Save over the opened file kept %1 bytes after the record")
                        .arg(resaved.size() - RecordLength);
    if (reopened(path) != window.form.boxes)
        failures << QStringLiteral("the file saved over does not open with the same values");

    const QString copy = workFolder() + QStringLiteral("/copy.qlo");
    QFile::remove(copy);
    window.dialogs.answer(copy);
    window.commands.run(FileCommands::SaveAs);
    const QByteArray saved = readFile(copy);
    if (fromRecord ? saved != record : (!saved.startsWith(record) || saved.size() == RecordLength))
        failures << QStringLiteral("Save As wrote %1 for the record %2").arg(describe(saved), describe(record));
    if (reopened(copy) != window.form.boxes)
        failures << QStringLiteral("the copy saved with Save As does not open with the same values");
    if (window.messages.shown.size() != (cut ? 1 : 0))
        failures << QStringLiteral("Save showed a message: ") + window.messages.shown.join(QLatin1Char('|'));
}

} // namespace

QStringList ChequeFileCheck::check(QByteArrayView input)
{
    QStringList failures;
    checkRecord(input, failures);
    checkOpenAndSave(input, failures);
    return failures;
}
