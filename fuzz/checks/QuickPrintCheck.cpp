#include "QuickPrintCheck.h"

#include "print/PageBuilder.h"
#include "print/PageSetup.h"
#include "print/Printing.h"
#include "print/QuickPrint.h"
#include "print/TextAdvances.h"

#include "fakes/FakeFailureReporter.h"
#include "fakes/FakeMessageBox.h"
#include "fakes/FakePrintDestination.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int HeaderLength = 5;

struct Input {
    PageSetup setup;
    QPageLayout layout;
    CheckTexts texts;
    PrintedCaptions captions;
};

Input parse(QByteArrayView bytes)
{
    Input input;
    auto at = [&](int i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0; };
    if (at(0) >= 0x80)
        input.setup.bankLine = PageSetup::BankLine::Standard;
    input.setup.epc6 = (at(0) & 1) != 0;
    input.setup.offsetRight = at(1) % (2 * PageSetup::MaxOffset + 1) - PageSetup::MaxOffset;
    input.setup.offsetDown = at(2) % (2 * PageSetup::MaxOffset + 1) - PageSetup::MaxOffset;
    static const QPageSize::PageSizeId papers[] = {QPageSize::Letter, QPageSize::A4, QPageSize::Legal};
    const double margin = at(4) % 73; // up to an inch, in points
    input.layout = QPageLayout(QPageSize(papers[at(3) % 3]), QPageLayout::Portrait,
                               QMarginsF(margin, margin / 2, margin / 3, margin), QPageLayout::Point);

    // Each two bytes after the header are a UTF-16 unit, low byte first.
    QString all(std::max<qsizetype>(0, (bytes.size() - HeaderLength) / 2), Qt::Uninitialized);
    for (qsizetype k = 0; k < all.size(); ++k) {
        const int i = int(HeaderLength + 2 * k);
        all[k] = QChar(static_cast<char16_t>(at(i) | at(i + 1) << 8));
    }
    // Only the parts that are used become strings of their own.
    const QList<QStringView> parts = QStringView(all).split(QChar(0xFFFF));
    auto part = [&](int i) { return i < parts.size() ? parts[i].toString() : QString(); };
    for (Box box : AllBoxes)
        input.texts[box] = part(numberOf(box) - 1);
    input.captions = {part(14), part(15), part(16), part(17), part(18), part(19), part(20)};
    return input;
}

// The check's own measures of fonts and texts, apart from the page
// builder's, on one device for every input (only its resolution counts). An
// input mutated from another keeps most of its texts, and shaping them again
// was most of an input's time.
class Measures {
public:
    explicit Measures(int resolution) { m_device->setResolution(resolution); }

    double own(const QFont& font, TextAdvances::Measure which, double (QFontMetricsF::*measure)() const)
    {
        return known(font).own(which, [&] { return (QFontMetricsF(font, m_device).*measure)(); });
    }
    double width(const QFont& font, const QString& text)
    {
        std::optional<QFontMetricsF> metrics;
        return known(font).of(text, [&]() -> const QFontMetricsF& { return metrics.emplace(font, m_device); });
    }

private:
    // The few fonts a page uses, found again without naming them.
    TextAdvances::InFont& known(const QFont& font)
    {
        const auto used = std::find_if(m_fonts.begin(), m_fonts.end(), [&](const auto& f) { return f.first == font; });
        return used != m_fonts.end() ? *used->second : *m_fonts.emplace_back(font, &m_advances.inFont(font)).second;
    }

    QPdfWriter* m_device = new QPdfWriter(new QBuffer);
    TextAdvances m_advances;
    std::vector<std::pair<QFont, TextAdvances::InFont*>> m_fonts;
};

Measures& measures(int resolution)
{
    static Measures* const made = new Measures(resolution);
    return *made;
}

// An item of the page and the room it takes, measured as the page measures
// it. Its width is measured only when a rule looks at where it ends: most
// fuzzed pages do not fit, and then only items followed on their line do.
struct Placed {
    QPointF topLeft;
    double height;
    QString text;
    QFont font;
    bool bankLine;
    int resolution;

    double right() const { return topLeft.x() + width(); }
    QRectF box() const { return QRectF(topLeft, QSizeF(width(), height)); }
    double width() const
    {
        // Qt measures a text of nothing but U+FFFC, the object replacement
        // character, which draws nothing, as -1 wide; no text ends left of its start.
        if (!measuredWidth)
            measuredWidth = std::max(0.0, measures(resolution).width(font, text));
        return *measuredWidth;
    }

