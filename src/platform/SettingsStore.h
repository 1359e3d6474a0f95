#pragma once

#include <QString>

// The per-user settings store: text values by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual void saveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;
    // The value saved under the key, or `fallback` when there is none.
    virtual QString readSetting(const QString& application, const QString& section, const QString& key,
                                const QString& fallback) const = 0;
};
