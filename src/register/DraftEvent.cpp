#include "register/DraftEvent.h"

#include <array>

namespace {

struct KindCode {
    DraftEventKind kind;
    const char* code;
};

// The codes are part of the register file: never rename one.
constexpr std::array<KindCode, 14> Codes = {{
    {DraftEventKind::Printed, "printed"},
    {DraftEventKind::Exported, "exported"},
    {DraftEventKind::Uncertain, "uncertain"},
    {DraftEventKind::NotPrinted, "not-printed"},
    {DraftEventKind::Voided, "voided"},
    {DraftEventKind::Deposited, "deposited"},
    {DraftEventKind::Returned, "returned"},
    {DraftEventKind::Note, "note"},
    {DraftEventKind::NoAuthorization, "no-authorization"},
    {DraftEventKind::LetterSent, "letter-sent"},
    {DraftEventKind::Paid, "paid"},
    {DraftEventKind::Represented, "re-presented"},
    {DraftEventKind::Withdrawal, "withdrawal"},
    {DraftEventKind::ClaimPackage, "claim-package"},
}};

DraftEvent make(DraftEventKind kind, const QString& text = {}, const QString& jobId = {})
{
    return DraftEvent{kind, text, jobId, {}, std::nullopt, 0};
}

DraftEvent onDay(DraftEventKind kind, const QDate& day, const QString& text = {})
{
    DraftEvent event = make(kind, text);
    event.effective = day;
    return event;
}

} // namespace

DraftEvent DraftEvent::printed(const QString& jobId)
{
    return make(DraftEventKind::Printed, {}, jobId);
}

DraftEvent DraftEvent::exported()
{
    return make(DraftEventKind::Exported);
}

DraftEvent DraftEvent::uncertain(const QString& jobId)
{
    return make(DraftEventKind::Uncertain, {}, jobId);
}

DraftEvent DraftEvent::notPrinted(const QString& why)
{
    return make(DraftEventKind::NotPrinted, why);
}

DraftEvent DraftEvent::printedAfterLookUp(const QString& jobId, const QString& jobState)
{
    return make(DraftEventKind::Printed, QStringLiteral("The print service later reported the job %1.").arg(jobState),
                jobId);
}

DraftEvent DraftEvent::notPrintedAfterLookUp(const QString& jobId, const QString& jobState)
{
    return make(DraftEventKind::NotPrinted,
                QStringLiteral("The print service later reported the job %1.").arg(jobState), jobId);
}

DraftEvent DraftEvent::voided(const QDate& day)
{
    return onDay(DraftEventKind::Voided, day);
}

DraftEvent DraftEvent::deposited(const QDate& day, const QString& deposit)
{
    return onDay(DraftEventKind::Deposited, day, deposit);
}

DraftEvent DraftEvent::paid(const QDate& day)
{
    return onDay(DraftEventKind::Paid, day);
}

DraftEvent DraftEvent::returned(const QDate& day, ReturnReason reason, const QString& otherText)
{
    DraftEvent event = onDay(DraftEventKind::Returned, day, reason == ReturnReason::Other ? otherText : QString());
    event.reason = reason;
    return event;
}

DraftEvent DraftEvent::represented(const QDate& day, const QString& deposit)
{
    return onDay(DraftEventKind::Represented, day, deposit);
}

DraftEvent DraftEvent::withdrawal(qint64 eventId)
{
    DraftEvent event = make(DraftEventKind::Withdrawal);
    event.withdraws = eventId;
    return event;
}

DraftEvent DraftEvent::note(const QString& text)
{
    return make(DraftEventKind::Note, text);
}

DraftEvent DraftEvent::noAuthorization(const QString& why)
{
    return make(DraftEventKind::NoAuthorization, why);
}

DraftEvent DraftEvent::letterSent(const QString& how, const QString& jobId)
{
    return make(DraftEventKind::LetterSent, how, jobId);
}

DraftEvent DraftEvent::claimPackage(const QString& folder)
{
    return make(DraftEventKind::ClaimPackage, folder);
}

bool DraftEvent::setsStatus() const
{
    return kind != DraftEventKind::Note && kind != DraftEventKind::NoAuthorization &&
           kind != DraftEventKind::LetterSent && kind != DraftEventKind::Withdrawal &&
           kind != DraftEventKind::ClaimPackage;
}

QString DraftEvent::code(DraftEventKind kind)
{
    for (const KindCode& entry : Codes) {
        if (entry.kind == kind)
            return QString::fromLatin1(entry.code);
    }
    return {};
}

std::optional<DraftEventKind> DraftEvent::fromCode(const QString& code)
{
    for (const KindCode& entry : Codes) {
        if (code == QLatin1String(entry.code))
            return entry.kind;
    }
    return std::nullopt;
}

DraftStatus DraftEvent::statusOf(DraftEventKind kind)
{
    switch (kind) {
    case DraftEventKind::Printed:
        return DraftStatus::Printed;
    case DraftEventKind::Exported:
        return DraftStatus::Exported;
    case DraftEventKind::NotPrinted:
        return DraftStatus::NotPrinted;
    case DraftEventKind::Voided:
        return DraftStatus::Voided;
    case DraftEventKind::Deposited:
        return DraftStatus::Deposited;
    case DraftEventKind::Returned:
        return DraftStatus::Returned;
    case DraftEventKind::Paid:
        return DraftStatus::Paid;
    case DraftEventKind::Represented:
        return DraftStatus::Represented;
    case DraftEventKind::Uncertain:
    case DraftEventKind::Withdrawal:
    case DraftEventKind::Note:
    case DraftEventKind::NoAuthorization:
    case DraftEventKind::LetterSent:
    case DraftEventKind::ClaimPackage:
        break;
    }
    return DraftStatus::Uncertain;
}
