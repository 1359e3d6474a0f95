#include "platform/qt/MicrFont.h"

#include "platform/qt/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

const QString MicrFont::Family = QStringLiteral("Quillo E13B");
const QString MicrFont::ResourcePath = QStringLiteral(":/fonts/QuilloE13B.ttf");

void MicrFont::install()
{
    static const bool registered = QFontDatabase::addApplicationFont(ResourcePath) != -1;
    if (!registered || micrFamilyInstalled())
        return;
    QFont::insertSubstitution(Fonts::MicrFamily, Family);
}

bool MicrFont::micrFamilyInstalled()
{
    // A family that several foundries provide is listed as "Family [Foundry]".
    const QString withFoundry = Fonts::MicrFamily + QStringLiteral(" [");
    const QStringList families = QFontDatabase::families();
    return std::any_of(families.begin(), families.end(), [&](const QString& family) {
        return family.compare(Fonts::MicrFamily, Qt::CaseInsensitive) == 0 ||
               family.startsWith(withFoundry, Qt::CaseInsensitive);
    });
}
