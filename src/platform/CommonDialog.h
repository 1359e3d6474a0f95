#pragma once

#include "platform/FileDialogs.h"

class HelpViewer;

#include <QString>
#include <cstdint>

// The main window's one common-dialog object: it remembers the current file
// and the file dialogs' settings between commands and shows the open and save
// dialogs. The member names are the designed ones.
class CommonDialog {
public:
    // Bits of Flags that the file dialogs understand; the others are ignored.
    static constexpr std::int32_t OverwritePrompt = 0x2;  // save asks before replacing a file
    static constexpr std::int32_t HideReadOnly = 0x4;     // no read-only check box
    static constexpr std::int32_t FileMustExist = 0x1000; // open accepts only an existing file

    // The viewer command that shows a help file, opening it if another file or
    // none is showing.
    static constexpr int HelpForceFile = 9;

    explicit CommonDialog(FileDialogs& dialogs, HelpViewer* help = nullptr);

    // Full path of the current file; empty for none. Pre-fills a dialog and
    // is replaced by the path a completed dialog returns.
    QString FileName;
    // Name without folder of the file chosen in the last completed dialog.
    QString FileTitle;
    // Folder in which a dialog starts.
    QString InitDir;
    // Description and pattern pairs, all separated by "|".
    QString Filter;
    // 1-based number of the preselected filter pair.
    int FilterIndex = 0;
    std::int32_t Flags = 0;
    // When set, Cancel in a dialog throws DialogCancelled.
    bool CancelError = false;

    // The help viewer's command and the help file ShowHelp opens.
    int HelpCommand = 0;
    QString HelpFile;

    // Show the modal dialog; true when the user chose a file. On Cancel
    // FileName and FileTitle stay as they were.
    bool ShowOpen();
    bool ShowSave();
    // Opens HelpFile in the help viewer with HelpCommand.
    void ShowHelp();

    // The request a dialog of `kind` would be shown with now.
    FileDialogRequest request(FileDialogRequest::Kind kind) const;

    // "Text (*.txt)|*.txt|All (*.*)|*.*" as a list of filters; a description
    // without its pattern at the end is dropped, ";" separates patterns.
    static QList<NameFilter> parseFilter(const QString& filter);

private:
    bool show(FileDialogRequest::Kind kind);

    FileDialogs& m_dialogs;
    HelpViewer* m_help;
};
