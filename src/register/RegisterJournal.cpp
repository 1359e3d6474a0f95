#include "register/RegisterJournal.h"

#include "document/AmountInFigures.h"
#include "document/DateReader.h"
#include "platform/QuestionBox.h"
#include "register/AuthorizationOffer.h"
#include "register/DraftRecorder.h"
#include "register/OutcomeHeld.h"
#include "register/ProofFileCheck.h"
#include "register/ProofFileError.h"
#include "register/RegisterError.h"
#include "register/RegisterTexts.h"

#include <QDir>

namespace {

DraftEvent eventOf(const PrintOutcome& outcome)
{
    const QString job = outcome.jobId > 0 ? QString::number(outcome.jobId) : QString();
    switch (outcome.kind) {
    case PrintOutcome::Kind::Printed:
        return DraftEvent::printed(job);
    case PrintOutcome::Kind::Uncertain:
        return DraftEvent::uncertain(job);
    case PrintOutcome::Kind::NotPrinted:
        break;
    }
    return DraftEvent::notPrinted(outcome.message);
}

void addMark(QString& marks, const QString& mark)
{
    if (mark.isEmpty())
        return;
    marks += (marks.isEmpty() ? QString() : QStringLiteral(" ")) + mark;
}

// Amounts are compared by their cents where both can be read ("$75" and
// "75.00" are the same), payees by their words, case aside.
// Why the proof file chosen for `authorization` is no longer that file; empty
// when it still is, or when the register keeps it already (only its name is left).
QString proofProblemOf(const std::optional<AuthorizationRecord>& authorization)
{
    if (!authorization || !authorization->hasProof() || !QDir::isAbsolutePath(authorization->proofFile))
        return {};
    return ProofFileCheck::problemSince(authorization->proofFile, authorization->proofSha256);
}

bool sameAmount(const QString& authorized, const QString& typed)
{
    const std::optional<qint64> left = AmountInFigures::read(authorized);
    const std::optional<qint64> right = AmountInFigures::read(typed);
    if (left && right)
        return *left == *right;
    return authorized.simplified() == typed.simplified();
}

bool samePayee(const QString& authorized, const QString& typed)
{
    return authorized.simplified().compare(typed.simplified(), Qt::CaseInsensitive) == 0;
}

} // namespace

RegisterJournal::RegisterJournal(OpenRegister openRegister, std::function<DraftRecorder*()> openedRegister,
                                 QuestionBox& questions, AuthorizationOffer& offer, Clock now,
                                 std::function<QFuture<void>()> prepare)
    : m_openRegister(std::move(openRegister)), m_prepare(std::move(prepare)),
      m_openedRegister(std::move(openedRegister)), m_questions(questions), m_offer(offer), m_now(std::move(now))
{}

// What one print goes with, and where it stands in the register.
class RegisterJournal::Ticket : public DraftTicket {
public:
    Ticket(RegisterJournal& journal, const SentDraft& draft) : DraftTicket(draft), m_journal(journal) {}

    std::optional<qint64> recordId() const override { return m_recordId; }
    bool sending(const QString& destination) override;
    void jobStarted(int jobId) override;
    QString sent(const PrintOutcome& outcome) override;

    // The merchant chose to send the draft without recording it.
    bool unrecorded = false;
    // What the merchant was told of the check's account before it went.
    DraftRecorder::Known known;
    // What the draft goes with: its authorization, or the reason it goes without one.
    std::optional<AuthorizationRecord> authorization;
    std::optional<QString> withoutAuthorization;

private:
    DraftRecord recordOf(const QString& destination) const;
    void recordExport(const QString& file);

    RegisterJournal& m_journal;
    std::optional<DraftId> m_recordId;
};

DraftRecord RegisterJournal::Ticket::recordOf(const QString& destination) const
{
    DraftRecord record{draft(), destination, withoutAuthorization, known.duplicate};
    record.authorization = authorization;
    return record;
}

