#include "system/qt/QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>

namespace {

// In a type list "*.*" stands for every file, with or without an extension.
// Qt matches it literally, which would hide a file such as "Acme Supply".
QString qtPattern(const QString& pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

} // namespace

QString QtFileDialogs::qtNameFilter(const NameFilter& filter)
{
    QStringList patterns;
    for (const QString& pattern : filter.patterns)
        patterns.append(qtPattern(pattern));
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    // The dialog hides the last bracketed part (HideNameFilterDetails), so the
    // user reads exactly the description, "Any File (*.*)" included.
    return filter.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

std::unique_ptr<QFileDialog> QtFileDialogs::createDialog(const FileDialogRequest& request, QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setObjectName(QStringLiteral("cDlg"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setModal(true);

    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    // A name typed without an extension is used as typed. Qt's dialog has no
    // read-only check box, so hideReadOnly needs nothing here.
    dialog->setDefaultSuffix(QString());

    QStringList nameFilters;
    for (const NameFilter& filter : request.filters)
        nameFilters.append(qtNameFilter(filter));
    if (!nameFilters.isEmpty()) {
        dialog->setNameFilters(nameFilters);
        if (request.selectedFilter >= 0 && request.selectedFilter < nameFilters.size())
            dialog->selectNameFilter(nameFilters.at(request.selectedFilter));
    }

    if (!request.initialFolder.isEmpty())
        dialog->setDirectory(request.initialFolder);
    // A full path moves the dialog to that file's folder; a bare name is
    // pre-filled in the initial folder.
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

std::optional<QString> QtFileDialogs::choose(const FileDialogRequest& request)
{
    QPointer<QFileDialog> dialog = createDialog(request, QApplication::activeWindow()).release();
    const bool accepted = dialog->exec() == QDialog::Accepted;
    if (!dialog)
        return std::nullopt; // the parent went away while the dialog was up
    const QStringList files = dialog->selectedFiles();
    delete dialog.data();
    if (!accepted || files.isEmpty())
        return std::nullopt;
    return files.first();
}
