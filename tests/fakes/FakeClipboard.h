#pragma once

#include "platform/Clipboard.h"

#include <QStringList>

// A clipboard in memory that also logs what was done to it.
class FakeClipboard : public Clipboard {
public:
    void clear() override
    {
        content.clear();
        log.append(QStringLiteral("clear"));
    }
    void setText(const QString& text) override
    {
        content = text;
        log.append(QStringLiteral("set ") + text);
    }
    QString text() const override { return content; }

    QString content;
    QStringList log;
};