    mutable std::optional<double> measuredWidth = {};
};

QList<Placed> placed(const PrintedPage& page)
{
    Measures& measured = measures(page.resolution());
    QList<Placed> items;
    for (const PrintedPage::Text& item : page.texts()) {
        const double ascent = measured.own(item.font, TextAdvances::Measure::Ascent, &QFontMetricsF::ascent);
        const double lineSpacing =
            measured.own(item.font, TextAdvances::Measure::LineSpacing, &QFontMetricsF::lineSpacing);
        items.append({QPointF(item.baseline.x(), item.baseline.y() - ascent), lineSpacing, item.text, item.font,
                      item.font.family() == QuickPrint::MicrFont, page.resolution()});
    }
    return items;
}

QString show(const Placed& item)
{
    return QStringLiteral("\"%1\" at (%2, %3), %4 wide")
        .arg(item.text)
        .arg(item.topLeft.x())
        .arg(item.topLeft.y())
        .arg(item.width());
}

void checkPlacement(const QList<Placed>& items, const Input& input, QStringList& failures)
{
    // The standard place puts the bank line where its fields end, not by columns.
    const bool byColumns = input.setup.bankLine == PageSetup::BankLine::Layout;
    // On the layout's bank line the code stands left of the routing number's
    // first transit symbol, over the spaces before it.
    const auto isCode = [&](qsizetype i) {
        return byColumns && input.setup.epc6 && items[i].bankLine && (i == 0 || !items[i - 1].bankLine);
    };
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Placed& item = items[i];
        if (!std::isfinite(item.topLeft.x()) || !std::isfinite(item.topLeft.y()))
            failures << QStringLiteral("%1 is at no place").arg(show(item));
        if (i == 0)
            continue;
        const Placed& previous = items[i - 1];
        if (!byColumns && item.bankLine)
            continue;
        if (isCode(i - 1)) {
            if (previous.right() > item.right() + 0.01)
                failures << QStringLiteral("%1 ends right of where %2 ends").arg(show(previous), show(item));
            continue;
        }
        if (qFuzzyCompare(item.topLeft.y(), previous.topLeft.y())) {
            if (item.topLeft.x() < previous.right() - 0.01)
                failures << QStringLiteral("%1 starts left of where %2 ends").arg(show(item), show(previous));
        } else if (item.topLeft.y() < previous.topLeft.y() + std::min(previous.height, item.height) - 0.01) {
            failures << QStringLiteral("%1 is printed over the line of %2").arg(show(item), show(previous));
        }
    }
}

void checkNothingLost(const Input& input, const QList<Placed>& items, QStringList& failures)
{
    // Values print without their trailing spaces; captions print as they stand.
    QStringList expected;
    for (const QString& text : input.texts)
        expected << withoutTrailingSpaces(text);
    const PrintedCaptions& c = input.captions;
    expected << c.Label4 << c.Label5 << c.Label8 << c.Label9 << c.Label10 << c.Label11 << c.Label12;
    if (input.setup.epc6)
        expected << QuickPrint::RemotelyCreatedCode;
    expected.removeAll(QString());
    QStringList printed;
    for (const Placed& item : items)
        printed << item.text;
    expected.sort();
    printed.sort();
    if (printed != expected)
        failures << QStringLiteral("drawn %1 texts, given %2 non-empty ones").arg(printed.size()).arg(expected.size());
}

