#include "register/RegisterJournal.h"

#include "document/AmountInFigures.h"
#include "document/DateReader.h"
#include "platform/QuestionBox.h"
#include "register/AuthorizationOffer.h"
#include "register/DraftRecorder.h"
#include "register/ProofFileCheck.h"
#include "register/RegisterError.h"
#include "register/RegisterTexts.h"

#include <QDir>

namespace {

DraftDestination destinationOf(SentDraft::Kind kind)
{
    switch (kind) {
    case SentDraft::Kind::PreviewPrint:
        return DraftDestination::PreviewPrint;
    case SentDraft::Kind::PdfFile:
        return DraftDestination::PdfFile;
    case SentDraft::Kind::QuickPrint:
        break;
    }
    return DraftDestination::Printer;
}

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

RegisterJournal::RegisterJournal(std::function<DraftRecorder&()> openRegister,
                                 std::function<DraftRecorder*()> openedRegister, QuestionBox& questions,
                                 AuthorizationOffer& offer, Clock now)
    : m_openRegister(std::move(openRegister)), m_openedRegister(std::move(openedRegister)), m_questions(questions),
      m_offer(offer), m_now(std::move(now))
{}

DraftRecord RegisterJournal::recordOf(const SentDraft& draft, const QString& destination) const
{
    DraftRecord record;
    record.texts = draft.texts;
    record.pageSetup = draft.setup;
    record.destination = destinationOf(draft.kind);
    record.destinationName = destination;
    record.sourceFile = draft.sourceFile;
    record.authorization = m_authorization;
    record.withoutAuthorization = m_withoutAuthorization;
    return record;
}

bool RegisterJournal::maySend(const SentDraft& draft)
{
    m_unrecorded = false;
    m_authorization.reset();
    m_withoutAuthorization.reset();
    std::optional<AuthorizationRecord> authorization = draft.authorization;
    try {
        DraftRecorder& drafts = m_openRegister();
        const std::optional<EarlierDraft> earlier = drafts.earlierDraft(draft.texts);
        if (earlier && !m_questions.ask(RegisterTexts::duplicateQuestion(*earlier)))
            return false;
        if (!authorization)
            authorization = drafts.authorizationFor(draft.texts);
    } catch (const RegisterError& error) {
        if (!sendUnrecorded(error.reason()))
            return false;
    }
    return authorized(draft, std::move(authorization));
}

bool RegisterJournal::authorized(const SentDraft& draft, std::optional<AuthorizationRecord> authorization)
{
    // The sale behind the draft rules it whether or not its record is kept.
    bool telemarketing = authorization && authorization->isTelemarketing();
    bool telemarketingAnswered = false;
    // A draft that goes unrecorded has no record to be kept with. A proof
    // file that is no longer the file chosen is the authorization's problem:
    // the record is offered again, saying why, before anything is sent.
    bool offerDue = !authorization && !m_unrecorded && m_offer.isOffered();
    if (!authorization && !m_unrecorded && !m_offer.isOffered())
        m_withoutAuthorization = RegisterTexts::offerTurnedOff();
    QString proofProblem = m_unrecorded ? QString() : proofProblemOf(authorization);
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
            m_withoutAuthorization.reset();
            return false;
        case AuthorizationOffer::Choice::WithoutRecord:
            m_withoutAuthorization = RegisterTexts::withoutRecordChosen();
            authorization.reset();
            break;
        case AuthorizationOffer::Choice::Record:
            m_withoutAuthorization.reset();
            authorization = answer.record;
            proofProblem = proofProblemOf(authorization);
            break;
        }
    }
    if (telemarketing && !telemarketingAnswered && !m_questions.ask(RegisterTexts::telemarketingQuestion())) {
        m_withoutAuthorization.reset();
        return false;
    }
    m_authorization = std::move(authorization);
    return true;
}

DraftJournal::Entry RegisterJournal::sending(const SentDraft& draft, const QString& destination)
{
    if (m_unrecorded)
        return {true, std::nullopt};
    // An export is recorded once its file is written: until then there is
    // nothing of it anywhere. Its register is made sure of now.
    try {
        DraftRecorder& drafts = m_openRegister();
        if (draft.kind == SentDraft::Kind::PdfFile)
            return {true, std::nullopt};
        return {true, drafts.record(recordOf(draft, destination), std::nullopt)};
    } catch (const RegisterError& error) {
        return {sendUnrecorded(error.reason()), std::nullopt};
    }
}

QString RegisterJournal::sent(const SentDraft& draft, const Entry& entry, const PrintOutcome& outcome)
{
    if (m_unrecorded)
        return {};
    try {
        if (entry.draft)
            m_openRegister().append(*entry.draft, eventOf(outcome));
        else if (draft.kind == SentDraft::Kind::PdfFile && outcome.printed())
            m_openRegister().record(recordOf(draft, outcome.printer), DraftEvent::exported());
    } catch (const RegisterError& error) {
        return QStringLiteral("The draft register could not record what became of the check: %1.").arg(error.reason());
    }
    return {};
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

bool RegisterJournal::sendUnrecorded(const QString& reason)
{
    if (m_unrecorded)
        return true;
    m_unrecorded = m_questions.ask(RegisterTexts::printWithoutRecording(reason));
    return m_unrecorded;
}
