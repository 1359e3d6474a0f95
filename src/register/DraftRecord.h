#pragma once

#include "document/AuthorizationRecord.h"
#include "document/CheckRecord.h"
#include "print/PageSetup.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// A draft's number in the register.
using DraftId = qint64;

// Where a draft went.
enum class DraftDestination {
    Printer,      // Quick Print on a printer
    PreviewPrint, // printed from Print Preview
    PdfFile,      // File, Export as PDF
};

// What a print or export command records of the draft it sends: written once,
// never changed afterwards.
struct DraftRecord {
    CheckTexts texts;
    PageSetup pageSetup;
    DraftDestination destination = DraftDestination::Printer;
    QString destinationName; // the printer's name, or the PDF file's path
    QString sourceFile;      // the .qlo file the draft came from; empty for none
    // The customer's authorization the draft went with; or the merchant's
    // choice to send it without one, and why, kept as an event with it.
    std::optional<AuthorizationRecord> authorization;
    std::optional<QString> withoutAuthorization;
};
