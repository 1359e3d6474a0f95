#include "document/FileCommands.h"

#include "document/CheckFile.h"
#include "document/CheckForm.h"
#include "document/CheckRecord.h"
#include "platform/CommonDialog.h"
#include "platform/DialogCancelled.h"
#include "platform/MessageBoxService.h"
#include "platform/QuilloError.h"

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
        // Built before any dialog: the dialogs are modal, so this is the
        // window's content at the moment the command was given.
        const CheckRecord record = CheckRecord::fromWindow(m_form.texts());
        switch (index) {
        case New:
            newCheque();
            return; // the current file is already what New wants it to be
        case Open:
            open();
            break;
        case Save:
            save(record);
            break;
        default:
            saveAs(record);
            break;
        }
        m_form.setCaption(fileCaption(m_dialog.FileTitle));
        savedName = m_dialog.FileName;
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
    for (int box = 1; box <= 14; ++box)
        m_form.setText(box, QString());
    m_dialog.FileName.clear();
    m_form.setCaption(newFileCaption());
}

void FileCommands::open()
{
    if (!m_dialog.ShowOpen())
        throw DialogCancelled();
    // Read completely before touching the window, so a bad file changes nothing.
    const CheckTexts texts = CheckFile::read(m_dialog.FileName).toWindow();
    for (int box = 1; box <= 14; ++box)
        m_form.setText(box, texts[static_cast<std::size_t>(box - 1)]);
}

void FileCommands::save(const CheckRecord& record)
{
    // With a current file there is no dialog. The loop ends: each prompt
    // either sets a non-empty name or throws.
    while (m_dialog.FileName.isEmpty())
        savePrompt();
    write(record);
}

void FileCommands::saveAs(const CheckRecord& record)
{
    do
        savePrompt();
    while (m_dialog.FileName.isEmpty());
    write(record);
}

void FileCommands::savePrompt()
{
    // Suggests the first payor line as it stands, even over a current file's path.
    m_dialog.FileName = m_form.texts()[0];
    // The dialog throws on Cancel when CancelError is set; without it, Cancel
    // must still end the command rather than save under the suggested name.
    if (!m_dialog.ShowSave())
        throw DialogCancelled();
}

void FileCommands::write(const CheckRecord& record)
{
    try {
        CheckFile::write(m_dialog.FileName, record);
    } catch (const QuilloError& error) {
        m_messages.show(error.message());
        throw;
    }
}
