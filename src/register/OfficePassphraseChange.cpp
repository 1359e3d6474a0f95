#include "register/OfficePassphraseChange.h"

#include "platform/MessageBoxService.h"
#include "register/PassphrasePrompt.h"
#include "register/RegisterError.h"
#include "register/RegisterSession.h"

void OfficePassphraseChange::run(RegisterSession& session, PassphrasePrompt& prompt, MessageBoxService& messages)
{
    if (!session.location().isServer()) {
        messages.show(QStringLiteral("The draft register is kept on this computer: only a register on the office "
                                     "server has an office passphrase."));
        return;
    }
    const std::optional<QString> current = prompt.ask(PassphrasePrompt::Purpose::EnterOffice, false);
    if (!current || current->isEmpty())
        return;
    const std::optional<QString> chosen = prompt.ask(PassphrasePrompt::Purpose::ChooseOffice, false);
    if (!chosen || chosen->isEmpty())
        return;
    try {
        session.changeOfficePassphrase(*current, *chosen);
    } catch (const RegisterError& error) {
        messages.show(QStringLiteral("The office passphrase cannot be changed: %1.").arg(error.reason()));
        return;
    }
    messages.show(QStringLiteral("The office passphrase has been changed. Seats that keep the register's key go on "
                                 "as before; a seat that joins from now on types the new one."));
}
