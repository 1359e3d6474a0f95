#include "register/DraftRegister.h"

#include "document/AmountInFigures.h"
#include "register/BankNumbers.h"
#include "register/DraftLifecycle.h"
#include "register/HeldOutcomes.h"
#include "register/OutcomeHeld.h"
#include "register/ProofCopies.h"
#include "register/RegisterCipher.h"
#include "register/RegisterCodes.h"
#include "register/RegisterColumns.h"
#include "register/RegisterError.h"
#include "register/RegisterStore.h"
#include "register/StoreProofShelf.h"

#include <QFileInfo>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSet>
#include <algorithm>
#include <array>
#include <limits>

namespace {

// How far back the same amount on the same account is worth a mark.
constexpr int SameAmountDays = 30;

template <typename Kind> struct KindCode {
    Kind kind;
    const char* code;
};

// The codes are part of the register file: never rename one.
constexpr std::array<KindCode<AuthorizationRecord::Given>, 4> GivenCodes = {{
    {AuthorizationRecord::Given::SignedForm, "signed-form"},
    {AuthorizationRecord::Given::RecordedCall, "recorded-call"},
    {AuthorizationRecord::Given::WrittenConfirmation, "written-confirmation"},
    {AuthorizationRecord::Given::Other, "other"},
}};
constexpr std::array<KindCode<AuthorizationRecord::Sale>, 7> SaleCodes = {{
    {AuthorizationRecord::Sale::CustomerCalled, "customer-called"},
    {AuthorizationRecord::Sale::OurSalesCall, "sales-call"},
    {AuthorizationRecord::Sale::AnsweredAdvertising, "answered-advertising"},
    {AuthorizationRecord::Sale::Online, "online"},
    {AuthorizationRecord::Sale::InPerson, "in-person"},
    {AuthorizationRecord::Sale::BusinessToBusiness, "business"},
    {AuthorizationRecord::Sale::ExistingAccount, "existing-account"},
}};

template <typename Kind, std::size_t N> QString codeOf(const std::array<KindCode<Kind>, N>& codes, Kind kind)
{
    for (const KindCode<Kind>& entry : codes) {
        if (entry.kind == kind)
            return QString::fromLatin1(entry.code);
    }
    return QString::fromLatin1(codes.front().code);
}

// A code that a later program wrote reads as the last kind, "other" and the like.
template <typename Kind, std::size_t N> Kind kindOf(const std::array<KindCode<Kind>, N>& codes, const QString& code)
{
    for (const KindCode<Kind>& entry : codes) {
        if (code == QLatin1String(entry.code))
            return entry.kind;
    }
    return codes.back().kind;
}

DraftStatus statusOf(const QString& code)
{
    const std::optional<DraftEventKind> kind = DraftEvent::fromCode(code);
    return kind ? DraftEvent::statusOf(*kind) : DraftStatus::Uncertain;
}

// A draft whose print was voided or is known not to have printed is no
// draft on the customer's account.
bool drawsOnAccount(const StoredDraft& row)
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

StoredEvent storedOf(const DraftEvent& event, qint64 draftId, qint64 recordedAt)
{
    StoredEvent stored;
    stored.draftId = draftId;
    stored.recordedAt = recordedAt;
    stored.kind = DraftEvent::code(event.kind);
    stored.setsStatus = event.setsStatus();
    stored.jobId = event.jobId;
    stored.text = event.text;
    if (event.effective.isValid())
        stored.effectiveDate = event.effective.toString(Qt::ISODate);
    if (event.reason)
        stored.reason = ReturnReasons::code(*event.reason);
    stored.withdraws = event.withdraws;
    return stored;
}

RecordedEvent recordedOf(const StoredEvent& stored)
{
    RecordedEvent recorded;
    recorded.event.kind = DraftEvent::fromCode(stored.kind).value_or(DraftEventKind::Note);
    recorded.event.text = stored.text;
    recorded.event.jobId = stored.jobId;
    recorded.event.effective = QDate::fromString(stored.effectiveDate, Qt::ISODate);
    // A return recorded before the list of reasons reads as Other, in its own words.
    if (recorded.event.kind == DraftEventKind::Returned)
        recorded.event.reason = ReturnReasons::fromCode(stored.reason).value_or(ReturnReason::Other);
    recorded.event.withdraws = stored.withdraws;
    recorded.time = fromMsecs(stored.recordedAt);
    recorded.id = stored.id;
    recorded.seat = stored.seat;
    return recorded;
}

// The change of the status that an event of `kind` makes.
std::optional<DraftLifecycle::Change> changeOf(DraftEventKind kind)
{
    switch (kind) {
    case DraftEventKind::Voided:
        return DraftLifecycle::Change::Void;
    case DraftEventKind::Deposited:
        return DraftLifecycle::Change::Deposit;
    case DraftEventKind::Paid:
        return DraftLifecycle::Change::Pay;
    case DraftEventKind::Returned:
        return DraftLifecycle::Change::Return;
    case DraftEventKind::Represented:
        return DraftLifecycle::Change::Represent;
    default:
        return std::nullopt;
    }
}

QString textOf(const StoredDraft& row, Box box)
{
    return withoutTrailingSpaces(QString::fromUtf8(row.boxes[box]));
}

DraftSummary summaryOf(StoredDraft row)
{
    DraftSummary summary;
    summary.id = row.id;
    summary.recordedAt = row.recordedAt;
    summary.lastEventAt = row.lastEventAt;
    summary.checkNumber = textOf(row, Box::CheckNumber);
    summary.payee = textOf(row, Box::Payee);
    summary.amount = textOf(row, Box::AmountInFigures);
    summary.amountCents = row.amountCents;
    summary.status = statusOf(row.status);
    summary.kind = RegisterCodes::destinationKind(row.destinationKind);
    summary.destinationName = std::move(row.destination);
    summary.accountLastFour = std::move(row.accountLastFour);
    summary.reprintOf = row.reprintOf;
    summary.uid = std::move(row.uid);
    summary.sealedPayor = std::move(row.boxes[Box::PayorLine1]);
    return summary;
}

} // namespace

