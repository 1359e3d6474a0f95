#include "print/MerchantDetails.h"

#include "platform/SettingsStore.h"

#include <QStringList>

namespace {

const QString Section = QStringLiteral("Merchant");
const QString NameKey = QStringLiteral("Name");
const QString AddressKey = QStringLiteral("Address");
const QString PhoneKey = QStringLiteral("Phone");
const QString QuestionsPhoneKey = QStringLiteral("QuestionsPhone");
const QString RefundProcedureKey = QStringLiteral("RefundProcedure");

QString line(const QString& text)
{
    return text.simplified().left(MerchantDetails::MaxLine);
}

} // namespace

QString MerchantDetails::phoneForQuestions() const
{
    return questionsPhone.trimmed().isEmpty() ? phone.trimmed() : questionsPhone.trimmed();
}

bool MerchantDetails::isComplete() const
{
    return !name.trimmed().isEmpty() && !phoneForQuestions().isEmpty() && !refundProcedure.trimmed().isEmpty();
}

MerchantDetails MerchantDetails::limited() const
{
    MerchantDetails kept;
    kept.name = line(name);
    QStringList lines;
    for (const QString& part : address.split(QLatin1Char('\n'))) {
        if (!part.trimmed().isEmpty() && lines.size() < MaxAddressLines)
            lines.append(line(part));
    }
    kept.address = lines.join(QLatin1Char('\n'));
    kept.phone = line(phone);
    kept.questionsPhone = line(questionsPhone);
    kept.refundProcedure = refundProcedure.trimmed().left(MaxRefundProcedure);
    return kept;
}

MerchantDetails MerchantDetails::load(const SettingsStore& settings, const QString& application)
{
    MerchantDetails details;
    details.name = settings.readSetting(application, Section, NameKey, QString());
    details.address = settings.readSetting(application, Section, AddressKey, QString());
    details.phone = settings.readSetting(application, Section, PhoneKey, QString());
    details.questionsPhone = settings.readSetting(application, Section, QuestionsPhoneKey, QString());
    details.refundProcedure = settings.readSetting(application, Section, RefundProcedureKey, QString());
    return details.limited();
}

void MerchantDetails::save(SettingsStore& settings, const QString& application) const
{
    const MerchantDetails kept = limited();
    settings.saveSetting(application, Section, NameKey, kept.name);
    settings.saveSetting(application, Section, AddressKey, kept.address);
    settings.saveSetting(application, Section, PhoneKey, kept.phone);
    settings.saveSetting(application, Section, QuestionsPhoneKey, kept.questionsPhone);
    settings.saveSetting(application, Section, RefundProcedureKey, kept.refundProcedure);
}
