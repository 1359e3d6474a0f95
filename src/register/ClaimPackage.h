#pragma once

#include "print/QuickPrint.h"

#include <QByteArray>
#include <QPageLayout>
#include <QString>
#include <vector>

class DraftRegister;
class FolderFiles;
struct DraftDetails;

// What a merchant sends a bank that asks for proof of one draft's
// authorization, as one new folder: the draft as it was printed (the page
// rebuilt from its stored values, placement and offsets, as a PDF), a PDF
// stating its authorization record, the confirmation letters sent and when,
// its whole history, its proof file, and a manifest of each file's SHA-256
// in the form `sha256sum -c` reads. The folder is made whole or not at all:
// its files are written into a hidden folder beside it, which takes its name
// once every file is on the disk, and is removed when anything fails.
class ClaimPackage {
public:
    struct File {
        QString name;
        QByteArray bytes;
    };

    // The page is rebuilt with the cheque's `captions` on `paper`.
    ClaimPackage(DraftRegister& drafts, FolderFiles& files, PrintedCaptions captions, QPageLayout paper);

    // The package's files, the manifest last; a QuilloError when the proof
    // file cannot be opened or no longer has its SHA-256.
    std::vector<File> files(const DraftDetails& draft);

    // Writes the package of `draft` as the new folder `folder` and records it
    // in the draft's history; returns the number of files. A QuilloError
    // names the folder and says why nothing was written.
    int write(const DraftDetails& draft, const QString& folder);

    // The folder's name the save dialog suggests: "Claim package, check 1042".
    static QString suggestedName(const DraftDetails& draft);

private:
    QByteArray checkPdf(const DraftDetails& draft) const;
    QByteArray authorizationPdf(const DraftDetails& draft) const;

    DraftRegister& m_drafts;
    FolderFiles& m_files;
    PrintedCaptions m_captions;
    QPageLayout m_paper;
};
