#include "system/qt/ProductIcon.h"

QIcon productIcon()
{
    QIcon icon(QStringLiteral(":/pictures/quillo-icon.png")); // the designed 32 x 32 picture
    for (int size : {16, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/pictures/quillo-icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
