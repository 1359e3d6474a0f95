#include "ui/authorization/DialogAuthorizationOffer.h"

#include "ui/authorization/frmAuthorization.h"

#include <QApplication>

DialogAuthorizationOffer::DialogAuthorizationOffer(SettingsStore& settings, QString application, FileDialogs& dialogs,
                                                   QuestionBox& questions)
    : m_settings(settings), m_application(std::move(application)), m_dialogs(dialogs), m_questions(questions)
{}

bool DialogAuthorizationOffer::isOffered()
{
    return frmAuthorization::offeredIn(m_settings, m_application);
}

AuthorizationOffer::Answer DialogAuthorizationOffer::offer(const AuthorizationRecord& record, SentDraft::Kind kind,
                                                           const QString& proofProblem)
{
    const frmAuthorization::Use use = kind == SentDraft::Kind::PdfFile ? frmAuthorization::Use::OfferBeforeExport
                                                                       : frmAuthorization::Use::OfferBeforePrint;
    // A record offered again for its proof keeps the choices the merchant made.
    const bool isNew = proofProblem.isEmpty();
    frmAuthorization dialog(record, isNew, true, use, m_dialogs, QApplication::activeWindow(), &m_questions);
    if (!isNew)
        dialog.refuseProof(proofProblem);
    const int result = dialog.exec();
    if (result == QDialog::Rejected)
        return {};
    // Turned off here, the offer stays off from the next draft on.
    if (!dialog.offered())
        frmAuthorization::saveOffered(m_settings, m_application, false);
    return {result == frmAuthorization::WithoutRecord ? Choice::WithoutRecord : Choice::Record, dialog.record(),
            dialog.telemarketingAnswered()};
}
