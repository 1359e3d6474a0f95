#include "document/FileCommands.h"

#include "document/BoxNames.h"
#include "document/CheckForm.h"
#include "document/Windows1252.h"
#include "platform/CommonDialog.h"
#include "platform/DialogCancelled.h"
#include "platform/MessageBoxService.h"
#include "platform/QuilloError.h"

#include <optional>

FileCommands::FileCommands(CheckForm& form, CommonDialog& dialog, MessageBoxService& messages)
    : m_form(form), m_dialog(dialog), m_messages(messages)
{}

QString FileCommands::newFileCaption()
{
    return QStringLiteral(" (New File) --Quillo");
}

QString FileCommands::fileCaption(const QString& fileTitle)
{
    return QLatin1Char('(') + fileTitle + QStringLiteral(") --Quillo");
}

void FileCommands::run(std::int16_t index)
{
    QString savedName = m_dialog.FileName;
    const QString savedTitle = m_dialog.FileTitle;
    try {
        // Read before any dialog: the dialogs are modal, so this is the
        // window's content at the moment the command was given.
        const CheckTexts texts = m_form.texts();
        std::optional<CheckFile::Kept> kept;
        QList<Box> cut;
        switch (index) {
        case New:
            newCheque();
            return; // the current file is already what New wants it to be
        case Open:
            cut = open();
            break;
        case Save:
            kept = save(texts);
            break;
        default:
            kept = saveAs(texts);
            break;
        }
        m_form.setCaption(fileCaption(m_dialog.FileTitle));
        savedName = m_dialog.FileName;
        if (kept)
            reportStorageChanges(texts, *kept);
        reportCutOnOpen(cut);
    } catch (...) {
        // Cancel, an unreadable file or a failed save (already reported by
        // write()): the command ends here and the previous file stays current.
        // Its title goes back too: a dialog that completed before the file
        // step failed would otherwise leave the next caption naming a file
        // that was never opened or written.
        m_dialog.FileTitle = savedTitle;
    }
    m_dialog.FileName = savedName;
}

void FileCommands::newCheque()
{
    for (Box box : AllBoxes)
        m_form.setText(box, QString());
    m_form.markOpened({});
    m_dialog.FileName.clear();
    m_form.setCaption(newFileCaption());
    m_form.focusFirstBox();
}

void FileCommands::openDraft(const CheckTexts& texts)
{
    newCheque();
    for (Box box : AllBoxes)
        m_form.setText(box, texts[box]);
    m_form.focusFirstBox();
}

QList<Box> FileCommands::open()
{
    if (!m_dialog.ShowOpen())
        throw DialogCancelled();
    // Read completely before touching the window, so a bad file changes nothing.
    const CheckFile::Opened opened = CheckFile::open(m_dialog.FileName);
    for (Box box : AllBoxes)
        m_form.setText(box, opened.texts[box]);
    PerBox<QString> marks;
    for (Box box : opened.cut)
        marks[box] = cutMark();
    m_form.markOpened(marks);
    m_form.focusFirstBox();
    return opened.cut;
}

QString FileCommands::cutMark()
{
    return QStringLiteral("The file's whole copy of this value is damaged: the box shows the first 32 characters "
                          "the file keeps, and may be cut. Type the whole value before printing.");
}

void FileCommands::reportCutOnOpen(const QList<Box>& cut)
{
    if (cut.isEmpty())
        return;
    QStringList names;
    for (Box box : cut)
        names << BoxNames::of(box) + QStringLiteral(": the first 32 characters.");
    m_messages.show(QStringLiteral("The check was opened from \"%1\", but the part of the file that keeps long values "
                                   "whole is damaged, so these boxes show only what the rest of the file keeps, and "
                                   "may be cut:\n")
                        .arg(m_dialog.FileName) +
                    names.join(QLatin1Char('\n')) +
                    QStringLiteral("\nThe boxes are marked: type their whole values before printing the check."));
}

CheckFile::Kept FileCommands::save(const CheckTexts& texts)
{
    // With a current file there is no dialog. The loop ends: each prompt
    // either sets a non-empty name or throws.
    while (m_dialog.FileName.isEmpty())
        savePrompt();
    return write(texts);
}

