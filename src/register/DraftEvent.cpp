#include "register/DraftEvent.h"

#include <array>

namespace {

struct KindCode {
    DraftEventKind kind;
    const char* code;
};

// The codes are part of the register file: never rename one.
constexpr std::array<KindCode, 10> Codes = {{
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
}};

DraftEvent make(DraftEventKind kind, const QString& text = {}, const QString& jobId = {})
{
    return DraftEvent{kind, text, jobId};
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

DraftEvent DraftEvent::voided()
{
    return make(DraftEventKind::Voided);
}

DraftEvent DraftEvent::deposited()
{
    return make(DraftEventKind::Deposited);
}

DraftEvent DraftEvent::returned(const QString& reason)
{
    return make(DraftEventKind::Returned, reason);
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

bool DraftEvent::setsStatus() const
{
    return kind != DraftEventKind::Note && kind != DraftEventKind::NoAuthorization &&
           kind != DraftEventKind::LetterSent;
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
    case DraftEventKind::Uncertain:
    case DraftEventKind::Note:
    case DraftEventKind::NoAuthorization:
    case DraftEventKind::LetterSent:
        break;
    }
    return DraftStatus::Uncertain;
}
