#include "ui/register/DialogStatusChangePrompt.h"

#include "ui/register/frmStatusChange.h"

#include <QApplication>

std::optional<StatusChangeAnswer> DialogStatusChangePrompt::ask(DraftEventKind kind, const QString& question,
                                                                const QDate& earliest, const QDate& today)
{
    frmStatusChange dialog(kind, question, earliest, today, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.answer();
}
