#pragma once

#include "platform/SettingsStore.h"

#include <QStringList>

// Records every setting written, as "application/section/key=value".
class FakeSettingsStore : public SettingsStore {
public:
    void saveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override
    {
        written.append(QStringLiteral("%1/%2/%3=%4").arg(application, section, key, value));
    }
    // The last value written under the key.
    QString readSetting(const QString& application, const QString& section, const QString& key,
                        const QString& fallback) const override
    {
        const QString prefix = QStringLiteral("%1/%2/%3=").arg(application, section, key);
        for (auto it = written.crbegin(); it != written.crend(); ++it) {
            if (it->startsWith(prefix))
                return it->mid(prefix.size());
        }
        return fallback;
    }
    QStringList written;
};
