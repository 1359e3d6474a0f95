#pragma once

#include "register/AuthorizationOffer.h"

#include <QString>

class FileDialogs;
class SettingsStore;

// Offers the authorization record in frmAuthorization over the active
// window; the offer's setting is the merchant's, in the settings.
class DialogAuthorizationOffer : public AuthorizationOffer {
public:
    DialogAuthorizationOffer(SettingsStore& settings, QString application, FileDialogs& dialogs);

    bool isOffered() override;
    Answer offer(const AuthorizationRecord& record) override;

private:
    SettingsStore& m_settings;
    QString m_application;
    FileDialogs& m_dialogs;
};
