#pragma once

#include <QString>

class SettingsStore;

// The merchant as the confirmation letter names them: name, address and
// phone, the phone for the payor's questions and the refund procedure, kept
// in the settings.
struct MerchantDetails {
    // The longest texts kept: the letter always fits its page.
    static constexpr int MaxLine = 80;
    static constexpr int MaxAddressLines = 3;
    static constexpr int MaxRefundProcedure = 1000;

    QString name;
    QString address; // up to MaxAddressLines lines, separated by '\n'
    QString phone;
    QString questionsPhone; // for the payor's questions; `phone` when empty
    QString refundProcedure;

    bool operator==(const MerchantDetails&) const = default;

    // The phone number the payor calls with questions.
    QString phoneForQuestions() const;
    // Whether the letter can be written: a name, a phone for questions and a
    // refund procedure.
    bool isComplete() const;
    // The details with every text cut to what is kept.
    MerchantDetails limited() const;

    // The details kept in `application`'s settings, limited; missing ones empty.
    static MerchantDetails load(const SettingsStore& settings, const QString& application);
    void save(SettingsStore& settings, const QString& application) const;
};
