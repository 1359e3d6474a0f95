#include "ui/authorization/DialogAuthorizationOffer.h"

#include "ui/authorization/frmAuthorization.h"

#include <QApplication>

DialogAuthorizationOffer::DialogAuthorizationOffer(SettingsStore& settings, QString application, FileDialogs& dialogs)
    : m_settings(settings), m_application(std::move(application)), m_dialogs(dialogs)
{}

bool DialogAuthorizationOffer::isOffered()
{
    return frmAuthorization::offeredIn(m_settings, m_application);
}

AuthorizationOffer::Answer DialogAuthorizationOffer::offer(const AuthorizationRecord& record)
{
    frmAuthorization dialog(record, true, true, frmAuthorization::Use::Offer, m_dialogs, QApplication::activeWindow());
    const int result = dialog.exec();
    if (result == QDialog::Rejected)
        return {};
    // Turned off here, the offer stays off from the next draft on.
    if (!dialog.offered())
        frmAuthorization::saveOffered(m_settings, m_application, false);
    if (result == frmAuthorization::WithoutRecord)
        return {Choice::WithoutRecord, {}};
    return {Choice::Record, dialog.record()};
}