bool RegisterJournal::Ticket::sending(const QString& destination)
{
    if (unrecorded)
        return true;
    // An export is recorded once its file is written: until then there is
    // nothing of it anywhere. Its register is made sure of now.
    try {
        DraftRecorder& drafts = m_journal.m_openRegister(draft().kind);
        if (draft().kind == SentDraft::Kind::PdfFile)
            return true;
        // Looked up again as it is recorded: another program may have sent
        // the same check, the same amount or the authorization's last draft
        // since the merchant was asked, or while a dialog was open.
        for (;;) {
            DraftRecorder::Recording recording;
            try {
                recording = drafts.recordUnlessSent(recordOf(destination), known);
            } catch (const ProofFileError& error) {
                // Its proof changed after it was last looked at: offered
                // again with the reason, then recorded as the merchant chooses.
                if (!m_journal.authorized(*this, authorization, error.problem()))
                    return false;
                continue;
            }
            if (recording.unasked) {
                if (!m_journal.m_questions.ask(RegisterTexts::duplicateQuestion(*recording.unasked)))
                    return false;
                known.duplicate = recording.unasked->id;
            } else if (recording.sameAmount) {
                if (!m_journal.m_questions.ask(RegisterTexts::sameAmountQuestion(*recording.sameAmount)))
                    return false;
                known.sameAmount = recording.sameAmount->id;
            } else if (recording.usedUp) {
                if (!m_journal.m_questions.ask(RegisterTexts::usedAuthorizationQuestion(*recording.usedUp)))
                    return false;
                known.authorizationUsed = true;
            } else {
                m_recordId = recording.id;
                return true;
            }
        }
    } catch (const RegisterError& error) {
        return m_journal.sendUnrecorded(*this, error.reason());
    }
}

void RegisterJournal::Ticket::jobStarted(int jobId)
{
    if (!m_recordId)
        return;
    // Not told: the outcome, appended later, names the job all the same.
    try {
        m_journal.m_openRegister(draft().kind)
            .appendToRecorded(*m_recordId, DraftEvent::uncertain(QString::number(jobId)));
    } catch (const RegisterError&) {
    }
}

void RegisterJournal::Ticket::recordExport(const QString& file)
{
    for (;;) {
        try {
            m_recordId = m_journal.m_openRegister(draft().kind).record(recordOf(file), DraftEvent::exported());
            return;
        } catch (const ProofFileError& error) {
            // The file is written: the merchant may still keep the record
            // with a proof chosen again, or without one.
            if (!m_journal.authorized(*this, authorization, error.problem()))
                throw;
        }
    }
}

QString RegisterJournal::Ticket::sent(const PrintOutcome& outcome)
{
    if (unrecorded)
        return {};
    try {
        if (m_recordId)
            m_journal.m_openRegister(draft().kind).appendToRecorded(*m_recordId, eventOf(outcome));
        else if (draft().kind == SentDraft::Kind::PdfFile && outcome.printed())
            recordExport(outcome.printer);
    } catch (const OutcomeHeld& held) {
        return QStringLiteral("The draft register could not record what became of the check: %1. Quillo keeps it on "
                              "this computer and records it as soon as the register can be reached.")
            .arg(held.reason());
    } catch (const RegisterError& error) {
        return QStringLiteral("The draft register could not record what became of the check: %1.").arg(error.reason());
    }
    return {};
}

QFuture<void> RegisterJournal::ready()
{
    return m_prepare ? m_prepare() : QtFuture::makeReadyFuture();
}

std::unique_ptr<DraftTicket> RegisterJournal::maySend(const SentDraft& draft)
{
    auto ticket = std::make_unique<Ticket>(*this, draft);
    std::optional<AuthorizationRecord> authorization = draft.authorization;
    try {
        DraftRecorder& drafts = m_openRegister(draft.kind);
        const std::optional<EarlierDraft> earlier = drafts.earlierDraft(draft.texts);
        if (earlier && !m_questions.ask(RegisterTexts::duplicateQuestion(*earlier)))
            return nullptr;
        if (earlier)
            ticket->known.duplicate = earlier->id;
        // Shown as the amount's mark: not asked about again as the draft is recorded.
        if (const std::optional<EarlierDraft> sameAmount = drafts.sameAmountRecently(draft.texts))
            ticket->known.sameAmount = sameAmount->id;
        // An account whose holder refused a draft before: No unless the merchant is sure.
        if (const std::optional<AccountReturn> returned = drafts.accountReturn(draft.texts);
            returned && !m_questions.ask(RegisterTexts::accountReturnQuestion(*returned)))
            return nullptr;
        if (!authorization)
            authorization = drafts.authorizationFor(draft.texts);
    } catch (const RegisterError& error) {
        if (!sendUnrecorded(*ticket, error.reason()))
            return nullptr;
    }
    if (!authorized(*ticket, std::move(authorization)))
        return nullptr;
    if (ticket->authorization && !ticket->unrecorded) {
        // Shown as the account's mark: an authorization used up before the
        // merchant pressed Print is not asked about again.
        try {
            ticket->known.authorizationUsed =
                m_openRegister(draft.kind).usedAuthorization(draft.texts, ticket->authorization).has_value();
        } catch (const RegisterError&) {
            // Said as the draft is recorded.
        }
    }
    return ticket;
}

