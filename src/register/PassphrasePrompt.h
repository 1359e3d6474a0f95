#pragma once

#include <QString>
#include <optional>

// Asks the merchant for the register's passphrase, the office passphrase or
// the office server's password: the window layer shows a dialog, tests
// script the answers.
class PassphrasePrompt {
public:
    enum class Purpose {
        Choose,         // a new register: the merchant chooses one
        Enter,          // an existing register: the merchant types the one it has
        ChooseOffice,   // a new register on the office server: the office passphrase is chosen
        EnterOffice,    // a seat joins the office's register with the office passphrase
        ServerPassword, // the password of the office server's user
    };

    virtual ~PassphrasePrompt() = default;
    // The passphrase, or nothing when the merchant cancels. `wrongBefore`
    // says that the previous answer was not the register's passphrase.
    virtual std::optional<QString> ask(Purpose purpose, bool wrongBefore) = 0;
};
