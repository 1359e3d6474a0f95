#include "platform/DefaultPrinter.h"

QPageLayout DefaultPrinter::fallbackLayout()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                       QPageLayout::Point);
}
