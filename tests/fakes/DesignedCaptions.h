#pragma once

#include "print/QuickPrint.h"

// The seven captions the printed cheque carries, as the window's labels hold them.
inline PrintedCaptions designedCaptions()
{
    return {QStringLiteral("Pay to the Order of"),   QStringLiteral("In the Amount of"),
            QStringLiteral("Payable in U.S. Funds"), QStringLiteral("NO SIGNATURE REQUIRED. "),
            QStringLiteral("Memo"),                  QStringLiteral("This is an Authorized"),
            QStringLiteral("and Requested Transaction.")};
}