struct DraftRegister::Identity {
    QByteArray accountKey;
    QByteArray chequeKey;
    std::optional<qint64> amountCents;
};

DraftRegister::DraftRegister(std::unique_ptr<RegisterStore> store, std::unique_ptr<RegisterCipher> cipher,
                             QString proofFolder, Clock now, QString seat)
    : m_store(std::move(store)), m_cipher(std::move(cipher)),
      m_proofs(m_store->keepsProofCopies()
                   ? std::make_unique<ProofCopies>(std::make_unique<StoreProofShelf>(*m_store), *m_cipher)
                   : std::make_unique<ProofCopies>(std::move(proofFolder), *m_cipher)),
      m_now(std::move(now)), m_seat(std::move(seat))
{
    try {
        sealClearValues();
    } catch (const RegisterError&) {
        // Left in clear until the register is next opened with its key; its
        // drafts are read all the same.
    }
    // Another seat's drafts and events are said as this program's own are.
    m_store->watchOthers([this](RegisterStore::Written what, qint64 draft) {
        if (what == RegisterStore::Written::Draft)
            Q_EMIT draftRecorded(draft);
        else
            Q_EMIT eventAppended(draft);
    });
}

DraftRegister::~DraftRegister() = default;

void DraftRegister::sealClearValues()
{
    // Looked for once: a register sealed so keeps nothing in clear from then on.
    const QString done = QStringLiteral("clear_values_sealed");
    if (m_store->fact(done))
        return;
    const QString pdf = RegisterCodes::destination(SentDraft::Kind::PdfFile);
    m_store->together([&] {
        // Another program may have sealed them meanwhile.
        if (m_store->fact(done))
            return;
        for (StoredDraft draft : m_store->draftsWithClearPaths()) {
            if (!draft.sourceFile.isEmpty() && draft.sealedSourceFile.isEmpty())
                draft.sealedSourceFile = m_cipher->seal(draft.sourceFile, sealContext(draft.uid, "sealed_source_file"));
            draft.sourceFile.clear();
            // A printer's name stays clear: the list shows it without the key.
            if (draft.destinationKind == pdf && !draft.destination.isEmpty()) {
                if (draft.sealedDestination.isEmpty())
                    draft.sealedDestination =
                        m_cipher->seal(draft.destination, sealContext(draft.uid, "sealed_destination"));
                draft.destination.clear();
            }
            m_store->sealPaths(draft);
        }
        QHash<qint64, QString> uids;
        for (StoredEvent event : m_store->eventsWithClearText()) {
            if (!uids.contains(event.draftId)) {
                const std::optional<StoredDraft> draft = m_store->draft(event.draftId);
                uids.insert(event.draftId, draft ? draft->uid : QString());
            }
            if (event.sealedText.isEmpty())
                event.sealedText = m_cipher->seal(event.text, sealContext(uids.value(event.draftId), "sealed_detail"));
            event.text.clear();
            m_store->sealText(event);
        }
        m_store->addFacts({{done, QByteArrayLiteral("1")}});
    });
}

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
    stored.bankLine =
        draft.setup.bankLine == PageSetup::BankLine::Standard ? QStringLiteral("standard") : QStringLiteral("layout");
    stored.offsetRight = draft.setup.offsetRight;
    stored.offsetDown = draft.setup.offsetDown;
    stored.destinationKind = RegisterCodes::destination(draft.kind);
    // An export's path is often named after the payor; a printer's name is kept clear.
    if (draft.kind == SentDraft::Kind::PdfFile)
        stored.sealedDestination = m_cipher->seal(draft.destinationName, sealContext(stored.uid, "sealed_destination"));
    else
        stored.destination = draft.destinationName;
    // Its name is often the payor's.
    if (!draft.sourceFile.isEmpty())
        stored.sealedSourceFile = m_cipher->seal(draft.sourceFile, sealContext(stored.uid, "sealed_source_file"));
    stored.reprintOf = draft.reprintOf.value_or(0);
    stored.seat = m_seat;

    // A proof file's copy is written first, so that no draft ever names a copy that is not there.
    std::optional<StoredAuthorization> authorization;
    if (draft.authorization)
        authorization = sealed(*draft.authorization, stored.uid);

    const auto eventOf = [&](const DraftEvent& event) { return storedEvent(0, stored.uid, stored.recordedAt, event); };
    DraftId id = 0;
    m_store->together([&] {
        // After whatever another seat is recording on the same account.
        m_store->lockAccount(identity.accountKey);
        // The choice to send it without an authorization comes before its outcome.
        const bool choiceFirst = draft.withoutAuthorization.has_value();
        std::optional<StoredEvent> first;
        if (outcome && !choiceFirst)
            first = eventOf(*outcome);
        id = m_store->addDraft(stored, first);
        if (choiceFirst) {
            StoredEvent choice = eventOf(DraftEvent::noAuthorization(*draft.withoutAuthorization));
            choice.draftId = id;
            m_store->addEvent(choice);
            if (outcome) {
                StoredEvent after = eventOf(*outcome);
                after.draftId = id;
                m_store->addEvent(after);
            }
        }
        if (authorization) {
            authorization->draftId = id;
            m_store->addAuthorization(*authorization);
        }
    });
    m_recordedUids.insert(id, stored.uid);
    Q_EMIT draftRecorded(id);
    return id;
}

