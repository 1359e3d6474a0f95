#pragma once

#include "document/AuthorizationRecord.h"
#include "document/Box.h"
#include "document/CheckRecord.h"
#include "print/PageSetup.h"
#include "print/PrintOutcome.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// A draft as a print command sends it.
struct SentDraft {
    enum class Kind {
        QuickPrint,   // Quick Print on the default printer
        PreviewPrint, // printed from Print Preview
        PdfFile,      // File, Export as PDF
    };

    CheckTexts texts;
    PageSetup setup;
    Kind kind = Kind::QuickPrint;
    QString sourceFile; // the .qlo file the draft came from; empty for none
    // The customer's authorization as the merchant filled it in for this
    // draft; none lets the journal find or offer one.
    std::optional<AuthorizationRecord> authorization;
};

// The account kept of every draft that leaves Quillo, and the questions that
// guard it: the print commands tell it what they send and what became of it.
class DraftJournal {
public:
    // Whether a draft's page may be sent at all.
    struct Entry {
        bool send = false;
        // The draft's place in the journal, for its outcome; none when the
        // merchant chose to send it unrecorded.
        std::optional<qint64> draft;
    };

    virtual ~DraftJournal() = default;

    // Before anything else: asks the merchant what must be asked first (the
    // same draft sent before, its authorization, a sale that rules forbid).
    // False ends the command; nothing is sent.
    virtual bool maySend(const SentDraft& draft) = 0;
    // The page is about to go to `destination`; the draft is recorded now,
    // so that a program stopped meanwhile leaves it on record. A journal that
    // cannot record asks whether to send it unrecorded.
    virtual Entry sending(const SentDraft& draft, const QString& destination) = 0;
    // What became of it. Returns what to tell the merchant after the outcome
    // when that could not be recorded; empty when all is on record.
    virtual QString sent(const SentDraft& draft, const Entry& entry, const PrintOutcome& outcome) = 0;

    // What the journal says of the draft being typed, box by box, for their
    // marks (an earlier draft on the same account for the same amount, an
    // authorization for another amount or payee, or one whose drafts have
    // all been sent); empty for nothing. Never asks the merchant anything.
    virtual PerBox<QString> marks(const SentDraft& draft) = 0;
};
