#include "ChequeFileCheck.h"

#include "document/CheckRecord.h"
#include "document/FileCommands.h"
#include "document/Windows1252.h"
#include "platform/CommonDialog.h"
#include "platform/QuilloError.h"

#include "fakes/FakeCheckForm.h"
#include "fakes/FakeFileDialogs.h"
#include "fakes/FakeMessageBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr int RecordLength = CheckRecord::ByteLength;
constexpr int FieldLength = CheckRecord::FieldLength;

// Files of the check live in memory where the system has a memory file system,
// so that the file commands' flush to disk costs next to nothing.
QString workFolder()
{
    static const QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).isReadable()
                                          ? QStringLiteral("/dev/shm/quillo-fuzz-XXXXXX")
                                          : QDir::tempPath() + QStringLiteral("/quillo-fuzz-XXXXXX"));
    return folder.path();
}

bool writeFile(const QString& path, QByteArrayView bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), bytes.size()) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString describe(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex());
}

// The window after loading, with something typed in every box and a current
// file, so that any change Open makes shows.
struct Window {
    Window()
    {
        for (int box = 1; box <= 14; ++box)
            form.text(box) = QStringLiteral("typed %1").arg(box);
        form.caption = QStringLiteral("(earlier.qlo) --Quillo");
        cDlg.FileName = workFolder() + QStringLiteral("/earlier.qlo");
        cDlg.FileTitle = QStringLiteral("earlier.qlo");
        cDlg.CancelError = true;
    }

    FakeCheckForm form;
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

void checkOpenAndSave(QByteArrayView input, QStringList& failures)
{
    const QString path = workFolder() + QStringLiteral("/input.qlo");
    if (!writeFile(path, input)) {
        failures << QStringLiteral("the input could not be written to %1").arg(path);
        return;
    }

    Window window;
    const Window before;
    window.dialogs.answer(path);
    window.commands.run(FileCommands::Open);

    if (!window.messages.shown.isEmpty())
        failures << QStringLiteral("Open showed a message: ") + window.messages.shown.join(QLatin1Char('|'));
    if (input.size() < RecordLength) {
        if (window.form.boxes != before.form.boxes || window.form.caption != before.form.caption)
            failures << QStringLiteral("Open of a %1-byte file changed the window").arg(input.size());
        if (window.cDlg.FileName != before.cDlg.FileName || window.cDlg.FileTitle != before.cDlg.FileTitle)
            failures << QStringLiteral("Open of a %1-byte file changed the current file").arg(input.size());
        return;
    }

    for (int box = 1; box <= 14; ++box) {
        const QString expected = Windows1252::decode(input.sliced(box * FieldLength, FieldLength));
        if (window.form.text(box) != expected)
            failures << QStringLiteral("Text%1 holds \"%2\" after Open, not the file's field")
                            .arg(box)
                            .arg(window.form.text(box));
    }
    if (window.cDlg.FileName != path)
        failures << QStringLiteral("the opened file is not the current file");
    if (window.form.caption != FileCommands::fileCaption(QStringLiteral("input.qlo")))
        failures << QStringLiteral("caption after Open: ") + window.form.caption;

    // The record as Save writes it: the reserved field is always NULs.
    const QByteArray record =
        QByteArray(FieldLength, '\0') + input.sliced(FieldLength, RecordLength - FieldLength).toByteArray();

    window.commands.run(FileCommands::Save);
    const QByteArray resaved = readFile(path);
    const QByteArray expected = record + input.sliced(RecordLength).toByteArray();
    if (resaved != expected)
        failures
            << QStringLiteral("Save over the opened file wrote %1, not %2").arg(describe(resaved), describe(expected));

    const QString copy = workFolder() + QStringLiteral("/copy.qlo");
    QFile::remove(copy);
    window.dialogs.answer(copy);
    window.commands.run(FileCommands::SaveAs);
    const QByteArray saved = readFile(copy);
    if (saved != record)
        failures << QStringLiteral("Save As wrote %1, not %2").arg(describe(saved), describe(record));
    if (!window.messages.shown.isEmpty())
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