StoredAuthorization DraftRegister::sealed(const AuthorizationRecord& authorization, const QString& draftUid)
{
    StoredAuthorization stored;
    stored.draftUid = draftUid;
    stored.authorizationId = authorization.id;
    stored.authorizedAt = authorization.authorizedAt.toMSecsSinceEpoch();
    stored.authorizedBy = m_cipher->seal(authorization.authorizedBy, sealContext(draftUid, "authorized_by"));
    stored.phone = m_cipher->seal(authorization.phone, sealContext(draftUid, "phone"));
    stored.given = codeOf(GivenCodes, authorization.given);
    stored.sale = codeOf(SaleCodes, authorization.sale);
    stored.amount = authorization.amount;
    stored.payee = authorization.payee;
    stored.drafts = authorization.drafts;
    if (authorization.hasProof()) {
        stored.proofCopy = m_proofs->keep(authorization.proofFile, authorization.proofSha256);
        stored.proofName =
            m_cipher->seal(QFileInfo(authorization.proofFile).fileName(), sealContext(draftUid, "proof_name"));
        stored.proofSha256 = authorization.proofSha256;
    }
    return stored;
}

QString DraftRegister::opened(const QByteArray& sealed, const QByteArray& context, bool* damaged) const
{
    try {
        return m_cipher->open(sealed, context);
    } catch (const RegisterError&) {
        if (damaged)
            *damaged = true;
        return DamagedValue;
    }
}

