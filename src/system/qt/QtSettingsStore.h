#pragma once

#include "platform/SettingsStore.h"

// The per-user settings store through QSettings: the application's values go
// to its own file under the user's configuration folder
// (~/.config/<application>/<application>.conf), one group per section.
class QtSettingsStore : public SettingsStore {
public:
    void saveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    QString readSetting(const QString& application, const QString& section, const QString& key,
                        const QString& fallback) const override;
};
