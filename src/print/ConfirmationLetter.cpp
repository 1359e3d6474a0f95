#include "print/ConfirmationLetter.h"

#include "document/AmountInFigures.h"
#include "document/AmountInWords.h"
#include "print/PrintSurface.h"
#include "print/WrappedText.h"

#include <QLocale>
#include <QRectF>

const QString ConfirmationLetter::Font = QStringLiteral("Arial");

namespace {

QString trimmed(const CheckTexts& texts, Box box)
{
    return texts[box].trimmed();
}

QString longDate(const QDate& date)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(date, QStringLiteral("MMMM d, yyyy"));
}

// The amount as the cheque shows it, with its dollar sign: "$247.50".
QString amountText(const QString& figures)
{
    const std::optional<qint64> cents = AmountInFigures::read(figures);
    return cents ? AmountInFigures::write(*cents) : figures.trimmed();
}

// "one draft", "twelve drafts": the count in the words a person writes.
QString draftsText(int drafts)
{
    QString words = AmountInWords::write(qint64(drafts) * 100).section(QStringLiteral(" and "), 0, 0).toLower();
    if (words.isEmpty())
        words = QString::number(drafts);
    return words + (drafts == 1 ? QStringLiteral(" draft") : QStringLiteral(" drafts"));
}

} // namespace

QStringList ConfirmationLetter::lines(const Facts& facts)
{
    const MerchantDetails& merchant = facts.merchant;
    const AuthorizationRecord& authorization = facts.authorization;
    const CheckTexts& draft = facts.draft;
    QStringList letter{merchant.name.trimmed()};
    for (const QString& line : merchant.address.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        letter.append(line.trimmed());
    if (!merchant.phone.trimmed().isEmpty())
        letter.append(merchant.phone.trimmed());
    letter << QString() << longDate(facts.date) << QString();
    for (const Box box : {Box::PayorLine1, Box::PayorLine2, Box::PayorLine3}) {
        if (!trimmed(draft, box).isEmpty())
            letter.append(trimmed(draft, box));
    }
    const QString payor = trimmed(draft, Box::PayorLine1);
    letter << QString() << QStringLiteral("Confirmation of your authorization") << QString()
           << (payor.isEmpty() ? QStringLiteral("Dear customer,") : QStringLiteral("Dear %1,").arg(payor)) << QString()
           << QStringLiteral("On %1 you authorized %2 to draw a check on your account ending in %3 at %4 for %5 "
                             "payable to %6, dated %7, check number %8.")
                  .arg(longDate(authorization.authorizedAt.toLocalTime().date()), merchant.name.trimmed(),
                       facts.accountLastFour, trimmed(draft, Box::BankLine1), amountText(draft[Box::AmountInFigures]),
                       trimmed(draft, Box::Payee), trimmed(draft, Box::CheckDate), trimmed(draft, Box::CheckNumber))
           << QString() << QStringLiteral("Your authorization covers %1.").arg(draftsText(authorization.drafts))
           << QString()
           << QStringLiteral("If you have any questions about this check, call us at %1.")
                  .arg(merchant.phoneForQuestions())
           << QString() << QStringLiteral("Refund procedure: %1").arg(merchant.refundProcedure.simplified())
           << QString() << QStringLiteral("Sincerely,") << merchant.name.trimmed();
    return letter;
}

std::vector<QuickPrint::Overflow> ConfirmationLetter::compose(PrintSurface& surface, const Facts& facts)
{
    surface.setFontName(Font);
    surface.setFontBold(false);
    const double inch = surface.unitsPerInch();
    // From the sheet's edges to the printable area's.
    const QPointF origin = surface.printableOrigin();
    const double left = Margin * inch - origin.x();
    const double width = surface.sheetWidth() - 2 * Margin * inch;
    double y = Margin * inch - origin.y();

    std::vector<QuickPrint::Overflow> overflows;
    const QStringList letter = lines(facts);
    for (qsizetype k = 0; k < letter.size(); ++k) {
        // The heading, and the subject that comes after the payor's address, stand out.
        const bool heading = k == 0;
        const bool subject = letter[k] == QLatin1String("Confirmation of your authorization");
        surface.setFontSize(heading ? HeadingSize : FontSize);
        surface.setFontBold(heading || subject);
        for (const QString& line : WrappedText::lines(surface, letter[k], width)) {
            const double height = surface.lineHeight();
            if (y + height > surface.printableHeight()) {
                const QRectF place(left, y, surface.textWidth(line), height);
                overflows.push_back({QStringLiteral("Confirmation letter"), std::nullopt, line,
                                     (y + height - surface.printableHeight()) / inch, place, 0,
                                     QuickPrint::Edge::Bottom});
            } else if (!line.isEmpty()) {
                surface.drawText(left, y, line);
            }
            y += height;
        }
    }
    return overflows;
}

QString ConfirmationLetter::documentTitle(const Facts& facts)
{
    const QString number = facts.draft[Box::CheckNumber].trimmed();
    return number.isEmpty() ? QStringLiteral("Confirmation letter") : QStringLiteral("Confirmation of check ") + number;
}
