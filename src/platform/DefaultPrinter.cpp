#include "platform/DefaultPrinter.h"

#include "platform/QuilloError.h"

QPageLayout DefaultPrinter::fallbackLayout()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                       QPageLayout::Point);
}

QPageLayout DefaultPrinter::currentLayout()
{
    try {
        return find()->pageLayout();
    } catch (const QuilloError&) {
        return fallbackLayout();
    }
}