// An item said not to fit crosses the edge named; on a page where nothing
// is said to cross an edge, every item lies inside the printable area.
void checkOverflows(const Printing::Composed& page, const QList<Placed>& items, QStringList& failures)
{
    const QRectF area(QPointF(0, 0), page.page.layout().paintRectPixels(page.page.resolution()).size());
    bool crossed = false;
    for (const QuickPrint::Overflow& overflow : page.overflows) {
        if (overflow.holds != 0)
            continue;
        crossed = true;
        const QRectF& place = overflow.place;
        const bool past = (overflow.edge == QuickPrint::Edge::Left && place.left() < area.left()) ||
                          (overflow.edge == QuickPrint::Edge::Top && place.top() < area.top()) ||
                          (overflow.edge == QuickPrint::Edge::Right && place.right() > area.right()) ||
                          (overflow.edge == QuickPrint::Edge::Bottom && place.bottom() > area.bottom());
        if (!past || !(overflow.inches > 0))
            failures << QStringLiteral("\"%1\" is said to run %2 inch past an edge, yet stands at (%3, %4) in %5 x %6")
                            .arg(overflow.text)
                            .arg(overflow.inches)
                            .arg(place.left())
                            .arg(place.top())
                            .arg(area.width())
                            .arg(area.height());
    }
    if (crossed)
        return;
    // Edge by edge: QRectF::contains() says no for a box of no width, which a
    // text of zero-width characters has.
    const QRectF within = area.adjusted(-0.01, -0.01, 0.01, 0.01);
    for (const Placed& item : items) {
        const QRectF box = item.box();
        if (box.left() < within.left() || box.top() < within.top() || box.right() > within.right() ||
            box.bottom() > within.bottom())
            failures << QStringLiteral("%1 runs past an edge of the printable area unsaid").arg(show(item));
    }
}

// The same texts in the same fonts at the same places, and the same lines.
bool samePage(const PrintedPage& taken, const PrintedPage& composed)
{
    const auto& texts = taken.texts();
    const auto& expected = composed.texts();
    const auto sameText = [](const PrintedPage::Text& a, const PrintedPage::Text& b) {
        return a.text == b.text && a.baseline == b.baseline && a.font == b.font;
    };
    return taken.layout().isEquivalentTo(composed.layout()) && taken.lines() == composed.lines() &&
           std::equal(texts.begin(), texts.end(), expected.begin(), expected.end(), sameText);
}

// Quick Print of the input's page to a printer with the input's paper. The
// page is composed once, as Quick Print composes it: the composition is
// looked at where it was made, on the page builder that Printing hands it,
// rather than composed a second time for the check (shaping the texts is
// most of an input's time). Returns that composition, or none when Quick
// Print composed no page or more than one, or on another surface.
std::optional<Printing::Composed> quickPrint(const Input& input, QStringList& failures)
{
    FakePrinterFinder printers;
    printers.printer.layout = input.layout;
    FakeMessageBox messages;
    FakeFailureReporter failed;
    Printing printing(printers, messages, failed);
    const Printing::Compose compose = QuickPrint::page(input.texts, input.captions, input.setup);
    std::optional<Printing::Composed> composed;
    int compositions = 0;
    printing.toDefaultPrinter(
        [&](PrintSurface& surface) {
            std::vector<QuickPrint::Overflow> overflows = compose(surface);
            ++compositions;
            if (const auto* builder = dynamic_cast<const PageBuilder*>(&surface))
                composed = Printing::Composed{builder->page(), overflows, builder->extent()};
            return overflows;
        },
        QuickPrint::Confirmation);
    if (compositions != 1 || !composed) {
        failures << QStringLiteral("Quick Print composed %1 pages, %2 on a page builder")
                        .arg(compositions)
                        .arg(composed ? 1 : 0);
        return std::nullopt;
    }
    const Printing::Composed& page = *composed;
    if (!page.page.layout().isEquivalentTo(input.layout))
        failures << QStringLiteral("the page was composed on other paper than the printer's");
    const bool fits = page.overflows.empty();
    if (fits && messages.shown != QStringList{QuickPrint::Confirmation})
        failures << QStringLiteral("a page that fits was not confirmed: ") + failed.reports.join(QLatin1Char('|'));
    if (!fits && (!messages.shown.isEmpty() || failed.reports.size() != 1))
        failures << QStringLiteral("a page that does not fit was not refused once");
    if (printers.printer.pages.size() != (fits ? 1 : 0))
        failures << QStringLiteral("the printer took %1 pages").arg(printers.printer.pages.size());
    else if (fits && !samePage(printers.printer.pages.first(), page.page))
        failures << QStringLiteral("the printer took another page than the one composed");
    return composed;
}

// The page needs fonts, and fonts a GUI application; a fuzz target has none of its own.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillo-fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

} // namespace

QStringList QuickPrintCheck::check(QByteArrayView bytes)
{
    ensureApplication();
    const Input input = parse(bytes);
    QStringList failures;
    const std::optional<Printing::Composed> page = quickPrint(input, failures);
    if (!page)
        return failures;
    const QList<Placed> items = placed(page->page);
    checkPlacement(items, input, failures);
    checkNothingLost(input, items, failures);
    checkOverflows(*page, items, failures);
    return failures;
}
