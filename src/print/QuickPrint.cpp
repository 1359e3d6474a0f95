#include "print/QuickPrint.h"

#include "document/BoxNames.h"
#include "print/CheckStock.h"
#include "print/PrintSurface.h"

#include <QStringList>
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <vector>

const QString QuickPrint::Confirmation = QStringLiteral("Quillo Has Been Sent To The Printer!");
const QString QuickPrint::TextFont = QStringLiteral("Arial");
const QString QuickPrint::MicrFont = QStringLiteral("MICR 013 BT");
const QString QuickPrint::RemotelyCreatedCode = QStringLiteral("6");

namespace {

// An item of a printed line: its text starts at the left edge of `column`.
// `name` says what the item is in a message: a box's name for a value, empty
// for a caption, which speaks for itself. `box` is the value's box, none for
// a caption. An item `withCode` has the remotely created check code drawn
// just left of its first transit symbol.
struct Item {
    int column;
    QString text;
    QString name;
    std::optional<Box> box;
    bool withCode = false;
};

// The printable width below which Letter paper would help: Letter less the
// quarter-inch margins drivers commonly keep, with some room for others.
// A4 under the same margins is 0.23 inch narrower.
constexpr double LetterPrintableInches = 7.9;

const QChar TransitSymbol = QLatin1Char('A');

Item remotelyCreatedCode()
{
    return {0, QuickPrint::RemotelyCreatedCode, QStringLiteral("Remotely created check code"), std::nullopt};
}

// The printable area as the page setup's offsets meet it: which of its edges
// a drawn item crosses, by how much, and whether the offsets put it there.
class PrintableArea {
public:
    PrintableArea(PrintSurface& surface, QPointF shift)
        : m_size(surface.printableWidth(), surface.printableHeight()), m_inch(surface.unitsPerInch()), m_shift(shift)
    {}

    void check(const Item& item, const QRectF& box, bool pushedDown, std::vector<QuickPrint::Overflow>& overflows) const
    {
        using Edge = QuickPrint::Edge;
        // How far the item reaches past each edge, and how far the offsets
        // moved it towards that edge.
        const struct {
            Edge edge;
            double past;
            double moved;
        } sides[] = {
            {Edge::Left, -box.left(), -m_shift.x()},
            {Edge::Top, -box.top(), -m_shift.y()},
            {Edge::Right, box.right() - m_size.width(), m_shift.x()},
            {Edge::Bottom, box.bottom() - m_size.height(), m_shift.y()},
        };
        for (const auto& side : sides) {
            if (side.past <= 0)
                continue;
            const double moved = std::max(0.0, side.moved);
            overflows.push_back({item.name, item.box, item.text, side.past / m_inch, box, 0, side.edge, moved / m_inch,
                                 side.past <= moved, pushedDown});
        }
    }

private:
    QSizeF m_size;
    double m_inch;
    QPointF m_shift;
};

// Places text line by line on the surface, keeping the print position.
// Columns are as wide as the average character of the font current when an
// item is placed, and lines as high as that font's line.
//
// Everything is drawn moved by `shift`, the page setup's offsets; the print
// position itself is kept where the layout puts it.
class LineComposer {
public:
    LineComposer(PrintSurface& surface, QPointF shift, const PrintableArea& area)
        : m_surface(surface), m_shift(shift), m_area(area)
    {}

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
        if (m_x > edge) {
            endLine();
            m_pushedDown = true;
        }
        m_x = edge;
        if (item.withCode) {
            // Just left of the transit symbol that begins the text after any
            // spaces; left of the text itself when it begins otherwise, so
            // that the code never covers a character.
            qsizetype first = 0;
            while (first < item.text.size() && item.text.at(first) == QLatin1Char(' '))
                ++first;
            const qsizetype symbol = first < item.text.size() && item.text.at(first) == TransitSymbol ? first : 0;
            const double end = m_x + m_surface.textWidth(item.text.left(symbol));
            const Item code = remotelyCreatedCode();
            draw(code, end - m_surface.textWidth(code.text));
        }
        if (item.text.isEmpty())
            return;
        m_x += draw(item, m_x).width();
    }

