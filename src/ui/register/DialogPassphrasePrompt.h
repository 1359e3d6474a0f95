#pragma once

#include "register/PassphrasePrompt.h"

// Asks for the register's passphrase in a PassphraseDialog over the active
// window, opening with `why`: the sentence that says what it is needed for.
class DialogPassphrasePrompt : public PassphrasePrompt {
public:
    explicit DialogPassphrasePrompt(QString why = {}) : m_why(std::move(why)) {}
    std::optional<QString> ask(Purpose purpose, bool wrongBefore) override;

private:
    QString m_why;
};
