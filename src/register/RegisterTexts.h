#pragma once

#include "register/DraftEvent.h"
#include "register/DraftRecorder.h"

#include <QString>

// The register's sentences for the merchant.
namespace RegisterTexts {

// Asked before a draft that the register holds already is printed again:
// Check 1042 on the account ending in 6789 was already printed on 12/01/2026
// for 1234.56 to "Acme Supplies LLC". Print it again?
QString duplicateQuestion(const EarlierDraft& earlier);

// The amount box's mark for a draft of the same amount on the same account
// with another check number, naming the earlier draft.
QString sameAmountMark(const EarlierDraft& earlier);

// Asked when the register cannot record a print.
QString printWithoutRecording(const QString& reason);

// "Printed", "Not printed"...
QString statusName(DraftStatus status);
QString eventName(DraftEventKind kind);

// A register time as the window and the questions show it, in local time.
QString dateText(const QDateTime& time);     // 12/01/2026
QString dateTimeText(const QDateTime& time); // 12/01/2026 2:05 PM

} // namespace RegisterTexts
