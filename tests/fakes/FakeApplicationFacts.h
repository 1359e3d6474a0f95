#pragma once

#include "platform/ApplicationFacts.h"

class FakeApplicationFacts : public ApplicationFacts {
public:
    QString title() const override { return QStringLiteral("Quillo"); }
    int versionMajor() const override { return major; }
    int versionMinor() const override { return minor; }
    int versionRevision() const override { return revision; }
    QString executableFolder() const override { return folder; }
    bool executableFolderTakesFiles() const override { return folderTakesFiles; }
    QString documentsFolder() const override { return documents; }

    int major = 1;
    int minor = 0;
    int revision = 0;
    QString folder = QStringLiteral("/opt/quillo/bin");
    bool folderTakesFiles = true;
    QString documents = QStringLiteral("/home/merchant/Documents");
};
