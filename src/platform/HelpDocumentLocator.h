#pragma once

#include <QString>
#include <QStringList>

// Where a help file that the program asks for is on this machine. The fixed
// Windows path of Quillo's help stands for Quillo's own help document, which
// lies beside the executable in a build tree and in the data folder of an
// installed Quillo. Any other name is taken as a local file.
class HelpDocumentLocator {
public:
    // The path the program asks for, compared without regard to case.
    static const QString QuilloHelpFile;

    struct Location {
        // The document to show; empty when none was found.
        QString document;
        // Every path that was tried, in order, for telling the user.
        QStringList lookedAt;

        bool found() const { return !document.isEmpty(); }
    };

    explicit HelpDocumentLocator(QString executableFolder);

    Location locate(const QString& helpFile) const;

    static bool isQuilloHelpFile(const QString& helpFile);

    // True when the executable's folder is an installation's folder of
    // programs: the installation's data folder beside it holds Quillo's help.
    bool isInstallation() const;

private:
    QStringList quilloHelpCandidates() const;

    QString m_executableFolder;
};
