#include "platform/qt/Fonts.h"

#include "platform/qt/MicrFont.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

namespace Fonts {

namespace {

// The dialog font of the designed windows is a small, narrow sans serif. The
// usual Linux stand-in for it (DejaVu Sans) is about a seventh wider, which
// cuts captions such as "Payor Name and Address" at the edge of their boxes;
// these narrow families keep every caption whole.
void substituteDialogFont()
{
    if (familyInstalled(DialogFamily))
        return;
    QFont::insertSubstitutions(DialogFamily, {QStringLiteral("Liberation Sans Narrow"),
                                              QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Arial Narrow")});
}

} // namespace

bool familyInstalled(const QString& family)
{
    // A family that several foundries provide is listed as "Family [Foundry]".
    const QString withFoundry = family + QStringLiteral(" [");
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&](const QString& installed) {
        return installed.compare(family, Qt::CaseInsensitive) == 0 ||
               installed.startsWith(withFoundry, Qt::CaseInsensitive);
    });
}

void install()
{
    substituteDialogFont();
    MicrFont::install();
}

QFont dialogFont(double points, bool bold)
{
    QFont font(DialogFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Fonts

namespace {

// How often each lower-case letter and the space occur in English text, per
// thousand characters: the classic TrueType definition of a font's average
// character width.
constexpr std::array<std::pair<char, int>, 27> LetterFrequencies = {{
    {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
    {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
    {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166},
}};

} // namespace

// Columns are as wide as the font's average character. QFontMetricsF's
// averageCharWidth() reads the font's OS/2 table, whose value newer fonts
// compute over every glyph they hold: for the Arial stand-ins of Linux it is
// a quarter wider than Arial's own, which pushes column 110 (cheque number and
// date) off a Letter page. Weighting the advances of the letters by their
// frequency is the measure the page was laid out with, and it comes out the
// same for every font with Arial's widths. For a monospaced font (the MICR
// line) it is exactly the advance.
double Fonts::weightedAverageCharWidth(const QFontMetricsF& metrics)
{
    double total = 0;
    int weights = 0;
    for (const auto& [letter, frequency] : LetterFrequencies) {
        total += frequency * metrics.horizontalAdvance(QLatin1Char(letter));
        weights += frequency;
    }
    return total / weights;
}
