#pragma once

#include "register/DraftEvent.h"

#include <QDate>
#include <QString>
#include <optional>

// A draft's life as the bank sees it: printed (or exported, or uncertain),
// then deposited, then paid or returned; a returned draft may be
// re-presented and is paid or returned again. Void only before a deposit.
// The merchant's latest change can be withdrawn. Says which change may
// follow which status, and why not.
class DraftLifecycle {
public:
    enum class Change { Void, Deposit, Pay, Return, Represent, Withdraw };

    // Why `change` does not apply to a draft of `status`, as a sentence for
    // the merchant; nothing when it applies.
    static std::optional<QString> refusal(DraftStatus status, Change change);

    // Why a change cannot be dated `day`: after `today`, or before `since`,
    // the day of the draft's latest status. Nothing when the day will do.
    static std::optional<QString> dayRefusal(const QDate& day, const QDate& since, const QDate& today);

    // The event a change appends (Withdraw: a withdrawal).
    static DraftEventKind kindOf(Change change);
};
