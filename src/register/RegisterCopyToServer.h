#pragma once

class MessageBoxService;
class PassphrasePrompt;
class RegisterSession;

// File, Copy This Computer's Register to the Server: asks for the office
// passphrase that will open the copy (chosen, its strength measured, as for
// a new office register), copies this computer's register to the office
// server of the Register Location, and tells the merchant how much was
// copied, or why nothing was. Nothing happens when the question is cancelled.
namespace RegisterCopyToServer {

void run(RegisterSession& session, PassphrasePrompt& filePassphrase, PassphrasePrompt& officePassphrase,
         MessageBoxService& messages);

} // namespace RegisterCopyToServer