    QRectF draw(const Item& item, double x)
    {
        m_surface.drawText(x + m_shift.x(), m_y + m_shift.y(), item.text);
        const QRectF box(x + m_shift.x(), m_y + m_shift.y(), m_surface.textWidth(item.text), m_surface.lineHeight());
        m_drawn.push_back(box);
        // Drawn text stays on the surface until the document ends, so an item
        // that does not fit can still stop the whole page from printing.
        m_area.check(item, box, m_pushedDown, m_overflows);
        return box;
    }

    void endLine()
    {
        m_x = 0;
        m_y += m_surface.lineHeight();
    }

    PrintSurface& m_surface;
    QPointF m_shift;
    const PrintableArea& m_area;
    double m_x = 0;
    double m_y = 0;
    bool m_pushedDown = false;
    std::vector<QuickPrint::Overflow> m_overflows;
    std::vector<QRectF> m_drawn;
};

// The page setup's offsets in surface units.
QPointF shiftOf(const PageSetup& setup, PrintSurface& surface)
{
    const double inch = surface.unitsPerInch();
    return {setup.offsetRight / 100.0 * inch, setup.offsetDown / 100.0 * inch};
}

// The bank line where a bank's reader looks for it: each field ends in its
// position counted from the sheet's right edge, and the ink of its characters
// ends on one line a quarter inch above the check's bottom edge. The MICR
// glyphs stand on the baseline.
class StandardBankLine {
public:
    StandardBankLine(PrintSurface& surface, QPointF shift, const PrintableArea& area)
        : m_surface(surface), m_inch(surface.unitsPerInch()), m_origin(surface.printableOrigin() - shift),
          m_sheetWidth(surface.sheetWidth()), m_area(area)
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

    // Draws the item's text so that its last character's cell is `position`.
    QRectF endIn(int position, const Item& item, std::vector<QuickPrint::Overflow>& overflows)
    {
        const double width = m_surface.textWidth(item.text);
        const double right = m_sheetWidth - CheckStock::positionStart(position) * m_inch;
        const QRectF box(right - width - m_origin.x(),
                         CheckStock::InkBottom * m_inch - m_surface.ascent() - m_origin.y(), width,
                         m_surface.lineHeight());
        if (!item.text.isEmpty()) {
            m_surface.drawText(box.x(), box.y(), item.text);
            m_area.check(item, box, false, overflows);
        }
        return box;
    }

private:
    PrintSurface& m_surface;
    double m_inch;
    QPointF m_origin; // the printable area's corner on the sheet, less the offsets
    double m_sheetWidth;
    const PrintableArea& m_area;
};

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

// The account number and the cheque number, as the on-us field carries them:
// each without its fill spaces, one blank position between them.
std::vector<Item> onUsParts(const CheckTexts& texts)
{
    std::vector<Item> parts;
    for (Box box : {Box::AccountNumber, Box::MicrCheckNumber}) {
        Item part = value(0, texts, box);
        if (!part.text.isEmpty())
            parts.push_back(part);
    }
    return parts;
}

QString inches(double value)
{
    // Anything past an edge is at least a hundredth of an inch past it.
    return QString::number(std::max(value, 0.01), 'f', 2);
}

QString edgeName(QuickPrint::Edge edge)
{
    switch (edge) {
    case QuickPrint::Edge::Left:
        return QStringLiteral("left");
    case QuickPrint::Edge::Top:
        return QStringLiteral("top");
    case QuickPrint::Edge::Right:
        return QStringLiteral("right");
    case QuickPrint::Edge::Bottom:
        break;
    }
    return QStringLiteral("bottom");
}

// Which way the page moves towards the edge.
QString towards(QuickPrint::Edge edge)
{
    switch (edge) {
    case QuickPrint::Edge::Left:
        return QStringLiteral("left");
    case QuickPrint::Edge::Top:
        return QStringLiteral("up");
    case QuickPrint::Edge::Right:
        return QStringLiteral("right");
    case QuickPrint::Edge::Bottom:
        break;
    }
    return QStringLiteral("down");
}

bool pastAnEdge(const QuickPrint::Overflow& overflow)
{
    return overflow.holds == 0;
}

