#include "platform/qt/WindowTitle.h"

#include <QWidget>

void setLiteralWindowTitle(QWidget& window, const QString& title)
{
    QString escaped = title;
    escaped.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    window.setWindowTitle(escaped);
}
