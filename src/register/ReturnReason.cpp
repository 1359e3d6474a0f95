#include "register/ReturnReason.h"

#include <array>

namespace {

struct ReasonEntry {
    ReturnReason reason;
    const char* code; // part of the register file: never rename one
    const char* name;
};

constexpr std::array<ReasonEntry, 12> Reasons = {{
    {ReturnReason::InsufficientFunds, "insufficient-funds", "Insufficient funds"},
    {ReturnReason::UncollectedFunds, "uncollected-funds", "Uncollected funds"},
    {ReturnReason::StopPayment, "stop-payment", "Stop payment"},
    {ReturnReason::AccountClosed, "account-closed", "Account closed"},
    {ReturnReason::NoAccount, "no-account", "No account / unable to locate"},
    {ReturnReason::AccountFrozen, "account-frozen", "Account frozen"},
    {ReturnReason::StaleDated, "stale-dated", "Stale dated"},
    {ReturnReason::PostDated, "post-dated", "Post dated"},
    {ReturnReason::ReferToMaker, "refer-to-maker", "Refer to maker"},
    {ReturnReason::NotAuthorized, "not-authorized", "Not authorized"},
    {ReturnReason::AlteredOrFictitious, "altered-or-fictitious", "Altered or fictitious"},
    {ReturnReason::Other, "other", "Other"},
}};

const ReasonEntry& entryOf(ReturnReason reason)
{
    for (const ReasonEntry& entry : Reasons) {
        if (entry.reason == reason)
            return entry;
    }
    return Reasons.back();
}

} // namespace

const std::vector<ReturnReason>& ReturnReasons::all()
{
    static const std::vector<ReturnReason> reasons = [] {
        std::vector<ReturnReason> list;
        for (const ReasonEntry& entry : Reasons)
            list.push_back(entry.reason);
        return list;
    }();
    return reasons;
}

QString ReturnReasons::name(ReturnReason reason)
{
    return QString::fromLatin1(entryOf(reason).name);
}

QString ReturnReasons::code(ReturnReason reason)
{
    return QString::fromLatin1(entryOf(reason).code);
}

std::optional<ReturnReason> ReturnReasons::fromCode(const QString& code)
{
    for (const ReasonEntry& entry : Reasons) {
        if (code == QLatin1String(entry.code))
            return entry.reason;
    }
    return std::nullopt;
}

bool ReturnReasons::refusesAccount(ReturnReason reason)
{
    return reason == ReturnReason::NotAuthorized || reason == ReturnReason::StopPayment ||
           reason == ReturnReason::AccountClosed;
}
