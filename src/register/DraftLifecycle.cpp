#include "register/DraftLifecycle.h"

namespace {

bool beforeDeposit(DraftStatus status)
{
    return status == DraftStatus::Printed || status == DraftStatus::Exported || status == DraftStatus::Uncertain;
}

bool withTheBank(DraftStatus status)
{
    return status == DraftStatus::Deposited || status == DraftStatus::Represented;
}

// What stands in the way of every change but the ones a status allows.
QString standing(DraftStatus status)
{
    switch (status) {
    case DraftStatus::NotPrinted:
        return QStringLiteral("The draft was not printed.");
    case DraftStatus::Voided:
        return QStringLiteral("The draft is voided.");
    case DraftStatus::Paid:
        return QStringLiteral("The draft is paid.");
    case DraftStatus::Deposited:
    case DraftStatus::Represented:
        return QStringLiteral("The draft is with the bank.");
    case DraftStatus::Returned:
        return QStringLiteral("The draft came back from the bank.");
    case DraftStatus::Printed:
    case DraftStatus::Exported:
    case DraftStatus::Uncertain:
        break;
    }
    return QStringLiteral("The draft has not been deposited.");
}

} // namespace

std::optional<QString> DraftLifecycle::refusal(DraftStatus status, Change change)
{
    switch (change) {
    case Change::Void:
        if (beforeDeposit(status))
            return std::nullopt;
        if (status == DraftStatus::Voided || status == DraftStatus::NotPrinted)
            return standing(status);
        return QStringLiteral("Only a draft not yet deposited can be voided.");
    case Change::Deposit:
        if (beforeDeposit(status))
            return std::nullopt;
        if (status == DraftStatus::Returned)
            return QStringLiteral("The draft came back from the bank: mark it Re-presented when it goes again.");
        return standing(status);
    case Change::Pay:
    case Change::Return:
        if (withTheBank(status))
            return std::nullopt;
        if (beforeDeposit(status))
            return QStringLiteral("The draft has not been deposited.");
        if (status == DraftStatus::Returned)
            return QStringLiteral("The draft came back from the bank: mark it Re-presented first if it went again.");
        return standing(status);
    case Change::Represent:
        if (status == DraftStatus::Returned)
            return std::nullopt;
        return QStringLiteral("Only a draft that came back from the bank can be re-presented.");
    case Change::Withdraw:
        if (!beforeDeposit(status) && status != DraftStatus::NotPrinted)
            return std::nullopt;
        return QStringLiteral("There is no change to withdraw: the draft's status comes from its print.");
    }
    return standing(status);
}

std::optional<QString> DraftLifecycle::dayRefusal(const QDate& day, const QDate& since, const QDate& today)
{
    if (!day.isValid())
        return QStringLiteral("The date is not a date.");
    if (day > today)
        return QStringLiteral("The date cannot be later than today.");
    if (since.isValid() && day < since)
        return QStringLiteral("The date cannot be before %1, the date of the draft's latest status.")
            .arg(since.toString(QStringLiteral("MM/dd/yyyy")));
    return std::nullopt;
}

DraftEventKind DraftLifecycle::kindOf(Change change)
{
    switch (change) {
    case Change::Void:
        return DraftEventKind::Voided;
    case Change::Deposit:
        return DraftEventKind::Deposited;
    case Change::Pay:
        return DraftEventKind::Paid;
    case Change::Return:
        return DraftEventKind::Returned;
    case Change::Represent:
        return DraftEventKind::Represented;
    case Change::Withdraw:
        break;
    }
    return DraftEventKind::Withdrawal;
}
