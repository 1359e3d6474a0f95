#include "document/AuthorizedDraft.h"

namespace {

// A bank's reader reads the digits only: "A021000021A" and "021000021" are one number.
QString digitsOf(const QString& value)
{
    QString digits;
    for (const QChar c : value) {
        if (c.isDigit())
            digits.append(c);
    }
    return digits;
}

QString nameOf(const QString& payor)
{
    return payor.simplified().toCaseFolded();
}

} // namespace

AuthorizedDraft::AuthorizedDraft(const CheckTexts& texts)
    : m_routing(digitsOf(texts[Box::RoutingNumber])), m_account(digitsOf(texts[Box::AccountNumber])),
      m_payor(nameOf(texts[Box::PayorLine1]))
{}

bool AuthorizedDraft::appliesTo(const CheckTexts& texts) const
{
    return digitsOf(texts[Box::RoutingNumber]) == m_routing && digitsOf(texts[Box::AccountNumber]) == m_account &&
           nameOf(texts[Box::PayorLine1]) == m_payor;
}

PerBox<QString> AuthorizedDraft::marks(const CheckTexts& texts) const
{
    PerBox<QString> marks;
    const QString after = QStringLiteral(": it no longer applies, and one is offered when the draft is printed.");
    if (nameOf(texts[Box::PayorLine1]) != m_payor)
        marks[Box::PayorLine1] = QStringLiteral("The authorization was filled in for another payor") + after;
    if (digitsOf(texts[Box::RoutingNumber]) != m_routing)
        marks[Box::RoutingNumber] =
            QStringLiteral("The authorization was filled in for another routing number") + after;
    if (digitsOf(texts[Box::AccountNumber]) != m_account)
        marks[Box::AccountNumber] = QStringLiteral("The authorization was filled in for another account") + after;
    return marks;
}
