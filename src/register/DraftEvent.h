#pragma once

#include "register/ReturnReason.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// What happened to a draft after it was recorded. The kinds that set a
// status make the draft's status the latest of them; a note, the merchant's
// choice to send it without an authorization record and its confirmation
// letter, and its claim package do not.
enum class DraftEventKind {
    Printed,
    Exported,
    Uncertain,
    NotPrinted,
    Voided,
    Deposited,
    Returned,
    Note,
    NoAuthorization,
    LetterSent,
    Paid,
    Represented,
    // Takes back an earlier change of the status; nothing is removed.
    Withdrawal,
    // The draft's claim package (its page, authorization, letters, history
    // and proof) was exported for the bank that asked.
    ClaimPackage,
};

// A draft's status: the kind of its latest status event. A draft recorded
// before it was sent and without an outcome yet is Uncertain: the program
// may have stopped while the print was under way.
enum class DraftStatus { Uncertain, Printed, Exported, NotPrinted, Voided, Deposited, Returned, Paid, Represented };

struct DraftEvent {
    DraftEventKind kind = DraftEventKind::Note;
    QString text;  // a note, a return's own words, the deposit, what the print service answered
    QString jobId; // the print job's id, for a print's outcome
    // The day it happened, as the merchant gives it for a deposit, a return
    // and the like; null for the day it was recorded.
    QDate effective;
    std::optional<ReturnReason> reason; // a return's
    qint64 withdraws = 0;               // a withdrawal's: the id of the event it takes back

    static DraftEvent printed(const QString& jobId);
    static DraftEvent exported();
    static DraftEvent uncertain(const QString& jobId);
    static DraftEvent notPrinted(const QString& why = {});
    // What a later look-up of an Uncertain job found: the print service
    // names the job's state (completed, canceled...).
    static DraftEvent printedAfterLookUp(const QString& jobId, const QString& jobState);
    static DraftEvent notPrintedAfterLookUp(const QString& jobId, const QString& jobState);
    static DraftEvent voided(const QDate& day = {});
    // Into the deposit `deposit` (a slip or batch number; may be empty).
    static DraftEvent deposited(const QDate& day, const QString& deposit = {});
    static DraftEvent paid(const QDate& day);
    // `otherText` says why in the merchant's words, for ReturnReason::Other.
    static DraftEvent returned(const QDate& day, ReturnReason reason, const QString& otherText = {});
    static DraftEvent represented(const QDate& day, const QString& deposit = {});
    static DraftEvent withdrawal(qint64 eventId);
    static DraftEvent note(const QString& text);
    // Recorded with a draft sent without an authorization record: why.
    static DraftEvent noAuthorization(const QString& why);
    // The draft's confirmation letter went to the payor: printed (with the
    // printer and its job) or exported (with the file).
    static DraftEvent letterSent(const QString& how, const QString& jobId = {});
    // The draft's claim package was written as the folder `folder`.
    static DraftEvent claimPackage(const QString& folder);

    bool setsStatus() const;

    // The kind as the register file keeps it ("printed", "not-printed"...),
    // and back; nothing for a text that names no kind.
    static QString code(DraftEventKind kind);
    static std::optional<DraftEventKind> fromCode(const QString& code);
    // The status an event of `kind` gives the draft.
    static DraftStatus statusOf(DraftEventKind kind);
};

// An event as the register holds it, with the time it was appended.
struct RecordedEvent {
    DraftEvent event;
    QDateTime time; // UTC
    qint64 id = 0;
    bool withdrawn = false; // a later withdrawal took it back
    QString seat;           // who recorded it, "ann@desk-2"; empty in registers of before

    // The day it happened: the one the merchant gave, or else the local day it was recorded.
    QDate day() const { return event.effective.isValid() ? event.effective : time.toLocalTime().date(); }
};
