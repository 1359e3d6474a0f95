#include "register/RegisterTexts.h"

#include "register/ReturnReason.h"

QString RegisterTexts::duplicateQuestion(const EarlierDraft& earlier)
{
    // A draft printed without an amount or a payee is named by what it has.
    const QString amount = earlier.amount.isEmpty() ? QString() : QStringLiteral(" for ") + earlier.amount;
    const QString payee =
        earlier.payee.isEmpty() ? QString() : QStringLiteral(" to \"") + earlier.payee + QLatin1Char('"');
    const QString day = dateText(earlier.recorded);
    const QString job = earlier.jobId.isEmpty()
                            ? QString()
                            : QStringLiteral("job %1 on \"%2\"").arg(earlier.jobId, earlier.destination);
    QString how;
    switch (earlier.sent) {
    case DraftStatus::Exported:
        how = QStringLiteral("was exported to \"%1\" on %2").arg(earlier.destination, day);
        break;
    case DraftStatus::Uncertain:
        how = QStringLiteral("may have been printed on %1 (the print service did not say%2)")
                  .arg(day, job.isEmpty() ? QString() : QStringLiteral("; ") + job);
        break;
    default:
        how = QStringLiteral("was already printed on %1%2")
                  .arg(day, job.isEmpty() ? QString() : QStringLiteral(" (") + job + QLatin1Char(')'));
        break;
    }
    return QStringLiteral("Check %1 on the account ending in %2 %3%4%5. Print it again?")
        .arg(earlier.checkNumber, earlier.accountLastFour, how, amount, payee);
}

QString RegisterTexts::sameAmountMark(const EarlierDraft& earlier)
{
    return QStringLiteral("Check %1 for the same amount on the account ending in %2 was printed on %3 to \"%4\".")
        .arg(earlier.checkNumber, earlier.accountLastFour, dateText(earlier.recorded), earlier.payee);
}

QString RegisterTexts::sameAmountQuestion(const EarlierDraft& earlier)
{
    return sameAmountMark(earlier) + QStringLiteral(" Print this one?");
}

QString RegisterTexts::accountReturnMark(const AccountReturn& returned)
{
    return QStringLiteral("A draft on the account ending in %1 came back \"%2\" on %3.")
        .arg(returned.accountLastFour, ReturnReasons::name(returned.reason),
             returned.returnedOn.toString(QStringLiteral("MM/dd/yyyy")));
}

QString RegisterTexts::accountReturnQuestion(const AccountReturn& returned)
{
    return accountReturnMark(returned) + QStringLiteral(" Print this one?");
}

QString RegisterTexts::printWithoutRecording(const QString& reason)
{
    return QStringLiteral("The draft register cannot be written: %1. Print without recording it?").arg(reason);
}

QString RegisterTexts::statusName(DraftStatus status)
{
    switch (status) {
    case DraftStatus::Printed:
        return QStringLiteral("Printed");
    case DraftStatus::Exported:
        return QStringLiteral("Exported");
    case DraftStatus::NotPrinted:
        return QStringLiteral("Not printed");
    case DraftStatus::Voided:
        return QStringLiteral("Voided");
    case DraftStatus::Deposited:
        return QStringLiteral("Deposited");
    case DraftStatus::Returned:
        return QStringLiteral("Returned");
    case DraftStatus::Paid:
        return QStringLiteral("Paid");
    case DraftStatus::Represented:
        return QStringLiteral("Re-presented");
    case DraftStatus::Uncertain:
        break;
    }
    return QStringLiteral("Uncertain");
}

QString RegisterTexts::eventName(DraftEventKind kind)
{
    switch (kind) {
    case DraftEventKind::Note:
        return QStringLiteral("Note");
    case DraftEventKind::NoAuthorization:
        return QStringLiteral("No authorization record");
    case DraftEventKind::LetterSent:
        return QStringLiteral("Confirmation letter sent");
    case DraftEventKind::Withdrawal:
        return QStringLiteral("Withdrawn");
    case DraftEventKind::ClaimPackage:
        return QStringLiteral("Claim package exported");
    default:
        break;
    }
    return statusName(DraftEvent::statusOf(kind));
}

QString RegisterTexts::dateText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("MM/dd/yyyy"));
}

QString RegisterTexts::dateTimeText(const QDateTime& time)
{
    return time.toLocalTime().toString(QStringLiteral("MM/dd/yyyy h:mm AP"));
}

QString RegisterTexts::telemarketingWarning()
{
    return QStringLiteral("Federal telemarketing rules (16 CFR 310.4(a)(9)) do not allow a draft like this as payment "
                          "in a telemarketing sale to a consumer.");
}

QString RegisterTexts::telemarketingQuestion()
{
    return QStringLiteral(
        "This draft pays for a telemarketing sale to a consumer, which federal rules do not allow. Print it anyway?");
}

QString RegisterTexts::withoutRecordChosen()
{
    return QStringLiteral("The merchant chose Print Without Record.");
}

QString RegisterTexts::offerTurnedOff()
{
    return QStringLiteral("The offer of an authorization record is turned off.");
}

QString RegisterTexts::authorizedAmountMark(const AuthorizationRecord& authorization)
{
    if (authorization.amount.trimmed().isEmpty())
        return QStringLiteral("The customer's authorization names no amount.");
    return QStringLiteral("The customer authorized %1, not this amount.").arg(authorization.amount.trimmed());
}

QString RegisterTexts::datedBeforeAuthorizationMark(const AuthorizationRecord& authorization)
{
    return QStringLiteral("The check is dated before its authorization of %1.")
        .arg(dateText(authorization.authorizedAt));
}

