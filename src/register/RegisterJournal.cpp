#include "register/RegisterJournal.h"

#include "document/AmountInFigures.h"
#include "platform/QuestionBox.h"
#include "register/AuthorizationOffer.h"
#include "register/DraftRecorder.h"
#include "register/RegisterError.h"
#include "register/RegisterTexts.h"

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
    // The draft of the same check the merchant chose to print it again after.
    std::optional<DraftId> printedAgainAfter;
    // What the draft goes with: its authorization, or the reason it goes without one.
    std::optional<AuthorizationRecord> authorization;
    std::optional<QString> withoutAuthorization;

private:
    DraftRecord recordOf(const QString& destination) const;

    RegisterJournal& m_journal;
    std::optional<DraftId> m_recordId;
};

DraftRecord RegisterJournal::Ticket::recordOf(const QString& destination) const
{
    DraftRecord record{draft(), destination, withoutAuthorization};
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
        DraftRecorder& drafts = m_journal.m_openRegister();
        if (draft().kind == SentDraft::Kind::PdfFile)
            return true;
        // Looked up again as it is recorded: another program may have sent
        // the same check since the merchant was asked, or while a dialog was open.
        for (;;) {
            const DraftRecorder::Recording recording =
                drafts.recordUnlessSent(recordOf(destination), printedAgainAfter);
            if (!recording.unasked) {
                m_recordId = recording.id;
                return true;
            }
            if (!m_journal.m_questions.ask(RegisterTexts::duplicateQuestion(*recording.unasked)))
                return false;
            printedAgainAfter = recording.unasked->id;
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
        m_journal.m_openRegister().append(*m_recordId, DraftEvent::uncertain(QString::number(jobId)));
    } catch (const RegisterError&) {
    }
}

QString RegisterJournal::Ticket::sent(const PrintOutcome& outcome)
{
    if (unrecorded)
        return {};
    try {
        if (m_recordId)
            m_journal.m_openRegister().append(*m_recordId, eventOf(outcome));
        else if (draft().kind == SentDraft::Kind::PdfFile && outcome.printed())
            m_recordId = m_journal.m_openRegister().record(recordOf(outcome.printer), DraftEvent::exported());
    } catch (const RegisterError& error) {
        return QStringLiteral("The draft register could not record what became of the check: %1.").arg(error.reason());
    }
    return {};
}

std::unique_ptr<DraftTicket> RegisterJournal::maySend(const SentDraft& draft)
{
    auto ticket = std::make_unique<Ticket>(*this, draft);
    std::optional<AuthorizationRecord> authorization = draft.authorization;
    try {
        DraftRecorder& drafts = m_openRegister();
        const std::optional<EarlierDraft> earlier = drafts.earlierDraft(draft.texts);
        if (earlier && !m_questions.ask(RegisterTexts::duplicateQuestion(*earlier)))
            return nullptr;
        if (earlier)
            ticket->printedAgainAfter = earlier->id;
        if (!authorization)
            authorization = drafts.authorizationFor(draft.texts);
    } catch (const RegisterError& error) {
        if (!sendUnrecorded(*ticket, error.reason()))
            return nullptr;
    }
    if (!authorized(*ticket, std::move(authorization)))
        return nullptr;
    return ticket;
}

bool RegisterJournal::authorized(Ticket& ticket, std::optional<AuthorizationRecord> authorization)
{
    const SentDraft& draft = ticket.draft();
    // A draft that goes unrecorded has no record to be kept with.
    if (!authorization && !ticket.unrecorded) {
        if (!m_offer.isOffered()) {
            ticket.withoutAuthorization = RegisterTexts::offerTurnedOff();
        } else {
            const AuthorizationOffer::Answer answer =
                m_offer.offer(AuthorizationRecord::forDraft(draft.texts, m_now()));
            switch (answer.choice) {
            case AuthorizationOffer::Choice::Cancel:
                return false;
            case AuthorizationOffer::Choice::WithoutRecord:
                ticket.withoutAuthorization = RegisterTexts::withoutRecordChosen();
                break;
            case AuthorizationOffer::Choice::Record:
                authorization = answer.record;
                break;
            }
        }
    }
    if (authorization && authorization->isTelemarketing() && !m_questions.ask(RegisterTexts::telemarketingQuestion())) {
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
        }
    } catch (const RegisterError&) {
    }
    if (authorization) {
        if (!sameAmount(authorization->amount, texts[Box::AmountInFigures]))
            addMark(marks[Box::AmountInFigures], RegisterTexts::authorizedAmountMark(*authorization));
        if (!samePayee(authorization->payee, texts[Box::Payee]))
            addMark(marks[Box::Payee], RegisterTexts::authorizedPayeeMark(*authorization));
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
