#include "print/PageSetup.h"

#include "platform/SettingsStore.h"

#include <algorithm>

namespace {

const QString Section = QStringLiteral("Printing");
const QString BankLineKey = QStringLiteral("BankLine");
const QString OffsetRightKey = QStringLiteral("OffsetRight");
const QString OffsetDownKey = QStringLiteral("OffsetDown");
const QString Epc6Key = QStringLiteral("Epc6");
const QString Standard = QStringLiteral("Standard");
const QString Layout = QStringLiteral("Layout");

int offset(const SettingsStore& settings, const QString& application, const QString& key)
{
    bool ok = false;
    const int value = settings.readSetting(application, Section, key, QString()).trimmed().toInt(&ok);
    return ok ? std::clamp(value, -PageSetup::MaxOffset, PageSetup::MaxOffset) : 0;
}

} // namespace

PageSetup PageSetup::load(const SettingsStore& settings, const QString& application)
{
    PageSetup setup;
    if (settings.readSetting(application, Section, BankLineKey, Layout) == Standard)
        setup.bankLine = BankLine::Standard;
    setup.offsetRight = offset(settings, application, OffsetRightKey);
    setup.offsetDown = offset(settings, application, OffsetDownKey);
    // Only a clear yes prints the code: a bank that does not expect it rejects the draft.
    setup.epc6 = settings.readSetting(application, Section, Epc6Key, QString()).trimmed() == QLatin1String("true");
    return setup;
}

void PageSetup::save(SettingsStore& settings, const QString& application) const
{
    settings.saveSetting(application, Section, BankLineKey, bankLine == BankLine::Standard ? Standard : Layout);
    settings.saveSetting(application, Section, OffsetRightKey, QString::number(offsetRight));
    settings.saveSetting(application, Section, OffsetDownKey, QString::number(offsetDown));
    settings.saveSetting(application, Section, Epc6Key, epc6 ? QStringLiteral("true") : QStringLiteral("false"));
}
