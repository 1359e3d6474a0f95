#pragma once

#include "platform/FailureHandling.h"

#include <QStringList>

// Records the failures that would be reported centrally.
class FakeFailureReporter : public FailureReporter {
public:
    void report(const QString& message) override { reports.append(message); }
    QStringList reports;
};
