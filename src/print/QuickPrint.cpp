#include "print/QuickPrint.h"

#include "platform/MessageBoxService.h"
#include "print/PrintSurface.h"

#include <initializer_list>

const QString QuickPrint::Confirmation = QStringLiteral("Quillo Has Been Sent To The Printer!");
const QString QuickPrint::TextFont = QStringLiteral("Arial");
const QString QuickPrint::MicrFont = QStringLiteral("MICR 013 BT");

namespace {

// An item of a printed line: its text starts at the left edge of `column`.
struct Item {
    int column;
    QString text;
};

// Places text line by line on the surface, keeping the print position.
// Columns are as wide as the average character of the font current when an
// item is placed, and lines as high as that font's line.
class LineComposer {
public:
    explicit LineComposer(PrintSurface& surface) : m_surface(surface) {}

    void printLine(std::initializer_list<Item> items)
    {
        for (const Item& item : items)
            place(item);
        endLine();
    }

    void emptyLines(int count)
    {
        for (int i = 0; i < count; ++i)
            endLine();
    }

private:
    void place(const Item& item)
    {
        const double edge = (item.column - 1) * m_surface.averageCharWidth();
        // A line is never overprinted: an item whose column the previous item
        // has already passed goes to its column on the next line.
        if (m_x > edge)
            endLine();
        m_x = edge;
        if (item.text.isEmpty())
            return;
        m_surface.drawText(m_x, m_y, item.text);
        m_x += m_surface.textWidth(item.text);
    }

    void endLine()
    {
        m_x = 0;
        m_y += m_surface.lineHeight();
    }

    PrintSurface& m_surface;
    double m_x = 0;
    double m_y = 0;
};

const QString& text(const CheckTexts& texts, int number)
{
    return texts[static_cast<std::size_t>(number - 1)];
}

} // namespace

void QuickPrint::run(const CheckTexts& texts, const PrintedCaptions& captions, PrintSurface& surface,
                     MessageBoxService& messages)
{
    surface.setFontName(TextFont);
    surface.setFontSize(TextFontSize);
    surface.setFontBold(true);

    LineComposer page(surface);
    page.emptyLines(1);
    page.printLine({{3, text(texts, 1)}, {60, text(texts, 4)}, {110, text(texts, 6)}});
    page.printLine({{3, text(texts, 2)}, {60, text(texts, 5)}});
    page.printLine({{3, text(texts, 3)}, {110, text(texts, 10)}});
    page.emptyLines(1);
    page.printLine({{5, captions.Label4}, {28, text(texts, 7)}, {85, captions.Label8}});
    page.printLine({{5, captions.Label5}, {28, text(texts, 8)}, {85, text(texts, 9)}});
    page.emptyLines(3);
    page.printLine({{10, captions.Label10}, {22, text(texts, 14)}, {85, captions.Label9}});
    page.printLine({{85, captions.Label11}});
    page.printLine({{85, captions.Label12}});
    page.emptyLines(2);

    // Bold stays on for the MICR line: nothing turns it off.
    surface.setFontName(MicrFont);
    surface.setFontSize(MicrFontSize);
    page.printLine({{10, text(texts, 11)}, {25, text(texts, 12)}, {45, text(texts, 13)}});

    surface.endDoc();
    messages.show(Confirmation);
}