CheckFile::Kept FileCommands::saveAs(const CheckTexts& texts)
{
    do
        savePrompt();
    while (m_dialog.FileName.isEmpty());
    return write(texts);
}

QString FileCommands::suggestedFileName(const QString& text1, const QString& extension)
{
    // A line read back from a file ends in fill spaces; left in, they would
    // give a file name ending in invisible spaces. Without the extension the
    // open dialog's "Quillo Files" filter would hide the file.
    const QString name = withoutTrailingSpaces(text1);
    if (name.isEmpty() || name.endsWith(extension, Qt::CaseInsensitive))
        return name;
    return name + extension;
}

void FileCommands::savePrompt()
{
    // Suggests the first payor line, even over a current file's path.
    m_dialog.FileName = suggestedFileName(m_form.texts()[Box::PayorLine1]);
    // The dialog throws on Cancel when CancelError is set; without it, Cancel
    // must still end the command rather than save under the suggested name.
    if (!m_dialog.ShowSave())
        throw DialogCancelled();
}

namespace {

// What the file makes of one value, or an empty text when it keeps it as typed.
QString storageChange(const QString& value, CheckFile::Kept kept)
{
    const bool whole = kept == CheckFile::Kept::WholeValues;
    QStringList changes;
    // Typing into a reopened box pushes its fill spaces past the field's end;
    // only a value that loses some other character has lost anything.
    const qsizetype typed = withoutTrailingSpaces(value).size();
    if (!whole && typed > CheckRecord::FieldLength) {
        changes
            << QStringLiteral("%1 characters, the file keeps the first %2").arg(typed).arg(CheckRecord::FieldLength);
    }
    // A character the code page lacks is stored as one "?" per UTF-16 unit;
    // one that UTF-8 cannot hold (half a surrogate pair) as U+FFFD.
    const QString stored = whole ? value : value.left(CheckRecord::FieldLength);
    const auto keeps = [whole](QStringView text) {
        return whole ? text.isValidUtf16() : Windows1252::represents(text);
    };
    // Nearly every value is stored as it is: only one that is not is looked
    // at character by character.
    if (keeps(stored))
        return changes.join(QStringLiteral("; "));
    QStringList reported;
    for (qsizetype i = 0; i < stored.size();) {
        const bool pair = stored.at(i).isHighSurrogate() && i + 1 < stored.size() && stored.at(i + 1).isLowSurrogate();
        const QString character = stored.mid(i, pair ? 2 : 1);
        i += character.size();
        const QString saved =
            whole ? QString::fromUtf8(character.toUtf8()) : Windows1252::decode(Windows1252::encode(character));
        if (saved == character || reported.contains(character))
            continue;
        reported << character;
        changes << QStringLiteral("\"%1\" cannot be stored and was saved as \"%2\"").arg(character, saved);
    }
    return changes.join(QStringLiteral("; "));
}

} // namespace

QStringList FileCommands::storageChanges(const CheckTexts& texts, CheckFile::Kept kept)
{
    QStringList lines;
    for (Box box : AllBoxes) {
        const QString change = storageChange(texts[box], kept);
        if (!change.isEmpty())
            lines << BoxNames::of(box) + QStringLiteral(": ") + change + QLatin1Char('.');
    }
    return lines;
}

CheckFile::Kept FileCommands::write(const CheckTexts& texts)
{
    try {
        return CheckFile::write(m_dialog.FileName, texts);
    } catch (const QuilloError& error) {
        m_messages.show(error.message());
        throw;
    }
}

void FileCommands::reportStorageChanges(const CheckTexts& texts, CheckFile::Kept kept)
{
    // The merchant learns what the file could not keep while the window still
    // shows the full text.
    const QStringList changes = storageChanges(texts, kept);
    if (changes.isEmpty())
        return;
    m_messages.show(QStringLiteral("The check was saved to \"%1\", but not every value could be stored as typed:\n")
                        .arg(m_dialog.FileName) +
                    changes.join(QLatin1Char('\n')) +
                    QStringLiteral("\nThe window still holds the full text, so the check can still be printed as "
                                   "typed."));
}
