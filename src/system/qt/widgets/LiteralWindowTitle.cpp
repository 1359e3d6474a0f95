#include "system/qt/widgets/LiteralWindowTitle.h"

#include <QWidget>

void setLiteralWindowTitle(QWidget& window, const QString& caption)
{
    QString title = caption;
    window.setWindowTitle(title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")));
}
