#pragma once

#include "register/DraftRecorder.h"
#include "register/DraftSummary.h"
#include "register/SeatName.h"
#include "register/UncertainPrints.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class HeldOutcomes;
class ProofCopies;
class RegisterCipher;
class RegisterStore;
struct StoredDraft;
struct StoredAuthorization;
struct StoredEvent;

// The draft register: every draft that left the program, written once, and
// what became of it, appended event by event. Bank numbers and payor lines
// are sealed in the store; look-ups go through blind indexes. Says when a
// draft or an event is recorded, so that whatever lists drafts keeps up.
class DraftRegister final : public QObject, public DraftRecorder, public UncertainPrints {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;

    // Keeps the copies of proof files in `proofFolder` (in the store itself
    // where it keeps them, StoreProofShelf); writes `seat` as the one that
    // recorded each draft and event. What a register of before keeps in
    // clear (paths, events' words) is sealed as it opens.
    DraftRegister(std::unique_ptr<RegisterStore> store, std::unique_ptr<RegisterCipher> cipher, QString proofFolder,
                  Clock now = &QDateTime::currentDateTimeUtc, QString seat = SeatName::ofThisComputer());
    ~DraftRegister() override;

    // DraftRecorder
    DraftId record(const DraftRecord& draft, const std::optional<DraftEvent>& outcome) override;
    Recording recordUnlessSent(const DraftRecord& draft, const Known& known) override;
    void append(DraftId draft, const DraftEvent& event) override;
    void appendToRecorded(DraftId draft, const DraftEvent& event) override;
    std::optional<EarlierDraft> earlierDraft(const CheckTexts& texts) override;
    std::optional<EarlierDraft> sameAmountRecently(const CheckTexts& texts) override;
    std::optional<AuthorizationRecord> authorizationFor(const CheckTexts& texts) override;
    std::optional<UsedAuthorization> usedAuthorization(const CheckTexts& texts,
                                                       const std::optional<AuthorizationRecord>& own) override;
    std::optional<AccountReturn> accountReturn(const CheckTexts& texts) override;

    // UncertainPrints
    std::vector<UncertainPrint> uncertainPrints() override;
    void recordLookUp(const UncertainPrint& print, bool printed, const QString& jobState) override;

    // Appends the merchant's change of a draft's status (voided, deposited,
    // paid, returned, re-presented) once DraftLifecycle allows it for the
    // draft's status and the event's day, all in one write; a QuilloError
    // says why it does not apply.
    void change(DraftId draft, const DraftEvent& event);
    // Takes back the draft's latest change with a withdrawal event; nothing
    // is removed. A QuilloError says why there is none to take back.
    void withdrawLatestChange(DraftId draft);
    // The seat this program writes as, "ann@desk-2".
    const QString& seat() const { return m_seat; }
    // The local day by the register's clock: the latest day a change may have.
    QDate today() const;

    // Runs the records and appends of `steps` as one write to the file: all
    // of them are kept, or none (an import, a register made for a benchmark).
    void together(const std::function<void()>& steps);

    // Every draft, newest first (in the order they were recorded).
    std::vector<DraftSummary> drafts();
    // At most `count` drafts recorded before `before` (all when it is 0),
    // newest first: a list that comes up page by page.
    std::vector<DraftSummary> drafts(DraftId before, int count);
    // One draft as the list shows it; nothing for a draft the register does not hold.
    std::optional<DraftSummary> summary(DraftId draft);
    // The first payor line of a listed draft.
    QString payor(const DraftSummary& draft) const;
    // Everything about one draft, its bank numbers opened; a RegisterError
    // for a draft the register does not hold.
    DraftDetails details(DraftId draft);
    // The latest draft with the same routing, account and check number as
    // `texts` that was not voided and not found unprinted, in full.
    std::optional<DraftDetails> sentDraft(const CheckTexts& texts);
    // The bytes of an authorization's proof file, from the register's copy.
    QByteArray proof(const AuthorizationRecord& authorization);

    // What shows of a sealed value that does not open (the file was altered).
    static inline const QString DamagedValue = QStringLiteral("(damaged)");

    // How long a draft is kept after its latest event, at least.
    static constexpr int KeptYears = 5;
    // The drafts whose latest event is KeptYears or more back, newest first.
    std::vector<DraftSummary> draftsPastKeeping();
    // Removes those of `drafts` that are past keeping still, with their
    // history, authorizations and the proof copies no other draft uses;
    // returns how many it removed. The only removal the register has.
    int removePastKeeping(const std::vector<DraftId>& drafts);

    // What became of a print that the register cannot take when it comes
    // (the office server out of reach) is kept, sealed, in `file` on this
    // computer: append() then throws OutcomeHeld, and the next write,
    // look-up of uncertain prints or opening writes it first, once.
    void holdOutcomesIn(const QString& file);

Q_SIGNALS:
    // Emitted as it is written, inside the write when it is part of one;
    // another seat's, as soon as the register hears of it.
    void draftRecorded(DraftId draft);
    void eventAppended(DraftId draft);

private:
    struct Identity;
    Identity identify(const CheckTexts& texts) const;
    void appendEvent(DraftId draft, const DraftEvent& event);
    void sealClearValues();
    // Inside a write: holds the account of `draft` against other seats' writes on it.
    void lockAccountOf(DraftId draft);
    EarlierDraft earlier(const StoredDraft& row) const;
    StoredAuthorization sealed(const AuthorizationRecord& authorization, const QString& draftUid);
    // A draft's destination, opened when it is sealed (an export's path).
    QString destinationOf(const StoredDraft& row, bool* damaged = nullptr) const;
    DraftSummary summary(StoredDraft row) const;
    StoredEvent storedEvent(DraftId draft, const QString& uid, qint64 at, const DraftEvent& event) const;
    // A sealed value opened; DamagedValue, with `damaged` set, when it does
    // not open: one altered value never hides the others.
    QString opened(const QByteArray& sealed, const QByteArray& context, bool* damaged = nullptr) const;
    AuthorizationRecord opened(const StoredAuthorization& stored, bool* damaged = nullptr) const;
    // How many checks went with the authorization, not voided and not found unprinted.
    std::vector<StoredDraft> drawingUnder(const QString& authorizationId);
    void hold(DraftId draft, qint64 at, const DraftEvent& event);
    // Writes the outcomes held, each once, in one write.
    void writeHeld();

    std::unique_ptr<RegisterStore> m_store;
    std::unique_ptr<RegisterCipher> m_cipher;
    std::unique_ptr<ProofCopies> m_proofs;
    Clock m_now;
    QString m_seat;
    std::unique_ptr<HeldOutcomes> m_held;
    // The drafts recorded in this run: what a held outcome is bound to.
    QHash<DraftId, QString> m_recordedUids;
};
