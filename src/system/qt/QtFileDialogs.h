#pragma once

#include "platform/FileDialogs.h"

#include <memory>

class QFileDialog;
class QWidget;

// The open and save dialogs as Qt's own file dialog (not the desktop's native
// one), so that they look and behave the same on every desktop and tests can
// find and drive them. The dialog's object name is "cDlg".
class QtFileDialogs : public FileDialogs {
public:
    // Shows the dialog modally over the active window.
    std::optional<QString> choose(const FileDialogRequest& request) override;

    // The dialog `choose` shows, set up but not shown.
    static std::unique_ptr<QFileDialog> createDialog(const FileDialogRequest& request, QWidget* parent);

    // The text Qt is given for one filter: the description, which the dialog
    // shows as it stands, followed by the patterns it filters with.
    static QString qtNameFilter(const NameFilter& filter);
};
