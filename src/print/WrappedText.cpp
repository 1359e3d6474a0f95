#include "print/WrappedText.h"

#include "print/PrintSurface.h"

QStringList WrappedText::lines(PrintSurface& surface, const QString& text, double width)
{
    QStringList lines;
    QString current;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (surface.textWidth(longer) <= width) {
            current = longer;
            continue;
        }
        if (!current.isEmpty())
            lines.append(current);
        current = word;
        while (surface.textWidth(current) > width && current.size() > 1) {
            qsizetype fits = current.size() - 1;
            while (fits > 1 && surface.textWidth(current.left(fits)) > width)
                --fits;
            lines.append(current.left(fits));
            current = current.mid(fits);
        }
    }
    lines.append(current);
    return lines;
}