AuthorizationRecord DraftRegister::opened(const StoredAuthorization& stored, bool* damaged) const
{
    AuthorizationRecord record;
    record.id = stored.authorizationId;
    record.authorizedBy = opened(stored.authorizedBy, sealContext(stored.draftUid, "authorized_by"), damaged);
    record.phone = opened(stored.phone, sealContext(stored.draftUid, "phone"), damaged);
    record.authorizedAt = fromMsecs(stored.authorizedAt);
    record.given = kindOf(GivenCodes, stored.given);
    record.sale = kindOf(SaleCodes, stored.sale);
    record.amount = stored.amount;
    record.payee = stored.payee;
    record.drafts = stored.drafts;
    if (!stored.proofSha256.isEmpty()) {
        record.proofFile = opened(stored.proofName, sealContext(stored.draftUid, "proof_name"), damaged);
        record.proofSha256 = stored.proofSha256;
    }
    return record;
}

std::vector<StoredDraft> DraftRegister::drawingUnder(const QString& authorizationId)
{
    std::vector<StoredDraft> drawing;
    for (StoredDraft& row : m_store->draftsWithAuthorization(authorizationId)) {
        if (drawsOnAccount(row))
            drawing.push_back(std::move(row));
    }
    return drawing;
}

namespace {

// The checks among `rows`: a reprint is the same check; a draft without a
// check number is one of its own.
int checksAmong(const std::vector<StoredDraft>& rows)
{
    QSet<QByteArray> checks;
    for (const StoredDraft& row : rows)
        checks.insert(row.chequeKey.isEmpty() ? QByteArray::number(row.id) : row.chequeKey);
    return int(checks.size());
}

} // namespace

std::optional<AuthorizationRecord> DraftRegister::authorizationFor(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    if (!identity.chequeKey.isEmpty()) {
        if (const std::optional<StoredAuthorization> same = m_store->latestAuthorizationForCheque(identity.chequeKey))
            return opened(*same);
    }
    if (!identity.accountKey.isEmpty()) {
        const std::optional<StoredAuthorization> latest = m_store->latestAuthorizationForAccount(identity.accountKey);
        if (latest && checksAmong(drawingUnder(latest->authorizationId)) < latest->drafts)
            return opened(*latest);
    }
    return std::nullopt;
}

std::optional<UsedAuthorization> DraftRegister::usedAuthorization(const CheckTexts& texts,
                                                                  const std::optional<AuthorizationRecord>& own)
{
    const Identity identity = identify(texts);
    if (identity.accountKey.isEmpty())
        return std::nullopt;
    const std::optional<StoredAuthorization> latest = m_store->latestAuthorizationForAccount(identity.accountKey);
    if (!latest || (own && own->id != latest->authorizationId))
        return std::nullopt;
    const std::vector<StoredDraft> sent = drawingUnder(latest->authorizationId);
    for (const StoredDraft& row : sent) {
        if (!identity.chequeKey.isEmpty() && row.chequeKey == identity.chequeKey)
            return std::nullopt;
    }
    const int checks = checksAmong(sent);
    if (checks < latest->drafts)
        return std::nullopt;
    return UsedAuthorization{fromMsecs(latest->authorizedAt), latest->drafts, checks,
                             BankNumbers::lastFour(texts[Box::AccountNumber])};
}

