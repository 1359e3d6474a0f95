#pragma once

class MessageBoxService;
class PassphrasePrompt;
class RegisterSession;

// File, Change Office Passphrase: asks for the office passphrase in use and
// a new one, wraps the register's key by the new one and tells the merchant
// what came of it. Nothing changes when either question is cancelled.
namespace OfficePassphraseChange {

void run(RegisterSession& session, PassphrasePrompt& prompt, MessageBoxService& messages);

} // namespace OfficePassphraseChange
