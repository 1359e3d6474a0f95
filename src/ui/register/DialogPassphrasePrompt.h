#pragma once

#include "register/PassphrasePrompt.h"

// Asks for the register's passphrase in a PassphraseDialog over the active window.
class DialogPassphrasePrompt : public PassphrasePrompt {
public:
    std::optional<QString> ask(Purpose purpose, bool wrongBefore) override;
};