std::optional<AccountReturn> DraftRegister::accountReturn(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    QStringList refusing;
    for (const ReturnReason reason : ReturnReasons::all()) {
        if (ReturnReasons::refusesAccount(reason))
            refusing.append(ReturnReasons::code(reason));
    }
    const std::optional<StoredEvent> found = m_store->latestReturnOnAccount(identity.accountKey, refusing);
    if (!found)
        return std::nullopt;
    const RecordedEvent returned = recordedOf(*found);
    return AccountReturn{returned.day(), returned.event.reason.value_or(ReturnReason::NotAuthorized),
                         BankNumbers::lastFour(texts[Box::AccountNumber])};
}

DraftRecorder::Recording DraftRegister::recordUnlessSent(const DraftRecord& draft, const Known& known)
{
    writeHeld();
    Recording recording;
    m_store->together([&] {
        // Another seat recording a draft on the same account waits for these
        // look-ups and the record, or this one for it: never both looked
        // before either wrote.
        m_store->lockAccount(identify(draft.texts).accountKey);
        const std::optional<EarlierDraft> earlier = earlierDraft(draft.texts);
        if (earlier && earlier->id != known.duplicate) {
            recording.unasked = earlier;
            return;
        }
        const std::optional<EarlierDraft> sameAmount = sameAmountRecently(draft.texts);
        if (sameAmount && sameAmount->id != known.sameAmount) {
            recording.sameAmount = sameAmount;
            return;
        }
        if (draft.authorization && !known.authorizationUsed) {
            recording.usedUp = usedAuthorization(draft.texts, draft.authorization);
            if (recording.usedUp)
                return;
        }
        recording.id = record(draft, std::nullopt);
    });
    return recording;
}

void DraftRegister::append(DraftId draft, const DraftEvent& event)
{
    if (!m_held) {
        appendEvent(draft, event);
        return;
    }
    const qint64 at = m_now().toMSecsSinceEpoch();
    try {
        writeHeld();
        appendEvent(draft, event);
    } catch (const RegisterError& error) {
        if (!m_recordedUids.contains(draft))
            throw;
        hold(draft, at, event);
        throw OutcomeHeld(error.reason());
    }
}

void DraftRegister::appendToRecorded(DraftId draft, const DraftEvent& event)
{
    if (!m_recordedUids.contains(draft))
        throw RegisterError(QStringLiteral("the register was moved to another place while the check was printing"));
    append(draft, event);
}

void DraftRegister::holdOutcomesIn(const QString& file)
{
    m_held = std::make_unique<HeldOutcomes>(file);
    try {
        writeHeld();
    } catch (const RegisterError&) {
        // Written with the next write.
    }
}

namespace {

const QByteArray HeldContext = QByteArrayLiteral("held_outcome");

} // namespace

void DraftRegister::hold(DraftId draft, qint64 at, const DraftEvent& event)
{
    const QJsonObject held{{QStringLiteral("draft"), draft},     {QStringLiteral("uid"), m_recordedUids.value(draft)},
                           {QStringLiteral("at"), at},           {QStringLiteral("kind"), DraftEvent::code(event.kind)},
                           {QStringLiteral("job"), event.jobId}, {QStringLiteral("text"), event.text}};
    m_held->add(m_cipher->seal(QString::fromUtf8(QJsonDocument(held).toJson(QJsonDocument::Compact)), HeldContext));
}

