#pragma once

#include <QString>
#include <optional>

// Asks the merchant for the register's passphrase: the window layer shows a
// dialog, tests script the answers.
class PassphrasePrompt {
public:
    enum class Purpose {
        Choose, // a new register: the merchant chooses one
        Enter,  // an existing register: the merchant types the one it has
    };

    virtual ~PassphrasePrompt() = default;
    // The passphrase, or nothing when the merchant cancels. `wrongBefore`
    // says that the previous answer was not the register's passphrase.
    virtual std::optional<QString> ask(Purpose purpose, bool wrongBefore) = 0;
};