QString RegisterTexts::authorizedPayeeMark(const AuthorizationRecord& authorization)
{
    if (authorization.payee.trimmed().isEmpty())
        return QStringLiteral("The customer's authorization names no payee.");
    return QStringLiteral("The customer authorized a check to \"%1\", not to this payee.")
        .arg(authorization.payee.trimmed());
}

QString RegisterTexts::usedAuthorizationMark(const UsedAuthorization& used)
{
    const QString drafts = used.drafts == 1 ? QStringLiteral("1 draft") : QStringLiteral("%1 drafts").arg(used.drafts);
    const QString sent =
        used.sent == 1 ? QStringLiteral("1 has been printed") : QStringLiteral("%1 have been printed").arg(used.sent);
    return QStringLiteral("The authorization of %1 on the account ending in %2 was for %3, and %4: this draft needs "
                          "an authorization of its own.")
        .arg(dateText(used.authorizedAt), used.accountLastFour, drafts, sent);
}

QString RegisterTexts::usedAuthorizationQuestion(const UsedAuthorization& used)
{
    return usedAuthorizationMark(used) + QStringLiteral(" Print this one?");
}

QString RegisterTexts::givenName(AuthorizationRecord::Given given)
{
    switch (given) {
    case AuthorizationRecord::Given::SignedForm:
        return QStringLiteral("Signed authorization on file");
    case AuthorizationRecord::Given::RecordedCall:
        return QStringLiteral("Recorded phone call");
    case AuthorizationRecord::Given::WrittenConfirmation:
        return QStringLiteral("Written confirmation sent");
    case AuthorizationRecord::Given::Other:
        break;
    }
    return QStringLiteral("Other");
}

QString RegisterTexts::saleName(AuthorizationRecord::Sale sale)
{
    switch (sale) {
    case AuthorizationRecord::Sale::CustomerCalled:
        return QStringLiteral("The customer called us, not in answer to our advertising");
    case AuthorizationRecord::Sale::OurSalesCall:
        return QStringLiteral("A sales call we made");
    case AuthorizationRecord::Sale::AnsweredAdvertising:
        return QStringLiteral("The customer answered our advertising by phone");
    case AuthorizationRecord::Sale::Online:
        return QStringLiteral("Online");
    case AuthorizationRecord::Sale::InPerson:
        return QStringLiteral("In person");
    case AuthorizationRecord::Sale::BusinessToBusiness:
        return QStringLiteral("Business to business");
    case AuthorizationRecord::Sale::ExistingAccount:
        break;
    }
    return QStringLiteral("Payment of an existing account");
}

QString RegisterTexts::authorizationSummary(const AuthorizationRecord& authorization)
{
    QString who = authorization.authorizedBy;
    if (!authorization.phone.isEmpty())
        who += QStringLiteral(" (%1)").arg(authorization.phone);
    const QString drafts =
        authorization.drafts == 1 ? QStringLiteral("1 draft") : QStringLiteral("%1 drafts").arg(authorization.drafts);
    QString text = QStringLiteral("Authorized by %1 on %2: %3. Sale: %4. For %5 to \"%6\", %7.")
                       .arg(who, dateTimeText(authorization.authorizedAt), givenName(authorization.given).toLower(),
                            saleName(authorization.sale).toLower(), authorization.amount, authorization.payee, drafts);
    if (authorization.hasProof())
        text += QStringLiteral(" Proof: %1, SHA-256 %2.")
                    .arg(authorization.proofFile, QString::fromLatin1(authorization.proofSha256.toHex()));
    return text;
}

QString RegisterTexts::noAuthorizationSummary()
{
    return QStringLiteral("No authorization record.");
}

QString RegisterTexts::changeText(const RecordedEvent& recorded)
{
    QString text = eventName(recorded.event.kind);
    if (recorded.event.effective.isValid())
        text += QStringLiteral(" on ") + recorded.event.effective.toString(QStringLiteral("MM/dd/yyyy"));
    return text;
}

QString RegisterTexts::historyLine(const RecordedEvent& recorded, const std::vector<RecordedEvent>& history,
                                   const QString& thisSeat)
{
    const DraftEvent& event = recorded.event;
    QString line = dateTimeText(recorded.time) + QStringLiteral("  ") + changeText(recorded);
    if (event.kind == DraftEventKind::Represented) {
        int count = 0;
        for (const RecordedEvent& earlier : history) {
            if (earlier.event.kind == DraftEventKind::Represented && !earlier.withdrawn)
                ++count;
            if (&earlier == &recorded)
                break;
        }
        line += QStringLiteral(" (re-presentment %1)").arg(count);
    }
    if (!event.jobId.isEmpty())
        line += QStringLiteral(" (job %1)").arg(event.jobId);
    if (event.kind == DraftEventKind::Withdrawal) {
        for (const RecordedEvent& withdrawn : history) {
            if (withdrawn.id == event.withdraws)
                line += QStringLiteral(": ") + changeText(withdrawn);
        }
    }
    if (event.reason && *event.reason != ReturnReason::Other)
        line += QStringLiteral(": ") + ReturnReasons::name(*event.reason);
    else if (!event.text.isEmpty() &&
             (event.kind == DraftEventKind::Deposited || event.kind == DraftEventKind::Represented))
        line += QStringLiteral(", deposit ") + event.text;
    else if (!event.text.isEmpty())
        line += QStringLiteral(": ") + event.text;
    if (recorded.withdrawn)
        line += QStringLiteral(" (withdrawn)");
    if (!recorded.seat.isEmpty() && recorded.seat != thisSeat)
        line += QStringLiteral(" (by %1)").arg(recorded.seat);
    return line;
}
