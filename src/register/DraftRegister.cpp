#include "register/DraftRegister.h"

#include "document/AmountInFigures.h"
#include "register/BankNumbers.h"
#include "register/RegisterCipher.h"
#include "register/RegisterColumns.h"
#include "register/RegisterError.h"
#include "register/RegisterStore.h"

#include <limits>

namespace {

// How far back the same amount on the same account is worth a mark.
constexpr int SameAmountDays = 30;

// The codes are part of the register file: never rename one.
QString destinationCode(DraftDestination destination)
{
    switch (destination) {
    case DraftDestination::PreviewPrint:
        return QStringLiteral("preview");
    case DraftDestination::PdfFile:
        return QStringLiteral("pdf");
    case DraftDestination::Printer:
        break;
    }
    return QStringLiteral("printer");
}

DraftDestination destinationOf(const QString& code)
{
    if (code == QLatin1String("preview"))
        return DraftDestination::PreviewPrint;
    if (code == QLatin1String("pdf"))
        return DraftDestination::PdfFile;
    return DraftDestination::Printer;
}

DraftStatus statusOf(const QString& code)
{
    const std::optional<DraftEventKind> kind = DraftEvent::fromCode(code);
    return kind ? DraftEvent::statusOf(*kind) : DraftStatus::Uncertain;
}

// A draft whose print was voided or is known not to have printed is no
// draft on the customer's account.
bool drawsOnAccount(const DraftRow& row)
{
    const DraftStatus status = statusOf(row.status);
    return status != DraftStatus::Voided && status != DraftStatus::NotPrinted;
}

// What a sealed value is bound to: its draft and its column.
QByteArray sealContext(const QString& uid, const char* column)
{
    return QByteArrayLiteral("quillo-register\x1f") + uid.toLatin1() + '\x1f' + column;
}

const char* columnOf(Box box)
{
    return RegisterColumns::Boxes[std::size_t(numberOf(box) - 1)].column;
}

QDateTime fromMsecs(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

} // namespace

struct DraftRegister::Identity {
    QByteArray accountKey;
    QByteArray chequeKey;
    std::optional<qint64> amountCents;
};

DraftRegister::DraftRegister(std::unique_ptr<RegisterStore> store, std::unique_ptr<RegisterCipher> cipher, Clock now)
    : m_store(std::move(store)), m_cipher(std::move(cipher)), m_now(std::move(now))
{}

DraftRegister::~DraftRegister() = default;

DraftRegister::Identity DraftRegister::identify(const CheckTexts& texts) const
{
    Identity identity;
    const QString routing = BankNumbers::digits(texts[Box::RoutingNumber]);
    const QString account = BankNumbers::digits(texts[Box::AccountNumber]);
    const QString cheque = BankNumbers::chequeNumber(texts);
    if (!routing.isEmpty() && !account.isEmpty()) {
        const QByteArray bankAccount = routing.toLatin1() + '\x1f' + account.toLatin1();
        identity.accountKey = m_cipher->blindIndex(QByteArrayLiteral("account\x1f") + bankAccount);
        if (!cheque.isEmpty())
            identity.chequeKey =
                m_cipher->blindIndex(QByteArrayLiteral("cheque\x1f") + bankAccount + '\x1f' + cheque.toLatin1());
    }
    identity.amountCents = AmountInFigures::read(withoutTrailingSpaces(texts[Box::AmountInFigures]));
    return identity;
}

DraftId DraftRegister::record(const DraftRecord& draft, const std::optional<DraftEvent>& outcome)
{
    const Identity identity = identify(draft.texts);
    StoredDraft stored;
    stored.uid = RegisterCipher::randomId();
    stored.recordedAt = m_now().toMSecsSinceEpoch();
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes) {
        const QString& text = draft.texts[box.box];
        stored.boxes[box.box] = box.sealed ? m_cipher->seal(text, sealContext(stored.uid, box.column)) : text.toUtf8();
    }
    stored.accountLastFour = BankNumbers::lastFour(draft.texts[Box::AccountNumber]);
    stored.accountKey = identity.accountKey;
    stored.chequeKey = identity.chequeKey;
    stored.amountCents = identity.amountCents;
    stored.bankLine = draft.pageSetup.bankLine == PageSetup::BankLine::Standard ? QStringLiteral("standard")
                                                                                : QStringLiteral("layout");
    stored.offsetRight = draft.pageSetup.offsetRight;
    stored.offsetDown = draft.pageSetup.offsetDown;
    stored.destinationKind = destinationCode(draft.destination);
    stored.destination = draft.destinationName;
    stored.sourceFile = draft.sourceFile;

    std::optional<StoredEvent> first;
    if (outcome)
        first = StoredEvent{0,
                            stored.recordedAt,
                            DraftEvent::code(outcome->kind),
                            outcome->setsStatus(),
                            outcome->jobId,
                            outcome->text};
    return m_store->addDraft(stored, first);
}

void DraftRegister::append(DraftId draft, const DraftEvent& event)
{
    m_store->addEvent(StoredEvent{draft, m_now().toMSecsSinceEpoch(), DraftEvent::code(event.kind), event.setsStatus(),
                                  event.jobId, event.text});
}

