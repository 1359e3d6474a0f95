#include "print/TextPage.h"

#include "print/ConfirmationLetter.h"
#include "print/PrintSurface.h"
#include "print/WrappedText.h"

int TextPage::compose(PrintSurface& surface, const QString& heading, const QStringList& paragraphs)
{
    // The letter's font and margins: what the merchant sends and what the bank reads look alike.
    surface.setFontName(ConfirmationLetter::Font);
    const double inch = surface.unitsPerInch();
    const QPointF origin = surface.printableOrigin();
    const double left = ConfirmationLetter::Margin * inch - origin.x();
    const double width = surface.sheetWidth() - 2 * ConfirmationLetter::Margin * inch;
    double y = ConfirmationLetter::Margin * inch - origin.y();
    int leftOut = 0;
    QStringList page{heading, QString()};
    page += paragraphs;
    for (qsizetype k = 0; k < page.size(); ++k) {
        surface.setFontSize(k == 0 ? ConfirmationLetter::HeadingSize : ConfirmationLetter::FontSize);
        surface.setFontBold(k == 0);
        for (const QString& line : WrappedText::lines(surface, page[k], width)) {
            const double height = surface.lineHeight();
            if (y + height > surface.printableHeight())
                ++leftOut;
            else if (!line.isEmpty())
                surface.drawText(left, y, line);
            y += height;
        }
    }
    return leftOut;
}
