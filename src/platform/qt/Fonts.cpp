#include "platform/qt/Fonts.h"

#include "platform/qt/MicrFont.h"

namespace Fonts {

void install()
{
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
