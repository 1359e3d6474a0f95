#include "ui/register/DialogPassphrasePrompt.h"

#include "ui/register/PassphraseDialog.h"

#include <QApplication>

std::optional<QString> DialogPassphrasePrompt::ask(Purpose purpose, bool wrongBefore)
{
    PassphraseDialog dialog(purpose, wrongBefore, QApplication::activeWindow(), m_why);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.passphrase();
}
