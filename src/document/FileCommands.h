#pragma once

#include <QString>
#include <cstdint>

class CheckForm;
struct CheckRecord;
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
    // the merchant would otherwise believe the cheque is on disk.
    void run(std::int16_t index);

    static QString newFileCaption();
    static QString fileCaption(const QString& fileTitle);

private:
    void newCheque();
    void open();
    void save(const CheckRecord& record);
    void saveAs(const CheckRecord& record);
    void savePrompt();
    void write(const CheckRecord& record);

    CheckForm& m_form;
    CommonDialog& m_dialog;
    MessageBoxService& m_messages;
};
