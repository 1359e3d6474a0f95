#include "print/PageFit.h"

#include "print/Printing.h"

#include <QStringList>

QString PageFit::paperName(const QPageLayout& layout)
{
    switch (layout.pageSize().id()) {
    case QPageSize::Letter:
        return QStringLiteral("US Letter");
    case QPageSize::Legal:
        return QStringLiteral("US Legal");
    default:
        return layout.pageSize().name();
    }
}

PerBox<QString> PageFit::reasons(const CheckTexts& texts, const PrintedCaptions& captions, const PageSetup& setup,
                                 const QPageLayout& layout)
{
    const Printing::Composed page = Printing::compose(layout, QuickPrint::page(texts, captions, setup));
    PerBox<std::vector<QuickPrint::Overflow>> found;
    for (const QuickPrint::Overflow& overflow : page.overflows) {
        if (overflow.box)
            found[*overflow.box].push_back(overflow);
    }
    const double pageInches = layout.paintRect(QPageLayout::Inch).width();
    PerBox<QString> reasons;
    for (Box box : AllBoxes) {
        if (found[box].empty())
            continue;
        QStringList sentences;
        for (const QuickPrint::Overflow& overflow : found[box])
            sentences.append(QuickPrint::overflowSentence(overflow));
        sentences.append(QuickPrint::advice(found[box], pageInches));
        reasons[box] = QStringLiteral("The check will not print on %1 paper: ").arg(paperName(layout)) +
                       sentences.join(QLatin1Char(' '));
    }
    return reasons;
}
