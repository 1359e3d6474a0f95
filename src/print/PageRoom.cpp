#include "print/PageRoom.h"

#include "print/PageBuilder.h"
#include "print/PageFit.h"
#include "print/Printing.h"

#include <QStringList>
#include <algorithm>

namespace {

const CheckTexts DesignedCheck = {QStringLiteral("Maria L. Gonzalez"),
                                  QStringLiteral("1457 Alder Court"),
                                  QStringLiteral("Fresno, CA 93701"),
                                  QStringLiteral("Valley Community Bank"),
                                  QStringLiteral("Fresno, CA"),
                                  QStringLiteral("2318"),
                                  QStringLiteral("Sunrise Garden Supply"),
                                  QStringLiteral("Two hundred forty-seven and 50/100"),
                                  QStringLiteral("$247.50"),
                                  QStringLiteral("12/08/2026"),
                                  QStringLiteral("A021000021A"),
                                  QStringLiteral("123456789C"),
                                  QStringLiteral("2318"),
                                  QStringLiteral("Spring order")};

QString side(const QString& edge, double inches)
{
    if (inches >= 0)
        return QStringLiteral("%1 %2 in").arg(edge, QString::number(inches, 'f', 2));
    // Past an edge is at least a hundredth of an inch past it, as a refusal says.
    return QStringLiteral("%1 %2 in past the edge").arg(edge, QString::number(std::max(-inches, 0.01), 'f', 2));
}

} // namespace

PageRoom PageRoom::of(const QPageLayout& layout, const PageSetup& setup, const PrintedCaptions& captions)
{
    const Printing::Composed page = Printing::compose(layout, QuickPrint::page(DesignedCheck, captions, setup));
    const QSizeF printable = layout.paintRectPixels(PageBuilder::Resolution).size();
    const double inch = PageBuilder::Resolution;
    return {page.extent.left() / inch, page.extent.top() / inch, (printable.width() - page.extent.right()) / inch,
            (printable.height() - page.extent.bottom()) / inch};
}

QString PageRoom::describe(const QPageLayout& layout) const
{
    QString text =
        QStringLiteral("With these offsets a check with a short date such as 12/08/2026 keeps this much "
                       "room at the edges of %1 paper: %2, %3, %4, %5.")
            .arg(PageFit::paperName(layout), side(QStringLiteral("left"), left), side(QStringLiteral("top"), top),
                 side(QStringLiteral("right"), right), side(QStringLiteral("bottom"), bottom));
    if (std::min({left, top, right, bottom}) < 0)
        text += QStringLiteral(" Make the offset smaller, or Quick Print will not print the check.");
    return text;
}
