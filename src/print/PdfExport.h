#pragma once

#include "document/CheckRecord.h"
#include "print/DraftJournal.h"
#include "print/QuickPrint.h"

#include <QString>

class FileDialogs;
class Printing;

// File, Export as PDF: the page that Quick Print would print, kept as a PDF
// file that the merchant names. A page that Quick Print would refuse is
// refused here too, and nothing is written.
class PdfExport {
public:
    PdfExport(FileDialogs& dialogs, Printing& printing);

    // Asks for the file, starting in the folder of the last export or else in
    // `firstFolder`, then writes it and says where, or why not. A cancelled
    // dialog ends the command quietly.
    void run(const SentDraft& draft, const PrintedCaptions& captions, const QString& firstFolder);

    // The name the dialog suggests: the first payor line as a save suggests
    // it, with ".pdf"; "check.pdf" for an empty line.
    static QString suggestedName(const QString& text1);
    // The document's title: "Check " and the cheque number, or "Check".
    static QString documentTitle(const QString& text6);

private:
    FileDialogs& m_dialogs;
    Printing& m_printing;
    QString m_lastFolder;
};
