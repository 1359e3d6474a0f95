#include "register/RegisterAuthorizations.h"

#include "register/DraftRegister.h"

RegisterAuthorizations::RegisterAuthorizations(std::function<DraftRegister&()> openRegister)
    : m_openRegister(std::move(openRegister))
{}

std::optional<AuthorizationRecord> RegisterAuthorizations::authorizationOf(const SentDraft& draft)
{
    if (draft.authorization)
        return draft.authorization;
    return m_openRegister().authorizationFor(draft.texts);
}

std::optional<DraftDetails> RegisterAuthorizations::sentDraft(const CheckTexts& texts)
{
    return m_openRegister().sentDraft(texts);
}

void RegisterAuthorizations::append(DraftId draft, const DraftEvent& event)
{
    m_openRegister().append(draft, event);
}