bool RegisterJournal::authorized(Ticket& ticket, std::optional<AuthorizationRecord> authorization, QString proofProblem)
{
    const SentDraft& draft = ticket.draft();
    // The sale behind the draft rules it whether or not its record is kept.
    bool telemarketing = authorization && authorization->isTelemarketing();
    bool telemarketingAnswered = false;
    // A draft that goes unrecorded has no record to be kept with. A proof
    // file that is no longer the file chosen is the authorization's problem:
    // the record is offered again, saying why, before anything is sent.
    bool offerDue = !authorization && !ticket.unrecorded && m_offer.isOffered();
    if (!authorization && !ticket.unrecorded && !m_offer.isOffered())
        ticket.withoutAuthorization = RegisterTexts::offerTurnedOff();
    if (proofProblem.isEmpty() && !ticket.unrecorded)
        proofProblem = proofProblemOf(authorization);
    while (offerDue || !proofProblem.isEmpty()) {
        const AuthorizationOffer::Answer answer =
            m_offer.offer(authorization ? *authorization : AuthorizationRecord::forDraft(draft.texts, m_now()),
                          draft.kind, proofProblem);
        offerDue = false;
        proofProblem.clear();
        telemarketing = answer.record.isTelemarketing();
        telemarketingAnswered = answer.telemarketingAnswered;
        switch (answer.choice) {
        case AuthorizationOffer::Choice::Cancel:
            ticket.withoutAuthorization.reset();
            return false;
        case AuthorizationOffer::Choice::WithoutRecord:
            ticket.withoutAuthorization = RegisterTexts::withoutRecordChosen();
            authorization.reset();
            break;
        case AuthorizationOffer::Choice::Record:
            ticket.withoutAuthorization.reset();
            authorization = answer.record;
            proofProblem = proofProblemOf(authorization);
            break;
        }
    }
    if (telemarketing && !telemarketingAnswered && !m_questions.ask(RegisterTexts::telemarketingQuestion())) {
        ticket.withoutAuthorization.reset();
        return false;
    }
    ticket.authorization = std::move(authorization);
    return true;
}

PerBox<QString> RegisterJournal::marks(const SentDraft& draft)
{
    PerBox<QString> marks;
    const CheckTexts& texts = draft.texts;
    std::optional<AuthorizationRecord> authorization = draft.authorization;
    // Said when the draft is printed, if the register fails meanwhile.
    try {
        if (DraftRecorder* drafts = m_openedRegister()) {
            // A draft like one sent lately, with another check number: perhaps the same payment twice.
            if (const std::optional<EarlierDraft> earlier = drafts->sameAmountRecently(texts))
                addMark(marks[Box::AmountInFigures], RegisterTexts::sameAmountMark(*earlier));
            if (!authorization)
                authorization = drafts->authorizationFor(texts);
            if (const std::optional<UsedAuthorization> used = drafts->usedAuthorization(texts, draft.authorization))
                addMark(marks[Box::AccountNumber], RegisterTexts::usedAuthorizationMark(*used));
            if (const std::optional<AccountReturn> returned = drafts->accountReturn(texts))
                addMark(marks[Box::AccountNumber], RegisterTexts::accountReturnMark(*returned));
        }
    } catch (const RegisterError&) {
    }
    if (authorization) {
        if (!sameAmount(authorization->amount, texts[Box::AmountInFigures]))
            addMark(marks[Box::AmountInFigures], RegisterTexts::authorizedAmountMark(*authorization));
        if (!samePayee(authorization->payee, texts[Box::Payee]))
            addMark(marks[Box::Payee], RegisterTexts::authorizedPayeeMark(*authorization));
        // A check cannot be authorized before it was written.
        const std::optional<QDate> dated = DateReader::read(texts[Box::CheckDate]);
        if (dated && *dated < authorization->authorizedAt.toLocalTime().date())
            addMark(marks[Box::CheckDate], RegisterTexts::datedBeforeAuthorizationMark(*authorization));
    }
    return marks;
}

bool RegisterJournal::sendUnrecorded(Ticket& ticket, const QString& reason)
{
    if (ticket.unrecorded)
        return true;
    ticket.unrecorded = m_questions.ask(RegisterTexts::printWithoutRecording(reason));
    return ticket.unrecorded;
}
