#pragma once

#include "register/AuthorizationOffer.h"

#include <QString>

class FileDialogs;
class QuestionBox;
class SettingsStore;

// Offers the authorization record in frmAuthorization over the active
// window, which asks `questions` about a telemarketing sale before it
// closes; the offer's setting is the merchant's, in the settings.
class DialogAuthorizationOffer : public AuthorizationOffer {
public:
    DialogAuthorizationOffer(SettingsStore& settings, QString application, FileDialogs& dialogs,
                             QuestionBox& questions);

    bool isOffered() override;
    Answer offer(const AuthorizationRecord& record, SentDraft::Kind kind, const QString& proofProblem) override;

private:
    SettingsStore& m_settings;
    QString m_application;
    FileDialogs& m_dialogs;
    QuestionBox& m_questions;
};