void DraftRegister::writeHeld()
{
    if (!m_held)
        return;
    const QList<QByteArray> records = m_held->all();
    if (records.isEmpty())
        return;
    QList<QByteArray> left;
    QList<DraftId> written;
    m_store->together([&] {
        for (const QByteArray& record : records) {
            QJsonObject held;
            try {
                held = QJsonDocument::fromJson(m_cipher->open(record, HeldContext).toUtf8()).object();
            } catch (const RegisterError&) {
                left.append(record); // another register's, or damaged: left as it is
                continue;
            }
            const DraftId draft = held.value(QStringLiteral("draft")).toInteger();
            const std::optional<StoredDraft> stored = m_store->draft(draft);
            const std::optional<DraftEventKind> kind =
                DraftEvent::fromCode(held.value(QStringLiteral("kind")).toString());
            if (!stored || stored->uid != held.value(QStringLiteral("uid")).toString() || !kind) {
                left.append(record);
                continue;
            }
            DraftEvent event;
            event.kind = *kind;
            event.jobId = held.value(QStringLiteral("job")).toString();
            event.text = held.value(QStringLiteral("text")).toString();
            const qint64 at = held.value(QStringLiteral("at")).toInteger();
            // Written before by a write whose file change was lost: once is enough.
            const std::vector<StoredEvent> events = m_store->events(draft);
            const bool there = std::any_of(events.begin(), events.end(), [&](const StoredEvent& e) {
                return e.recordedAt == at && e.kind == DraftEvent::code(*kind) && e.seat == m_seat;
            });
            if (!there) {
                m_store->addEvent(storedEvent(draft, stored->uid, at, event));
                written.append(draft);
            }
        }
    });
    m_held->keepOnly(left);
    for (const DraftId draft : written)
        Q_EMIT eventAppended(draft);
}

void DraftRegister::appendEvent(DraftId draft, const DraftEvent& event)
{
    const std::optional<StoredDraft> stored = m_store->draft(draft);
    if (!stored)
        throw RegisterError(QStringLiteral("it holds no draft number %1").arg(draft));
    m_store->addEvent(storedEvent(draft, stored->uid, m_now().toMSecsSinceEpoch(), event));
    Q_EMIT eventAppended(draft);
}

StoredEvent DraftRegister::storedEvent(DraftId draft, const QString& uid, qint64 at, const DraftEvent& event) const
{
    StoredEvent stored = storedOf(event, draft, at);
    stored.seat = m_seat;
    // Notes, return reasons and a print service's words are sealed: they may
    // name the payor.
    stored.text.clear();
    if (!event.text.isEmpty())
        stored.sealedText = m_cipher->seal(event.text, sealContext(uid, "sealed_detail"));
    return stored;
}

QDate DraftRegister::today() const
{
    return m_now().toLocalTime().date();
}

void DraftRegister::change(DraftId draft, const DraftEvent& event)
{
    const std::optional<DraftLifecycle::Change> change = changeOf(event.kind);
    if (!change)
        throw QuilloError(QStringLiteral("This is no change of a draft's status."));
    DraftEvent dated = event;
    if (!dated.effective.isValid())
        dated.effective = today();
    // Checked inside the write: another program's change comes before or after, never between.
    m_store->together([&] {
        lockAccountOf(draft);
        const DraftDetails current = details(draft);
        if (const std::optional<QString> why = DraftLifecycle::refusal(current.status, *change))
            throw QuilloError(*why);
        if (const std::optional<QString> why = DraftLifecycle::dayRefusal(dated.effective, current.statusDay, today()))
            throw QuilloError(*why);
        appendEvent(draft, dated);
    });
}

void DraftRegister::withdrawLatestChange(DraftId draft)
{
    m_store->together([&] {
        lockAccountOf(draft);
        const DraftDetails current = details(draft);
        if (const std::optional<QString> why =
                DraftLifecycle::refusal(current.status, DraftLifecycle::Change::Withdraw))
            throw QuilloError(*why);
        for (auto event = current.history.rbegin(); event != current.history.rend(); ++event) {
            if (event->event.setsStatus() && !event->withdrawn) {
                appendEvent(draft, DraftEvent::withdrawal(event->id));
                return;
            }
        }
    });
}

void DraftRegister::lockAccountOf(DraftId draft)
{
    // A change of status changes which drafts count against the account:
    // the duplicate question, the 30-day mark and an authorization's count.
    if (const std::optional<StoredDraft> stored = m_store->draft(draft))
        m_store->lockAccount(stored->accountKey);
}

