#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One entry of a file dialog's type list: the text the user sees and the
// name patterns it stands for ("*.qlo"; several patterns are allowed).
struct NameFilter {
    QString description;
    QStringList patterns;

    friend bool operator==(const NameFilter&, const NameFilter&) = default;
};

// Everything a file dialog needs to come up as the common dialog describes it.
struct FileDialogRequest {
    enum class Kind { Open, Save };

    Kind kind = Kind::Open;
    QString initialFolder;         // where the dialog starts
    QString fileName;              // pre-filled name: a bare name or a full path
    QList<NameFilter> filters;     // in the order given
    int selectedFilter = -1;       // 0-based index into filters, -1 when there are none
    bool fileMustExist = false;    // open: only an existing file is accepted
    bool confirmOverwrite = false; // save: ask before an existing file is replaced
    bool hideReadOnly = false;     // no "open as read-only" check box

    // The save dialog of an export: one type of file, and an existing file
    // replaced only once the user has confirmed it.
    static FileDialogRequest exportTo(QString folder, QString fileName, NameFilter type)
    {
        FileDialogRequest request;
        request.kind = Kind::Save;
        request.initialFolder = std::move(folder);
        request.fileName = std::move(fileName);
        request.filters = {std::move(type)};
        request.selectedFilter = 0;
        request.confirmOverwrite = true;
        request.hideReadOnly = true;
        return request;
    }
};

// The modal open and save dialogs. Returns the chosen file's full path, or
// nothing when the user cancels.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> choose(const FileDialogRequest& request) = 0;
};
