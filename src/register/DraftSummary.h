#pragma once

#include "register/DraftEvent.h"
#include "register/DraftRecord.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// One draft as the register's list shows it. The payor stays sealed until
// DraftRegister::payor opens it, so that a long list comes up at once.
struct DraftSummary {
    DraftId id = 0;
    qint64 recordedAt = 0;  // milliseconds since 1970 UTC
    qint64 lastEventAt = 0; // its latest event's; only the drafts past keeping have it
    QString checkNumber;    // Text6, without its trailing spaces
    QString payee;
    QString amount;
    std::optional<qint64> amountCents;
    DraftStatus status = DraftStatus::Uncertain;
    SentDraft::Kind kind = SentDraft::Kind::QuickPrint;
    QString destinationName;
    QString accountLastFour;
    DraftId reprintOf = 0; // the draft of the same check it was printed again after; 0 for none

    QString uid;
    QByteArray sealedPayor;
};

// Everything the register holds of one draft.
struct DraftDetails {
    DraftId id = 0;
    QDateTime recorded;          // UTC
    QString recordedBy;          // the seat, "ann@desk-2"; empty in registers of before
    DraftRecord record;          // with reprintOf
    QDateTime reprintOfRecorded; // when the draft it was printed again after was recorded
    DraftStatus status = DraftStatus::Uncertain;
    QDate statusDay;                    // the day of the status, its recording's without one
    std::vector<RecordedEvent> history; // oldest first, withdrawn events included
    // Some sealed value did not open: it reads DraftRegister::DamagedValue.
    bool damaged = false;
};
