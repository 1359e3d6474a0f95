#pragma once

#include "document/CheckRecord.h"

#include <QString>

// The draft an authorization was filled in for, as far as the authorization
// is bound to it: the routing and account numbers (by their digits) and the
// payor's name. Typed over with another customer's, the draft is no longer the
// one authorized, and the authorization no longer applies to it.
class AuthorizedDraft {
public:
    AuthorizedDraft() = default;
    explicit AuthorizedDraft(const CheckTexts& texts);

    // Whether the authorization still applies to the draft as `texts` hold it now.
    bool appliesTo(const CheckTexts& texts) const;
    // Why it no longer applies, on each box that changed; empty boxes where it does.
    PerBox<QString> marks(const CheckTexts& texts) const;

private:
    QString m_routing;
    QString m_account;
    QString m_payor;
};
