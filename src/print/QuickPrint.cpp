#include "print/QuickPrint.h"

#include "document/BoxNames.h"
#include "print/CheckStock.h"
#include "print/PrintSurface.h"

#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <vector>

const QString QuickPrint::Confirmation = QStringLiteral("Quillo Has Been Sent To The Printer!");
const QString QuickPrint::TextFont = QStringLiteral("Arial");
const QString QuickPrint::MicrFont = QStringLiteral("MICR 013 BT");

namespace {

// An item of a printed line: its text starts at the left edge of `column`.
// `name` says what the item is in a message: a box's name for a value, empty
// for a caption, which speaks for itself. `box` is the value's box, none for a caption.
struct Item {
    int column;
    QString text;
    QString name;
    std::optional<Box> box;
};

// The printable width below which Letter paper would help: Letter less the
// quarter-inch margins drivers commonly keep, with some room for others.
// A4 under the same margins is 0.23 inch narrower.
constexpr double LetterPrintableInches = 7.9;

// Places text line by line on the surface, keeping the print position.
// Columns are as wide as the average character of the font current when an
// item is placed, and lines as high as that font's line.
//
// Everything is drawn moved by `shift`, the page setup's offsets; the print
// position itself is kept where the layout puts it.
class LineComposer {
public:
    LineComposer(PrintSurface& surface, QPointF shift) : m_surface(surface), m_shift(shift) {}

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

    std::vector<QuickPrint::Overflow>& overflows() { return m_overflows; }
    // Every item drawn so far, where it stands on the page.
    const std::vector<QRectF>& drawn() const { return m_drawn; }

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
        m_surface.drawText(m_x + m_shift.x(), m_y + m_shift.y(), item.text);
        const QRectF box(m_x + m_shift.x(), m_y + m_shift.y(), m_surface.textWidth(item.text), m_surface.lineHeight());
        m_x += box.width();
        m_drawn.push_back(box);
        // Drawn text stays on the surface until the document ends, so an item
        // that does not fit can still stop the whole page from printing.
        const double past = box.right() - m_surface.printableWidth();
        if (past > 0)
            m_overflows.push_back({item.name, item.box, item.text, past / m_surface.unitsPerInch(), box});
    }

    void endLine()
    {
        m_x = 0;
        m_y += m_surface.lineHeight();
    }

    PrintSurface& m_surface;
    QPointF m_shift;
    double m_x = 0;
    double m_y = 0;
    std::vector<QuickPrint::Overflow> m_overflows;
    std::vector<QRectF> m_drawn;
};

// The page setup's offsets in surface units. Without offsets the surface is
// not asked for its units, so such a page is composed exactly as ever.
QPointF shiftOf(const PageSetup& setup, PrintSurface& surface)
{
    if (setup.offsetRight == 0 && setup.offsetDown == 0)
        return {};
    const double inch = surface.unitsPerInch();
    return {setup.offsetRight / 100.0 * inch, setup.offsetDown / 100.0 * inch};
}

// The bank line where a bank's reader looks for it: each field ends in its
// position counted from the sheet's right edge, and the ink of its characters
// ends on one line a quarter inch above the check's bottom edge. The MICR
// glyphs stand on the baseline.
class StandardBankLine {
public:
    StandardBankLine(PrintSurface& surface, QPointF shift)
        : m_surface(surface), m_inch(surface.unitsPerInch()), m_origin(surface.printableOrigin() - shift),
          m_sheetWidth(surface.sheetWidth())
    {}

    // The texts above the bank line that reach into the check's clear band.
    std::vector<QRectF> inClearBand(const std::vector<QRectF>& drawn) const
    {
        std::vector<QRectF> found;
        for (const QRectF& box : drawn) {
            if (m_origin.y() + box.bottom() > CheckStock::ClearBandTop * m_inch)
                found.push_back(box);
        }
        return found;
    }

    // Draws `text` so that its last character's cell is `position`.
    QRectF endIn(int position, const QString& text)
    {
        const double width = m_surface.textWidth(text);
        const double right = m_sheetWidth - CheckStock::positionStart(position) * m_inch;
        const QRectF box(right - width - m_origin.x(),
                         CheckStock::InkBottom * m_inch - m_surface.ascent() - m_origin.y(), width,
                         m_surface.lineHeight());
        if (!text.isEmpty())
            m_surface.drawText(box.x(), box.y(), text);
        return box;
    }

private:
    PrintSurface& m_surface;
    double m_inch;
    QPointF m_origin; // the printable area's corner on the sheet, less the offsets
    double m_sheetWidth;
};

// The account number and the cheque number, as the on-us field carries them:
// each without its fill spaces, one blank position between them.
QStringList onUsParts(const CheckTexts& texts)
{
    QStringList parts;
    for (const QString& text : {texts[Box::AccountNumber], texts[Box::MicrCheckNumber]}) {
        const QString value = withoutTrailingSpaces(text);
        if (!value.isEmpty())
            parts.append(value);
    }
    return parts;
}

// A box's value as it prints: a value read back from a file carries fill
// spaces up to the field's width, and drawn they would push the MICR line's
// items onto lines of their own. What the merchant typed is the value without them.
Item value(int column, const CheckTexts& texts, Box box)
{
    return {column, withoutTrailingSpaces(texts[box]), BoxNames::of(box), box};
}

Item caption(int column, const QString& text)
{
    return {column, text, QString(), std::nullopt};
}

