#pragma once

#include "platform/ApplicationFacts.h"

// The facts of this build of Quillo.
class QtApplicationFacts : public ApplicationFacts {
public:
    QString title() const override;
    int versionMajor() const override;
    int versionMinor() const override;
    int versionRevision() const override;
    QString executableFolder() const override;
};
