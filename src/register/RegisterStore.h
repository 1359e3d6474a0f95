#pragma once

#include "document/Box.h"
#include "register/UncertainPrints.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct RegisterLocation;

// A draft as the storage keeps it: the values of the sealed boxes are sealed
// bytes, the others UTF-8 text (RegisterColumns says which is which). Times
// are milliseconds since 1970 UTC. The lists and look-ups read only what they
// need of it: the check number, payor, payee, amount and bank-line check
// number of the boxes, and the columns of the draft's place, keys and
// destination, with its status.
struct StoredDraft {
    qint64 id = 0; // given by the store
    QString uid;   // random, never reused: binds the sealed values to the draft
    qint64 recordedAt = 0;
    PerBox<QByteArray> boxes;
    QString accountLastFour;
    QByteArray accountKey; // blind index of routing + account; empty without both
    QByteArray chequeKey;  // blind index of routing + account + check number; empty without all three
    std::optional<qint64> amountCents;
    QString bankLine; // "layout" or "standard"
    int offsetRight = 0;
    int offsetDown = 0;
    QString destinationKind;      // "printer", "preview" or "pdf"
    QString destination;          // a printer's name; an export's path only in registers of before
    QByteArray sealedDestination; // an export's path
    QString sourceFile;           // in clear: only registers of before
    QByteArray sealedSourceFile;  // empty without one
    qint64 reprintOf = 0;         // the draft of the same check it was printed again after; 0 for none
    QString seat;                 // who recorded it, "ann@desk-2"; empty in registers of before
    // Read with it, never written: the kind of its latest status event that
    // no withdrawal took back (empty when it has none), and the time of its
    // latest event (its recording when it has none).
    QString status;
    qint64 lastEventAt = 0;
};

struct StoredEvent {
    qint64 draftId = 0;
    qint64 recordedAt = 0;
    QString kind; // DraftEvent::code
    bool setsStatus = true;
    QString jobId;
    QString text;          // in clear: only registers of before
    QByteArray sealedText; // empty without one
    qint64 id = 0;         // given by the store
    QString effectiveDate; // the day it happened, "2026-12-08"; empty for the day it was recorded
    QString reason;        // a return's ReturnReasons::code; empty for none
    qint64 withdraws = 0;  // a withdrawal's: the id of the event it takes back
    QString seat;          // who recorded it, "ann@desk-2"; empty in registers of before
};

// The authorization a draft was sent with, written with the draft. The
// payor's name, phone and the proof's file name are sealed bytes bound to
// the draft; `proofCopy` names the sealed copy of the proof file.
struct StoredAuthorization {
    qint64 draftId = 0;
    QString draftUid; // read with it, for the sealed values
    QString authorizationId;
    qint64 authorizedAt = 0;
    QByteArray authorizedBy;
    QByteArray phone;
    QString given; // the codes of the two choices
    QString sale;
    QString amount;
    QString payee;
    int drafts = 1;
    QByteArray proofName; // empty without a proof
    QByteArray proofSha256;
    QString proofCopy;
};

// The register's storage: drafts written once, events appended, nothing
// changed but the clear values of before once sealed, and nothing removed but the drafts past their keeping time that
// the merchant chose to remove. Every failure is a RegisterError with a reason for the
// merchant. The queries behind it are plain SQL, so that a database server
// can stand behind the same interface.
class RegisterStore {
public:
    // How much of an existing register is checked as it is opened.
    enum class Check {
        Full,      // its pages first, on a connection that cannot change it
        DoneBefore // checked a moment ago, by another store of the same register
    };

    // The store of the register at `location` (a file), with the dialect of
    // its database; a RegisterError says why it cannot be opened.
    static std::unique_ptr<RegisterStore> open(const QString& location, Check check = Check::Full);
    // The store of the register at `location`: its file, or its database on
    // the office server, reached with `password` (empty: libpq's own
    // PGPASSWORD or ~/.pgpass). The check applies to a file.
    static std::unique_ptr<RegisterStore> open(const RegisterLocation& location, const QString& password,
                                               Check check = Check::Full);

    virtual ~RegisterStore() = default;

    // The register's own facts (how its key is kept, its key check...),
    // each written once.
    virtual std::optional<QByteArray> fact(const QString& name) = 0;
    virtual void addFacts(const std::vector<std::pair<QString, QByteArray>>& facts) = 0;

