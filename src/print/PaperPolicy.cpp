#include "print/PaperPolicy.h"

QPageLayout PaperPolicy::fallbackLayout()
{
    return QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                       QPageLayout::Point);
}

bool PaperPolicy::isPlausiblePaper(double width, double length)
{
    const auto plausible = [](double inches) { return inches >= 3.0 && inches <= 17.0; };
    return plausible(width) && plausible(length);
}
