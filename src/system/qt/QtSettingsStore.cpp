#include "system/qt/QtSettingsStore.h"

#include "platform/QuilloError.h"

#include <QSettings>

void QtSettingsStore::saveSetting(const QString& application, const QString& section, const QString& key,
                                  const QString& value)
{
    QSettings settings(application, application);
    settings.beginGroup(section);
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        throw QuilloError(QStringLiteral("Quillo could not write its settings to %1. "
                                         "Check that the folder exists and can be written to.")
                              .arg(settings.fileName()));
    }
}

QString QtSettingsStore::readSetting(const QString& application, const QString& section, const QString& key,
                                     const QString& fallback) const
{
    QSettings settings(application, application);
    return settings.value(section + QLatin1Char('/') + key, fallback).toString();
}
