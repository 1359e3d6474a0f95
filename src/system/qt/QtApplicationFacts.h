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
    bool executableFolderTakesFiles() const override;
    QString documentsFolder() const override;
};

// Whether files may be kept in `folder`: the user may create files there and
// it is not an installation's folder of programs.
bool folderTakesFiles(const QString& folder);