EarlierDraft DraftRegister::earlier(const StoredDraft& row) const
{
    CheckTexts numbers;
    numbers[Box::CheckNumber] = QString::fromUtf8(row.boxes[Box::CheckNumber]);
    numbers[Box::MicrCheckNumber] =
        opened(row.boxes[Box::MicrCheckNumber], sealContext(row.uid, columnOf(Box::MicrCheckNumber)));
    EarlierDraft found;
    found.id = row.id;
    found.recorded = fromMsecs(row.recordedAt);
    found.checkNumber = BankNumbers::chequeNumber(numbers);
    found.accountLastFour = row.accountLastFour;
    found.amount =
        row.amountCents
            ? QLocale(QLocale::English, QLocale::UnitedStates).toString(double(*row.amountCents) / 100.0, 'f', 2)
            : textOf(row, Box::AmountInFigures);
    found.payee = textOf(row, Box::Payee);
    found.destination = row.destination;
    // A draft recorded before it went, with no outcome yet, may have gone.
    found.sent = DraftStatus::Uncertain;
    for (const StoredEvent& event : m_store->events(row.id)) {
        const std::optional<DraftEventKind> kind = DraftEvent::fromCode(event.kind);
        if (kind == DraftEventKind::Printed || kind == DraftEventKind::Exported || kind == DraftEventKind::Uncertain) {
            found.sent = DraftEvent::statusOf(*kind);
            found.jobId = event.jobId;
        }
    }
    return found;
}

