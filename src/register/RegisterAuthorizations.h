#pragma once

#include "register/DraftAuthorizations.h"

#include <functional>

class DraftRegister;

// The cheque window's questions about authorizations, answered by the
// program's draft register.
class RegisterAuthorizations : public DraftAuthorizations {
public:
    // `openRegister` gives the register, opening it on first use, or throws
    // a RegisterError that says why it cannot.
    explicit RegisterAuthorizations(std::function<DraftRegister&()> openRegister);

    std::optional<AuthorizationRecord> authorizationOf(const SentDraft& draft) override;
    std::optional<DraftDetails> sentDraft(const CheckTexts& texts) override;
    void append(DraftId draft, const DraftEvent& event) override;

private:
    std::function<DraftRegister&()> m_openRegister;
};
