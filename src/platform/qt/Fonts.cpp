#include "platform/qt/Fonts.h"

namespace Fonts {

void install()
{
}

QFont dialogFont(double points, bool bold)
{
    QFont font(DialogFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace Fonts
