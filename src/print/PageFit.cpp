#include "print/PageFit.h"

#include "print/Printing.h"

#include <QStringList>

#include <cmath>

QString PageFit::paperName(const QPageLayout& layout)
{
    const QPageSize size = layout.pageSize();
    switch (size.id()) {
    case QPageSize::Letter:
        return QStringLiteral("US Letter");
    case QPageSize::Legal:
        return QStringLiteral("US Legal");
    case QPageSize::A3:
    case QPageSize::A4:
    case QPageSize::A5:
    case QPageSize::A6:
    case QPageSize::B4:
    case QPageSize::B5:
        return size.name();
    default:
        break;
    }
    // Any other paper by its size, as a ruler measures it: "8.5 × 3 in".
    const QSizeF inches = layout.fullRect(QPageLayout::Inch).size();
    const auto measure = [](double value) { return QString::number(std::round(value * 100) / 100); };
    return QStringLiteral("%1 \u00d7 %2 in").arg(measure(inches.width()), measure(inches.height()));
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