    // Runs `writes` as one transaction: all of them are kept, or none.
    virtual void together(const std::function<void()>& writes) = 0;
    // Inside together(): makes every other seat's write about the account
    // with this blind index wait until this one is kept or dropped, so that a
    // look-up and the record that follows it see the same drafts. A store
    // that one program writes at a time needs nothing more.
    virtual void lockAccount(const QByteArray& accountKey) { Q_UNUSED(accountKey); }

    // What another seat wrote: a draft recorded, or an event appended to a draft.
    enum class Written { Draft, Event };
    using Watcher = std::function<void(Written what, qint64 draftId)>;
    // From now on calls `watcher`, on this thread's event loop, within
    // moments of another seat's commit, where the store hears of it. A file
    // that one program writes tells nothing.
    virtual void watchOthers(Watcher watcher) { Q_UNUSED(watcher); }

    // Writes the draft, and its first event when there is one, at once;
    // returns the draft's id.
    virtual qint64 addDraft(const StoredDraft& draft, const std::optional<StoredEvent>& firstEvent) = 0;
    virtual void addEvent(const StoredEvent& event) = 0;

    virtual std::optional<StoredDraft> draft(qint64 id) = 0;
    // The draft's events, oldest first.
    virtual std::vector<StoredEvent> events(qint64 draftId) = 0;
    // The latest return, not withdrawn, of a draft with this account key
    // for one of the reasons `reasons` (ReturnReasons::code).
    virtual std::optional<StoredEvent> latestReturnOnAccount(const QByteArray& accountKey,
                                                             const QStringList& reasons) = 0;

    // At most `count` drafts recorded before the draft `beforeId`, newest
    // first (in the order they were recorded).
    virtual std::vector<StoredDraft> drafts(qint64 beforeId, int count) = 0;
    // The drafts with this check key, newest first.
    virtual std::vector<StoredDraft> draftsWithChequeKey(const QByteArray& chequeKey) = 0;
    // The drafts with this account key and amount recorded at `since` or later, newest first.
    virtual std::vector<StoredDraft> draftsWithAccountKey(const QByteArray& accountKey, qint64 amountCents,
                                                          qint64 since) = 0;
    // The drafts whose status is Uncertain after a print with a job id.
    virtual std::vector<UncertainPrint> uncertainPrints() = 0;

    // Writes the authorization that the draft `authorization.draftId` went with.
    virtual void addAuthorization(const StoredAuthorization& authorization) = 0;
    // The authorization a draft went with; nothing when it went without.
    virtual std::optional<StoredAuthorization> authorization(qint64 draftId) = 0;
    // The latest authorization among the drafts with this check key, or
    // with this account key.
    virtual std::optional<StoredAuthorization> latestAuthorizationForCheque(const QByteArray& chequeKey) = 0;
    virtual std::optional<StoredAuthorization> latestAuthorizationForAccount(const QByteArray& accountKey) = 0;
    // The drafts that went with the authorization `authorizationId`.
    virtual std::vector<StoredDraft> draftsWithAuthorization(const QString& authorizationId) = 0;

    // The drafts whose latest event (or their recording, without one) is at
    // `lastEventAt` or earlier, newest first, with that time.
    virtual std::vector<StoredDraft> draftsIdleSince(qint64 lastEventAt) = 0;
    // Removes the drafts with their events and authorizations, all at once;
    // returns the proof copies that no draft left names.
    virtual std::vector<QString> removeDrafts(const std::vector<qint64>& ids) = 0;

    // What registers of before kept in clear: the drafts with a source
    // file's path or an export's path in clear, and the events with their
    // words in clear.
    virtual std::vector<StoredDraft> draftsWithClearPaths() = 0;
    virtual std::vector<StoredEvent> eventsWithClearText() = 0;
    // The one change made to what is written: a draft's paths, or an
    // event's words, sealed in place of their clear columns, which are
    // written as `draft` and `event` have them (emptied).
    virtual void sealPaths(const StoredDraft& draft) = 0;
    virtual void sealText(const StoredEvent& event) = 0;

    // Whether the register keeps the sealed copies of proof files itself,
    // as one that seats share must: they share no folder.
    virtual bool keepsProofCopies() const = 0;
    // The sealed copy `name`, written once; nothing when it has none.
    virtual void addProofCopy(const QString& name, const QByteArray& sealed) = 0;
    virtual std::optional<QByteArray> proofCopy(const QString& name) = 0;
    virtual void removeProofCopy(const QString& name) = 0;
};
