#pragma once

#include "document/CheckRecord.h"
#include "print/QuickPrint.h"

#include <QString>
#include <functional>
#include <memory>

class FileDialogs;
class MessageBoxService;
class PrintSurface;

// File, Export as PDF: the page that Quick Print would print, kept as a PDF
// file that the merchant names. A page that Quick Print would refuse is
// refused here too, and nothing is written.
class PdfExport {
public:
    // A surface that writes the PDF file `path` titled `title` at its end.
    using OpenFile = std::function<std::unique_ptr<PrintSurface>(const QString& path, const QString& title)>;

    PdfExport(FileDialogs& dialogs, MessageBoxService& messages, OpenFile openFile);

    // Asks for the file, starting in the folder of the last export or else in
    // `firstFolder`, then writes it and says where. A cancelled dialog ends
    // the command quietly; a failure is a QuilloError that names the file.
    void run(const CheckTexts& texts, const PrintedCaptions& captions, const QString& firstFolder,
             const PageSetup& setup = {});

    // The name the dialog suggests: the first payor line as a save suggests
    // it, with ".pdf"; "check.pdf" for an empty line.
    static QString suggestedName(const QString& text1);
    // The document's title: "Check " and the cheque number, or "Check".
    static QString documentTitle(const QString& text6);

private:
    FileDialogs& m_dialogs;
    MessageBoxService& m_messages;
    OpenFile m_openFile;
    QString m_lastFolder;
};
