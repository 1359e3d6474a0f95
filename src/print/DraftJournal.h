#pragma once

#include "document/AuthorizationRecord.h"
#include "document/Box.h"
#include "document/CheckRecord.h"
#include "print/PageSetup.h"
#include "print/PrintOutcome.h"

#include <QFuture>
#include <QString>
#include <QtGlobal>
#include <memory>
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

// One draft's way through the journal, from the questions asked before it
// goes to what became of it: each print holds its own, so that two prints
// under way at once never mix their records.
class DraftTicket {
public:
    explicit DraftTicket(SentDraft draft) : m_draft(std::move(draft)) {}
    virtual ~DraftTicket() = default;
    DraftTicket(const DraftTicket&) = delete;
    DraftTicket& operator=(const DraftTicket&) = delete;

    const SentDraft& draft() const { return m_draft; }
    // The draft's place in the journal once it is recorded; none before, for
    // an export until its file is written, and when the merchant chose to
    // send it unrecorded.
    virtual std::optional<qint64> recordId() const = 0;

    // The page is about to go to `destination`; the draft is recorded now,
    // so that a program stopped meanwhile leaves it on record. A journal that
    // cannot record asks whether to send it unrecorded. False: nothing goes.
    virtual bool sending(const QString& destination) = 0;
    // The print service gave the job its number, and the document follows:
    // kept now, so that a program stopped meanwhile leaves the job to ask about.
    virtual void jobStarted(int jobId) = 0;
    // What became of it. Returns what to tell the merchant after the outcome
    // when that could not be recorded; empty when all is on record.
    virtual QString sent(const PrintOutcome& outcome) = 0;

private:
    SentDraft m_draft;
};

// The account kept of every draft that leaves Quillo, and the questions that
// guard it: the print commands tell it what they send and what became of it.
class DraftJournal {
public:
    virtual ~DraftJournal() = default;

    // Finishes once the journal can ask and record without holding up the
    // window (its register's key had from the keyring meanwhile, however
    // long that takes); a print command waits for it, never the window.
    virtual QFuture<void> ready() { return QtFuture::makeReadyFuture(); }

    // Before anything else: asks the merchant what must be asked first (the
    // same draft sent before, its authorization, a sale that rules forbid).
    // Returns the draft's ticket for the rest of the print; none ends the
    // command, and nothing is sent.
    virtual std::unique_ptr<DraftTicket> maySend(const SentDraft& draft) = 0;

    // What the journal says of the draft being typed, box by box, for their
    // marks (an earlier draft on the same account for the same amount, an
    // authorization for another amount or payee, or one whose drafts have
    // all been sent); empty for nothing. Never asks the merchant anything.
    virtual PerBox<QString> marks(const SentDraft& draft) = 0;
};