EarlierDraft DraftRegister::earlier(const DraftRow& row) const
{
    CheckTexts numbers;
    numbers[Box::CheckNumber] = row.checkNumber;
    numbers[Box::MicrCheckNumber] =
        m_cipher->open(row.sealedMicrCheck, sealContext(row.uid, columnOf(Box::MicrCheckNumber)));
    EarlierDraft found;
    found.id = row.id;
    found.recorded = fromMsecs(row.recordedAt);
    found.checkNumber = BankNumbers::chequeNumber(numbers);
    found.accountLastFour = row.accountLastFour;
    found.amount =
        row.amountCents
            ? QStringLiteral("%1.%2").arg(*row.amountCents / 100).arg(*row.amountCents % 100, 2, 10, QLatin1Char('0'))
            : withoutTrailingSpaces(row.amount);
    found.payee = withoutTrailingSpaces(row.payee);
    return found;
}

std::optional<EarlierDraft> DraftRegister::earlierDraft(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    if (identity.chequeKey.isEmpty())
        return std::nullopt;
    for (const DraftRow& row : m_store->draftsWithChequeKey(identity.chequeKey)) {
        if (drawsOnAccount(row))
            return earlier(row);
    }
    return std::nullopt;
}

std::optional<EarlierDraft> DraftRegister::sameAmountRecently(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    if (identity.accountKey.isEmpty() || !identity.amountCents)
        return std::nullopt;
    const qint64 since = m_now().addDays(-SameAmountDays).toMSecsSinceEpoch();
    for (const DraftRow& row : m_store->draftsWithAccountKey(identity.accountKey, *identity.amountCents, since)) {
        if (drawsOnAccount(row) && (identity.chequeKey.isEmpty() || row.chequeKey != identity.chequeKey))
            return earlier(row);
    }
    return std::nullopt;
}

std::vector<UncertainPrint> DraftRegister::uncertainPrints()
{
    std::vector<UncertainPrint> found;
    for (const UncertainRow& row : m_store->uncertainPrints())
        found.push_back({row.draftId, row.printer, row.jobId});
    return found;
}

void DraftRegister::recordLookUp(const UncertainPrint& print, bool printed, const QString& jobState)
{
    append(print.draft, printed ? DraftEvent::printedAfterLookUp(print.jobId, jobState)
                                : DraftEvent::notPrintedAfterLookUp(print.jobId, jobState));
}

void DraftRegister::together(const std::function<void()>& steps)
{
    m_store->together(steps);
}

std::vector<DraftSummary> DraftRegister::drafts()
{
    return drafts(0, std::numeric_limits<int>::max());
}

std::vector<DraftSummary> DraftRegister::drafts(DraftId before, int count)
{
    std::vector<DraftRow> rows = m_store->drafts(before > 0 ? before : std::numeric_limits<qint64>::max(), count);
    std::vector<DraftSummary> summaries;
    summaries.reserve(rows.size());
    for (DraftRow& row : rows) {
        DraftSummary summary;
        summary.id = row.id;
        summary.recordedAt = row.recordedAt;
        summary.checkNumber = withoutTrailingSpaces(row.checkNumber);
        summary.payee = withoutTrailingSpaces(row.payee);
        summary.amount = withoutTrailingSpaces(row.amount);
        summary.amountCents = row.amountCents;
        summary.status = statusOf(row.status);
        summary.destination = destinationOf(row.destinationKind);
        summary.destinationName = std::move(row.destination);
        summary.accountLastFour = std::move(row.accountLastFour);
        summary.uid = std::move(row.uid);
        summary.sealedPayor = std::move(row.sealedPayor);
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

QString DraftRegister::payor(const DraftSummary& draft) const
{
    return m_cipher->open(draft.sealedPayor, sealContext(draft.uid, columnOf(Box::PayorLine1)));
}

DraftDetails DraftRegister::details(DraftId draft)
{
    const std::optional<StoredDraft> stored = m_store->draft(draft);
    if (!stored)
        throw RegisterError(QStringLiteral("it holds no draft number %1").arg(draft));
    DraftDetails found;
    found.id = draft;
    found.recorded = fromMsecs(stored->recordedAt);
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes) {
        const QByteArray& value = stored->boxes[box.box];
        found.record.texts[box.box] =
            box.sealed ? m_cipher->open(value, sealContext(stored->uid, box.column)) : QString::fromUtf8(value);
    }
    found.record.pageSetup.bankLine =
        stored->bankLine == QLatin1String("standard") ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout;
    found.record.pageSetup.offsetRight = stored->offsetRight;
    found.record.pageSetup.offsetDown = stored->offsetDown;
    found.record.destination = destinationOf(stored->destinationKind);
    found.record.destinationName = stored->destination;
    found.record.sourceFile = stored->sourceFile;
    for (const StoredEvent& event : m_store->events(draft)) {
        const DraftEventKind kind = DraftEvent::fromCode(event.kind).value_or(DraftEventKind::Note);
        found.history.push_back({DraftEvent{kind, event.text, event.jobId}, fromMsecs(event.recordedAt)});
        if (event.setsStatus)
            found.status = DraftEvent::statusOf(kind);
    }
    return found;
}
