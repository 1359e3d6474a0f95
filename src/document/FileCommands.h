#pragma once

#include "document/CheckFile.h"
#include "document/CheckRecord.h"

#include <QString>
#include <cstdint>

class CheckForm;
class CommonDialog;
class MessageBoxService;

// New, Open, Save and Save As of the cheque in the window. The current file is
// the dialog's FileName; an empty name means a new cheque without a file.
class FileCommands {
public:
    enum Index : std::int16_t { New = 0, Open = 1, Save = 2, SaveAs = 3 };

    FileCommands(CheckForm& form, CommonDialog& dialog, MessageBoxService& messages);

    // Runs the command of File menu item `index`: 0 New, 1 Open, 2 Save, any
    // other Save As. Nothing escapes: a cancelled dialog or a file that cannot
    // be opened ends the command quietly with the window and the current file
    // as they were. Only a failed save is reported, in a message box, since
    // the merchant would otherwise believe the check is on disk; so is a save
    // that could not keep a value as typed.
    void run(std::int16_t index);

    // A draft kept elsewhere (the draft register) as a new cheque without a
    // file: the window takes its values, as New and Open leave it.
    void openDraft(const CheckTexts& texts);

    static QString newFileCaption();
    static QString fileCaption(const QString& fileTitle);

    // The name the save dialog suggests for a check whose first payor line
    // is `text1`: without its trailing spaces, with `extension` added unless
    // it ends in it already (in any case). Empty when the line holds nothing
    // but spaces.
    static QString suggestedFileName(const QString& text1, const QString& extension = QStringLiteral(".qlo"));

    // What storing `texts` in a file changes, given what the save kept: one
    // line per box whose value loses more than trailing spaces to the field's
    // width or holds characters the code page cannot hold (the record alone),
    // or holds characters UTF-8 cannot hold (whole values). Empty when the
    // file keeps every value as typed.
    static QStringList storageChanges(const CheckTexts& texts, CheckFile::Kept kept);

    // The mark of a box that Open could not read whole.
    static QString cutMark();

private:
    void newCheque();
    // The boxes that show a value perhaps cut.
    QList<Box> open();
    CheckFile::Kept save(const CheckTexts& texts);
    CheckFile::Kept saveAs(const CheckTexts& texts);
    void savePrompt();
    CheckFile::Kept write(const CheckTexts& texts);
    void reportStorageChanges(const CheckTexts& texts, CheckFile::Kept kept);
    void reportCutOnOpen(const QList<Box>& cut);

    CheckForm& m_form;
    CommonDialog& m_dialog;
    MessageBoxService& m_messages;
};
