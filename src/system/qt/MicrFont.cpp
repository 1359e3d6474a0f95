#include "system/qt/MicrFont.h"

#include "system/qt/Fonts.h"

#include <QFont>
#include <QFontDatabase>

const QString MicrFont::Family = QStringLiteral("Quillo E13B");
const QString MicrFont::ResourcePath = QStringLiteral(":/fonts/QuilloE13B.ttf");
const QString MicrFont::BoldResourcePath = QStringLiteral(":/fonts/QuilloE13B-Bold.ttf");

void MicrFont::install()
{
    static const bool registered = QFontDatabase::addApplicationFont(ResourcePath) != -1 &&
                                   QFontDatabase::addApplicationFont(BoldResourcePath) != -1;
    if (!registered || Fonts::familyInstalled(Fonts::MicrFamily))
        return;
    QFont::insertSubstitution(Fonts::MicrFamily, Family);
}
