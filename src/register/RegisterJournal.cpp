#include "register/RegisterJournal.h"

#include "platform/QuestionBox.h"
#include "register/DraftRecorder.h"
#include "register/RegisterError.h"
#include "register/RegisterTexts.h"

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

DraftRecord recordOf(const SentDraft& draft, const QString& destination)
{
    return {draft.texts, draft.setup, destinationOf(draft.kind), destination, draft.sourceFile};
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

} // namespace

RegisterJournal::RegisterJournal(std::function<DraftRecorder&()> openRegister,
                                 std::function<DraftRecorder*()> openedRegister, QuestionBox& questions)
    : m_openRegister(std::move(openRegister)), m_openedRegister(std::move(openedRegister)), m_questions(questions)
{}

bool RegisterJournal::maySend(const SentDraft& draft)
{
    m_unrecorded = false;
    try {
        const std::optional<EarlierDraft> earlier = m_openRegister().earlierDraft(draft.texts);
        return !earlier || m_questions.ask(RegisterTexts::duplicateQuestion(*earlier));
    } catch (const RegisterError& error) {
        return sendUnrecorded(error.reason());
    }
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

QString RegisterJournal::amountMark(const CheckTexts& texts)
{
    DraftRecorder* drafts = m_openedRegister();
    if (!drafts)
        return {};
    try {
        const std::optional<EarlierDraft> earlier = drafts->sameAmountRecently(texts);
        return earlier ? RegisterTexts::sameAmountMark(*earlier) : QString();
    } catch (const RegisterError&) {
        // Said when the draft is printed.
        return {};
    }
}

bool RegisterJournal::sendUnrecorded(const QString& reason)
{
    if (m_unrecorded)
        return true;
    m_unrecorded = m_questions.ask(RegisterTexts::printWithoutRecording(reason));
    return m_unrecorded;
}