std::optional<EarlierDraft> DraftRegister::earlierDraft(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    if (identity.chequeKey.isEmpty())
        return std::nullopt;
    for (const StoredDraft& row : m_store->draftsWithChequeKey(identity.chequeKey)) {
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
    for (const StoredDraft& row : m_store->draftsWithAccountKey(identity.accountKey, *identity.amountCents, since)) {
        if (drawsOnAccount(row) && (identity.chequeKey.isEmpty() || row.chequeKey != identity.chequeKey))
            return earlier(row);
    }
    return std::nullopt;
}

std::vector<UncertainPrint> DraftRegister::uncertainPrints()
{
    // A print whose outcome this seat holds is no longer uncertain.
    writeHeld();
    return m_store->uncertainPrints();
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

QString DraftRegister::destinationOf(const StoredDraft& row, bool* damaged) const
{
    return row.sealedDestination.isEmpty()
               ? row.destination
               : opened(row.sealedDestination, sealContext(row.uid, "sealed_destination"), damaged);
}

DraftSummary DraftRegister::summary(StoredDraft row) const
{
    const QString destination = destinationOf(row);
    DraftSummary found = summaryOf(std::move(row));
    found.destinationName = destination;
    return found;
}

std::vector<DraftSummary> DraftRegister::drafts()
{
    return drafts(0, std::numeric_limits<int>::max());
}

std::vector<DraftSummary> DraftRegister::drafts(DraftId before, int count)
{
    std::vector<StoredDraft> rows = m_store->drafts(before > 0 ? before : std::numeric_limits<qint64>::max(), count);
    std::vector<DraftSummary> summaries;
    summaries.reserve(rows.size());
    for (StoredDraft& row : rows)
        summaries.push_back(summary(std::move(row)));
    return summaries;
}

std::optional<DraftSummary> DraftRegister::summary(DraftId draft)
{
    std::vector<StoredDraft> rows = m_store->drafts(draft + 1, 1);
    if (rows.empty() || rows.front().id != draft)
        return std::nullopt;
    return summaryOf(std::move(rows.front()));
}

QString DraftRegister::payor(const DraftSummary& draft) const
{
    return opened(draft.sealedPayor, sealContext(draft.uid, columnOf(Box::PayorLine1)));
}

DraftDetails DraftRegister::details(DraftId draft)
{
    const std::optional<StoredDraft> stored = m_store->draft(draft);
    if (!stored)
        throw RegisterError(QStringLiteral("it holds no draft number %1").arg(draft));
    DraftDetails found;
    found.id = draft;
    found.recorded = fromMsecs(stored->recordedAt);
    found.recordedBy = stored->seat;
    for (const RegisterColumns::Column& box : RegisterColumns::Boxes) {
        const QByteArray& value = stored->boxes[box.box];
        found.record.texts[box.box] =
            box.sealed ? opened(value, sealContext(stored->uid, box.column), &found.damaged) : QString::fromUtf8(value);
    }
    found.record.setup.bankLine =
        stored->bankLine == QLatin1String("standard") ? PageSetup::BankLine::Standard : PageSetup::BankLine::Layout;
    found.record.setup.offsetRight = stored->offsetRight;
    found.record.setup.offsetDown = stored->offsetDown;
    found.record.kind = RegisterCodes::destinationKind(stored->destinationKind);
    found.record.destinationName = destinationOf(*stored, &found.damaged);
    // Registers of before kept it in clear.
    found.record.sourceFile =
        stored->sealedSourceFile.isEmpty()
            ? stored->sourceFile
            : opened(stored->sealedSourceFile, sealContext(stored->uid, "sealed_source_file"), &found.damaged);
    if (stored->reprintOf > 0) {
        found.record.reprintOf = stored->reprintOf;
        if (const std::optional<StoredDraft> earlier = m_store->draft(stored->reprintOf))
            found.reprintOfRecorded = fromMsecs(earlier->recordedAt);
    }
    for (const StoredEvent& event : m_store->events(draft)) {
        RecordedEvent recorded = recordedOf(event);
        if (!event.sealedText.isEmpty())
            recorded.event.text = opened(event.sealedText, sealContext(stored->uid, "sealed_detail"), &found.damaged);
        found.history.push_back(recorded);
    }
    QSet<qint64> withdrawn;
    for (const RecordedEvent& event : found.history) {
        if (event.event.kind == DraftEventKind::Withdrawal)
            withdrawn.insert(event.event.withdraws);
    }
    found.statusDay = found.recorded.toLocalTime().date();
    for (RecordedEvent& event : found.history) {
        event.withdrawn = withdrawn.contains(event.id);
        if (event.event.setsStatus() && !event.withdrawn) {
            found.status = DraftEvent::statusOf(event.event.kind);
            found.statusDay = event.day();
        }
    }
    if (const std::optional<StoredAuthorization> authorization = m_store->authorization(draft))
        found.record.authorization = opened(*authorization, &found.damaged);
    return found;
}

std::optional<DraftDetails> DraftRegister::sentDraft(const CheckTexts& texts)
{
    const Identity identity = identify(texts);
    if (identity.chequeKey.isEmpty())
        return std::nullopt;
    for (const StoredDraft& row : m_store->draftsWithChequeKey(identity.chequeKey)) {
        if (drawsOnAccount(row))
            return details(row.id);
    }
    return std::nullopt;
}

QByteArray DraftRegister::proof(const AuthorizationRecord& authorization)
{
    return m_proofs->open(authorization.proofSha256);
}

std::vector<DraftSummary> DraftRegister::draftsPastKeeping()
{
    const qint64 cutoff = m_now().addYears(-KeptYears).toMSecsSinceEpoch();
    std::vector<DraftSummary> found;
    for (StoredDraft& row : m_store->draftsIdleSince(cutoff))
        found.push_back(summary(std::move(row)));
    return found;
}

int DraftRegister::removePastKeeping(const std::vector<DraftId>& drafts)
{
    QSet<DraftId> past;
    for (const DraftSummary& idle : draftsPastKeeping())
        past.insert(idle.id);
    std::vector<qint64> removed;
    for (const DraftId id : drafts) {
        if (past.contains(id))
            removed.push_back(id);
    }
    if (removed.empty())
        return 0;
    for (const QString& copy : m_store->removeDrafts(removed))
        m_proofs->remove(copy);
    return int(removed.size());
}