// What the merchant can do about it on this paper. The layout is made for
// Letter, so only narrower paper gains by a change of paper; on Letter the
// date column holds a short date but not one written out.
QString advice(const std::vector<QuickPrint::Overflow>& overflows, double pageInches)
{
    if (pageInches < LetterPrintableInches)
        return QStringLiteral(
            "Use a shorter text, or print on US Letter paper, for which Quillo's layout is designed.");
    const bool date = std::any_of(overflows.begin(), overflows.end(),
                                  [](const QuickPrint::Overflow& overflow) { return overflow.box == Box::CheckDate; });
    return date ? QStringLiteral("Use a shorter text, and for the date a short form such as \"12/08/2026\".")
                : QStringLiteral("Use a shorter text.");
}

} // namespace

std::function<std::vector<QuickPrint::Overflow>(PrintSurface&)>
QuickPrint::page(const CheckTexts& texts, const PrintedCaptions& captions, const PageSetup& setup)
{
    return [texts, captions, setup](PrintSurface& surface) { return compose(texts, captions, surface, setup); };
}

QString QuickPrint::refusal(const std::vector<Overflow>& overflows, double pageInches)
{
    const auto isField = [](const Overflow& overflow) { return overflow.holds > 0; };
    const bool fields = std::any_of(overflows.begin(), overflows.end(), isField);
    const bool edges = !std::all_of(overflows.begin(), overflows.end(), isField);
    QStringList lines{fields ? QStringLiteral("Quillo did not print the check, because part of it would not fit in "
                                              "its place on the paper:")
                             : QStringLiteral("Quillo did not print the check, because part of it would run past "
                                              "the right edge of the paper:")};
    for (const Overflow& overflow : overflows) {
        if (isField(overflow)) {
            lines.append(QStringLiteral("%1: \"%2\" has %3 characters; its field on the bank line holds %4.")
                             .arg(overflow.name, overflow.text)
                             .arg(overflow.text.size())
                             .arg(overflow.holds));
            continue;
        }
        // A pasted page of text would make the message as long; its start says which it is.
        const QString& text = overflow.text;
        const QString shown = text.size() > 60 ? text.left(59) + QChar(0x2026) : text;
        const QString quoted = QLatin1Char('"') + shown + QLatin1Char('"');
        const QString what = overflow.name.isEmpty() ? quoted : overflow.name + QStringLiteral(": ") + quoted;
        lines.append(
            QStringLiteral("%1 runs %2 inch past the edge.").arg(what, QString::number(overflow.inches, 'f', 2)));
    }
    if (edges)
        lines.append(advice(overflows, pageInches));
    if (fields)
        lines.append(
            QStringLiteral("Use shorter numbers, or choose \"Where the layout puts it\" in File, Page Setup."));
    return lines.join(QLatin1Char('\n'));
}

std::vector<QuickPrint::Overflow> QuickPrint::compose(const CheckTexts& texts, const PrintedCaptions& captions,
                                                      PrintSurface& surface, const PageSetup& setup,
                                                      std::vector<QRectF>* inClearBand)
{
    surface.setFontName(TextFont);
    surface.setFontSize(TextFontSize);
    surface.setFontBold(true);

    LineComposer page(surface, shiftOf(setup, surface));
    page.emptyLines(1);
    page.printLine(
        {value(3, texts, Box::PayorLine1), value(60, texts, Box::BankLine1), value(110, texts, Box::CheckNumber)});
    page.printLine({value(3, texts, Box::PayorLine2), value(60, texts, Box::BankLine2)});
    page.printLine({value(3, texts, Box::PayorLine3), value(110, texts, Box::CheckDate)});
    page.emptyLines(1);
    page.printLine({caption(5, captions.Label4), value(28, texts, Box::Payee), caption(85, captions.Label8)});
    page.printLine(
        {caption(5, captions.Label5), value(28, texts, Box::AmountInWords), value(85, texts, Box::AmountInFigures)});
    page.emptyLines(3);
    page.printLine({caption(10, captions.Label10), value(22, texts, Box::Memo), caption(85, captions.Label9)});
    page.printLine({caption(85, captions.Label11)});
    page.printLine({caption(85, captions.Label12)});
    page.emptyLines(2);

    // Bold stays on for the MICR line: nothing turns it off.
    surface.setFontName(MicrFont);
    surface.setFontSize(MicrFontSize);
    if (inClearBand)
        inClearBand->clear();
    if (setup.bankLine == PageSetup::BankLine::Layout) {
        page.printLine({value(10, texts, Box::RoutingNumber), value(25, texts, Box::AccountNumber),
                        value(45, texts, Box::MicrCheckNumber)});
        return page.overflows();
    }

    StandardBankLine bankLine(surface, shiftOf(setup, surface));
    if (inClearBand)
        *inClearBand = bankLine.inClearBand(page.drawn());
    bankLine.endIn(CheckStock::RoutingEnd, withoutTrailingSpaces(texts[Box::RoutingNumber]));
    // Each part stands in its own positions: the font's space is not a
    // position wide, so the parts are not drawn as one text.
    const QStringList parts = onUsParts(texts);
    const QString onUs = parts.join(QLatin1Char(' '));
    QRectF onUsBox;
    int end = CheckStock::OnUsEnd;
    for (auto part = parts.crbegin(); part != parts.crend(); ++part) {
        onUsBox |= bankLine.endIn(end, *part);
        end += static_cast<int>(part->size()) + 1;
    }
    // Any more would reach into the routing field.
    if (onUs.size() > CheckStock::OnUsCapacity) {
        page.overflows().push_back(
            {BoxNames::of(Box::AccountNumber) + QStringLiteral(" and ") + BoxNames::of(Box::MicrCheckNumber),
             Box::AccountNumber, onUs, 0, onUsBox, CheckStock::OnUsCapacity});
    }
    return page.overflows();
}
