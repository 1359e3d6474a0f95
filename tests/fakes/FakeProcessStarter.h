#pragma once

#include "platform/ProcessStarter.h"

#include <QSet>
#include <QStringList>

// Records every start. A start fails for an empty path and for the paths in
// `failing`; any other path "starts".
class FakeProcessStarter : public ProcessStarter {
public:
    bool startDetached(const QString& program) override
    {
        attempts.append(program);
        if (program.isEmpty() || failing.contains(program))
            return false;
        started.append(program);
        return true;
    }

    QSet<QString> failing;
    QStringList attempts;
    QStringList started;
};
