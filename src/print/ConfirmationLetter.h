#pragma once

#include "document/AuthorizationRecord.h"
#include "document/CheckRecord.h"
#include "print/MerchantDetails.h"
#include "print/QuickPrint.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

class PrintSurface;

// The written confirmation of a draft that the merchant sends the payor
// before depositing it: one page with the merchant's name, address and
// phone, the date, the payor's name and address, what the payor authorized
// (the account, bank, amount, payee, date and number of the check), the
// number of drafts authorized, the phone number for questions and the
// merchant's refund procedure. State laws on checks drawn by phone accept
// such a letter as proof of the authorization.
class ConfirmationLetter {
public:
    struct Facts {
        MerchantDetails merchant;
        CheckTexts draft;
        QString accountLastFour;
        AuthorizationRecord authorization;
        QDate date; // the letter's
    };

    static const QString Font;
    static constexpr double FontSize = 11;
    static constexpr double HeadingSize = 14;
    // The text stands this far from every edge of the sheet, in inches.
    static constexpr double Margin = 1;

    // The letter's lines before they are wrapped to the page: empty ones
    // stand between its parts. The first is the heading.
    static QStringList lines(const Facts& facts);
    // Lays the letter out on `surface`; returns the lines that would run
    // past the bottom of the printable area, which are not drawn.
    static std::vector<QuickPrint::Overflow> compose(PrintSurface& surface, const Facts& facts);
    // The PDF document's title: "Confirmation of check 1042".
    static QString documentTitle(const Facts& facts);
};
