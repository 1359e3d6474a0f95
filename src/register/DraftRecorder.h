#pragma once

#include "register/DraftEvent.h"
#include "register/DraftRecord.h"
#include "register/ReturnReason.h"

#include <QDateTime>
#include <optional>

// A draft found in the register for the questions asked before printing.
struct EarlierDraft {
    DraftId id = 0;
    QDateTime recorded; // UTC
    QString checkNumber;
    QString accountLastFour;
    QString amount; // as the list writes it: "1,234.56", or the text that is no amount
    QString payee;
    // How it went: Printed, Exported or Uncertain (by its print's latest
    // outcome), with the print's job and where it went.
    DraftStatus sent = DraftStatus::Printed;
    QString jobId;
    QString destination;
};

// An authorization all of whose drafts have been sent.
struct UsedAuthorization {
    QDateTime authorizedAt; // UTC
    int drafts = 0;         // authorized
    int sent = 0;           // sent under it, not voided and not found unprinted
    QString accountLastFour;
};

// A draft on the account that came back because its holder will not pay
// drafts on it (ReturnReasons::refusesAccount).
struct AccountReturn {
    QDate returnedOn;
    ReturnReason reason = ReturnReason::NotAuthorized;
    QString accountLastFour;
};

// What the print and export commands need of the register. Every failure is
// a RegisterError, whose reason goes into the question whether to print
// without recording (RegisterTexts::printWithoutRecording).
class DraftRecorder {
public:
    virtual ~DraftRecorder() = default;

    // Records `draft`, with `outcome` as its first event when it is known.
    // A print records its draft before it is sent, without an outcome (its
    // status is Uncertain until the outcome is appended, so that a program
    // stopped in the middle of a print leaves an Uncertain draft rather than
    // none); an export records its draft once the file is written, with
    // DraftEvent::exported().
    virtual DraftId record(const DraftRecord& draft, const std::optional<DraftEvent>& outcome) = 0;

    // What the merchant was told of a print's check before it was sent:
    // recordUnlessSent asks again about anything else it finds.
    struct Known {
        // The draft of the same check the merchant chose to print it again after.
        std::optional<DraftId> duplicate;
        // The draft of the same amount the 30-day mark named (sameAmountRecently).
        std::optional<DraftId> sameAmount;
        // The draft's authorization had sent all its drafts (usedAuthorization).
        bool authorizationUsed = false;
    };
    // What recordUnlessSent found instead of recording; nothing was recorded.
    struct Recording {
        DraftId id = 0; // the draft recorded; 0 for none
        // The draft of the same check, which the merchant has not been asked about.
        std::optional<EarlierDraft> unasked;
        // A draft of the same amount on the account (the 30-day mark) the merchant was not shown.
        std::optional<EarlierDraft> sameAmount;
        // The draft's authorization, whose last draft another program sent meanwhile.
        std::optional<UsedAuthorization> usedUp;
    };
    // Records a print's draft without an outcome, as record() does, unless
    // the register now holds what the merchant was not told (`known`): the
    // latest draft of the same check (earlierDraft), a draft of the same
    // amount (sameAmountRecently), or the draft's authorization used up
    // (usedAuthorization). The look-ups and the record are one write: a
    // draft on the same account that another program records comes before
    // all of them or after.
    virtual Recording recordUnlessSent(const DraftRecord& draft, const Known& known) = 0;
    // Appends an event to the draft's history (a print's outcome, Void...).
    virtual void append(DraftId draft, const DraftEvent& event) = 0;
    // Appends a print's job or outcome to the draft recorded for it by this
    // register: a RegisterError when the register was moved to another place
    // since, so that the event never lands on another register's draft.
    virtual void appendToRecorded(DraftId draft, const DraftEvent& event) = 0;

    // The latest draft with the same routing, account and check number as
    // `texts` that was not voided and not found unprinted: the duplicate
    // question (RegisterTexts::duplicateQuestion) names it.
    virtual std::optional<EarlierDraft> earlierDraft(const CheckTexts& texts) = 0;
    // The latest draft of the last 30 days with the same routing and account
    // number and the same amount as `texts` but another check number (not
    // voided, not found unprinted): the amount box's mark
    // (RegisterTexts::sameAmountMark) names it.
    virtual std::optional<EarlierDraft> sameAmountRecently(const CheckTexts& texts) = 0;

    // The authorization a draft like `texts` goes with by the register: the
    // latest one recorded with the same check (a reprint), or else the
    // latest on the same account while it has authorized drafts left (the
    // next of several drafts). Nothing when neither is there.
    virtual std::optional<AuthorizationRecord> authorizationFor(const CheckTexts& texts) = 0;
    // The latest authorization on the account of `texts` once every draft it
    // authorized has been sent and `texts` is not one of them: the next
    // draft needs one of its own. Nothing when `own` is another authorization.
    virtual std::optional<UsedAuthorization> usedAuthorization(const CheckTexts& texts,
                                                               const std::optional<AuthorizationRecord>& own) = 0;
    // The latest draft on the account of `texts` (routing and account
    // number) that came back not authorized, stopped or closed, unless that
    // return was withdrawn: every later draft on it is marked and asked about.
    virtual std::optional<AccountReturn> accountReturn(const CheckTexts& texts) = 0;
};
