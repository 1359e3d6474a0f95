#pragma once

#include "document/AuthorizationRecord.h"
#include "register/DraftEvent.h"
#include "register/DraftRecorder.h"

#include <QString>
#include <vector>

// The register's sentences for the merchant.
namespace RegisterTexts {

// Asked before a draft that the register holds already is printed again,
// in words that follow how it went (printed, exported to a file, or
// perhaps printed): Check 1042 on the account ending in 6789 was already
// printed on 12/01/2026 (job 17 on "Office") for 1,234.56 to "Acme
// Supplies LLC". Print it again?
QString duplicateQuestion(const EarlierDraft& earlier);

// The amount box's mark for a draft of the same amount on the same account
// with another check number, naming the earlier draft; and what a print
// asks when another program recorded that draft after the merchant pressed Print.
QString sameAmountMark(const EarlierDraft& earlier);
QString sameAmountQuestion(const EarlierDraft& earlier);

// The account box's mark, and what Quick Print asks, for a draft on an
// account that returned one as not authorized, stopped or closed:
// A draft on the account ending in 6789 came back "Not authorized" on
// 12/03/2026. Print this one?
QString accountReturnMark(const AccountReturn& returned);
QString accountReturnQuestion(const AccountReturn& returned);

// Asked when the register cannot record a print.
QString printWithoutRecording(const QString& reason);

// What the authorization dialog shows for a sale that federal rules forbid
// such drafts for, and what Quick Print asks before such a draft.
QString telemarketingWarning();
QString telemarketingQuestion();

// Why a draft went without an authorization record, as its history says.
QString withoutRecordChosen();
QString offerTurnedOff();

// The marks of a draft whose authorization names another amount or payee,
// and of the next draft on an account whose authorized drafts have all
// been printed.
QString authorizedAmountMark(const AuthorizationRecord& authorization);
QString authorizedPayeeMark(const AuthorizationRecord& authorization);
// The mark of a check dated before the day it was authorized.
QString datedBeforeAuthorizationMark(const AuthorizationRecord& authorization);
QString usedAuthorizationMark(const UsedAuthorization& used);
// What a print asks when another program sent its authorization's last draft meanwhile.
QString usedAuthorizationQuestion(const UsedAuthorization& used);

// The choices of the authorization dialog, as it lists them.
QString givenName(AuthorizationRecord::Given given);
QString saleName(AuthorizationRecord::Sale sale);
// A draft's authorization in one paragraph, for the register window; what
// it says of a draft without one.
QString authorizationSummary(const AuthorizationRecord& authorization);
QString noAuthorizationSummary();

// "Printed", "Not printed"...
QString statusName(DraftStatus status);
QString eventName(DraftEventKind kind);

// A change as a withdrawal names it: "Deposited on 12/07/2026".
QString changeText(const RecordedEvent& recorded);
// One line of a draft's history: when it was recorded, what happened and on
// which day; a re-presentment counted, a withdrawn change marked, and the
// seat that wrote it when that is another than `thisSeat` (a register seats
// share; none: every seat is named). `history` is the whole history that
// `recorded` belongs to.
QString historyLine(const RecordedEvent& recorded, const std::vector<RecordedEvent>& history, const QString& thisSeat);

// A register time as the window and the questions show it, in local time.
QString dateText(const QDateTime& time);     // 12/01/2026
QString dateTimeText(const QDateTime& time); // 12/01/2026 2:05 PM

} // namespace RegisterTexts
