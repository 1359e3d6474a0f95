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
    QStringList written;
};
