#include "system/qt/Fonts.h"

#include "system/qt/MicrFont.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

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