// "right edge", "left and top edges", "left, top and right edges".
QString edgesCrossed(const std::vector<QuickPrint::Overflow>& overflows)
{
    QStringList names;
    for (QuickPrint::Edge edge :
         {QuickPrint::Edge::Left, QuickPrint::Edge::Top, QuickPrint::Edge::Right, QuickPrint::Edge::Bottom}) {
        if (std::any_of(overflows.begin(), overflows.end(), [edge](const QuickPrint::Overflow& overflow) {
                return pastAnEdge(overflow) && overflow.edge == edge;
            }))
            names.append(edgeName(edge));
    }
    if (names.size() == 1)
        return names.first() + QStringLiteral(" edge");
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last + QStringLiteral(" edges");
}

} // namespace

std::function<std::vector<QuickPrint::Overflow>(PrintSurface&)>
QuickPrint::page(const CheckTexts& texts, const PrintedCaptions& captions, const PageSetup& setup)
{
    return [texts, captions, setup](PrintSurface& surface) { return compose(texts, captions, surface, setup); };
}

QString QuickPrint::overflowSentence(const Overflow& overflow)
{
    if (!pastAnEdge(overflow))
        return QStringLiteral("\"%1\" has %2 characters; its field on the bank line holds %3.")
            .arg(overflow.text)
            .arg(overflow.text.size())
            .arg(overflow.holds);
    // A pasted page of text would make the message as long; its start says which it is.
    const QString& text = overflow.text;
    const QString shown = text.size() > 60 ? text.left(59) + QChar(0x2026) : text;
    QString sentence = QStringLiteral("\"%1\" runs %2 inch past the %3 edge")
                           .arg(shown, inches(overflow.inches), edgeName(overflow.edge));
    if (overflow.offset > 0)
        sentence += QStringLiteral(" with the page moved %1 inch %2 in Page Setup")
                        .arg(inches(overflow.offset), towards(overflow.edge));
    return sentence + QLatin1Char('.');
}

namespace {

// What the merchant can do about it on this paper. An item that only the
// offsets put past an edge fits once they are smaller; a shorter text helps
// only at the right edge, and below the bottom edge only taller paper or a
// page moved up does. The layout is made for Letter, so only narrower paper
// gains by a change of paper; on Letter the date column holds a short date
// but not one written out.
QString edgeAdvice(const std::vector<QuickPrint::Overflow>& edges, double pageInches)
{
    using Overflow = QuickPrint::Overflow;
    using Edge = QuickPrint::Edge;
    const auto byOffset = [](const Overflow& overflow) { return overflow.byOffset; };
    if (std::all_of(edges.begin(), edges.end(), byOffset)) {
        const bool right = std::any_of(edges.begin(), edges.end(),
                                       [](const Overflow& overflow) { return overflow.edge == Edge::Right; });
        return right ? QStringLiteral("Make the offset smaller, or use a shorter text.")
                     : QStringLiteral("Make the offset smaller.");
    }
    const auto tooLong = [](const Overflow& overflow) { return !overflow.byOffset && overflow.edge == Edge::Right; };
    const auto tooLow = [](const Overflow& overflow) { return !overflow.byOffset && overflow.edge != Edge::Right; };
    QStringList advice;
    bool movedDown = false;
    if (std::any_of(edges.begin(), edges.end(), tooLong)) {
        if (pageInches < LetterPrintableInches)
            advice.append(QStringLiteral(
                "Use a shorter text, or print on US Letter paper, for which Quillo's layout is designed."));
        else if (std::any_of(edges.begin(), edges.end(),
                             [](const Overflow& overflow) { return overflow.box == Box::CheckDate; }))
            advice.append(QStringLiteral("Use a shorter text, and for the date a short form such as \"12/08/2026\"."));
        else
            advice.append(QStringLiteral("Use a shorter text."));
    }
    if (std::any_of(edges.begin(), edges.end(), tooLow)) {
        const auto lowered = [&tooLow](bool Overflow::*why) {
            return [&tooLow, why](const Overflow& overflow) { return tooLow(overflow) && overflow.*why; };
        };
        movedDown = std::any_of(edges.begin(), edges.end(), [&tooLow](const Overflow& overflow) {
            return tooLow(overflow) && overflow.offset > 0;
        });
        const QString paper =
            pageInches < LetterPrintableInches
                ? QStringLiteral("taller paper such as US Letter, for which Quillo's layout is designed")
                : QStringLiteral("taller paper");
        if (std::any_of(edges.begin(), edges.end(), lowered(&Overflow::pushedDown)))
            advice.append(QStringLiteral("Use shorter texts above the bank line (a text that runs into the next "
                                         "item's place pushes the lines below it down), or print on %1.")
                              .arg(paper));
        else if (movedDown)
            advice.append(QStringLiteral("Make the offset smaller, and print on %1.").arg(paper));
        else
            advice.append(QStringLiteral("Print on %1, or move the page up in Page Setup.").arg(paper));
    }
    if (!movedDown && std::any_of(edges.begin(), edges.end(), byOffset))
        advice.append(QStringLiteral("Make the offset smaller as well."));
    return advice.join(QLatin1Char(' '));
}

} // namespace

