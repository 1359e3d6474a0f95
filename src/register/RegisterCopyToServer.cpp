#include "register/RegisterCopyToServer.h"

#include "platform/MessageBoxService.h"
#include "register/PassphrasePrompt.h"
#include "register/RegisterError.h"
#include "register/RegisterSession.h"

void RegisterCopyToServer::run(RegisterSession& session, PassphrasePrompt& filePassphrase,
                               PassphrasePrompt& officePassphrase, MessageBoxService& messages)
{
    if (!session.location().isServer()) {
        messages.show(QStringLiteral("The draft register is kept on this computer. Choose the office server in "
                                     "File, Register Location first: the register is copied there."));
        return;
    }
    const std::optional<QString> chosen = officePassphrase.ask(PassphrasePrompt::Purpose::ChooseOffice, false);
    if (!chosen || chosen->isEmpty())
        return;
    RegisterCopy::Counts copied;
    try {
        copied = session.copyThisComputersRegister(*chosen, &filePassphrase);
    } catch (const RegisterError& error) {
        messages.show(
            QStringLiteral("This computer's register cannot be copied to the office server: %1.").arg(error.reason()));
        return;
    }
    messages.show(QStringLiteral("This computer's register has been copied to the office server: %1 drafts, %2 "
                                 "events, %3 authorizations and %4 proof files, every proof checked. The register "
                                 "file on this computer is left as it was.")
                      .arg(copied.drafts)
                      .arg(copied.events)
                      .arg(copied.authorizations)
                      .arg(copied.proofCopies));
}