QStringList QuickPrint::advice(const std::vector<Overflow>& overflows, double pageInches)
{
    std::vector<Overflow> edges;
    std::copy_if(overflows.begin(), overflows.end(), std::back_inserter(edges), pastAnEdge);
    QStringList sentences;
    if (!edges.empty())
        sentences.append(edgeAdvice(edges, pageInches));
    if (edges.size() < overflows.size())
        sentences.append(
            QStringLiteral("Use shorter numbers, or choose \"Where the layout puts it\" in File, Page Setup."));
    return sentences;
}

QString QuickPrint::refusal(const std::vector<Overflow>& overflows, double pageInches)
{
    const bool fields = !std::all_of(overflows.begin(), overflows.end(), pastAnEdge);
    QStringList lines{fields ? QStringLiteral("Quillo did not print the check, because part of it would not fit in "
                                              "its place on the paper:")
                             : QStringLiteral("Quillo did not print the check, because part of it would run past "
                                              "the %1 of the paper:")
                                   .arg(edgesCrossed(overflows))};
    for (const Overflow& overflow : overflows) {
        const QString sentence = overflowSentence(overflow);
        lines.append(overflow.name.isEmpty() ? sentence : overflow.name + QStringLiteral(": ") + sentence);
    }
    lines.append(advice(overflows, pageInches));
    return lines.join(QLatin1Char('\n'));
}

std::vector<QuickPrint::Overflow> QuickPrint::compose(const CheckTexts& texts, const PrintedCaptions& captions,
                                                      PrintSurface& surface, const PageSetup& setup,
                                                      std::vector<QRectF>* inClearBand)
{
    surface.setFontName(TextFont);
    surface.setFontSize(TextFontSize);
    surface.setFontBold(true);

    const QPointF shift = shiftOf(setup, surface);
    const PrintableArea area(surface, shift);
    LineComposer page(surface, shift, area);
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
        Item routing = value(10, texts, Box::RoutingNumber);
        routing.withCode = setup.epc6;
        page.printLine({routing, value(25, texts, Box::AccountNumber), value(45, texts, Box::MicrCheckNumber)});
        return page.overflows();
    }

    StandardBankLine bankLine(surface, shift, area);
    if (inClearBand)
        *inClearBand = bankLine.inClearBand(page.drawn());
    std::vector<Overflow>& overflows = page.overflows();
    // The code stands in the position just left of the routing field, as the
    // standard has it whatever the routing number's length.
    if (setup.epc6)
        bankLine.endIn(CheckStock::ProcessingCodePosition, remotelyCreatedCode(), overflows);
    bankLine.endIn(CheckStock::RoutingEnd, value(0, texts, Box::RoutingNumber), overflows);
    // Each part stands in its own positions: the font's space is not a
    // position wide, so the parts are not drawn as one text.
    const std::vector<Item> parts = onUsParts(texts);
    QStringList onUs;
    for (const Item& part : parts)
        onUs.append(part.text);
    QRectF onUsBox;
    int end = CheckStock::OnUsEnd;
    for (auto part = parts.crbegin(); part != parts.crend(); ++part) {
        onUsBox |= bankLine.endIn(end, *part, overflows);
        end += static_cast<int>(part->text.size()) + 1;
    }
    // Any more would reach into the routing field.
    const QString joined = onUs.join(QLatin1Char(' '));
    if (joined.size() > CheckStock::OnUsCapacity) {
        overflows.push_back(
            {BoxNames::of(Box::AccountNumber) + QStringLiteral(" and ") + BoxNames::of(Box::MicrCheckNumber),
             Box::AccountNumber, joined, 0, onUsBox, CheckStock::OnUsCapacity});
    }
    return overflows;
}
