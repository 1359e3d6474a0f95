#include "platform/qt/KeyedToolBar.h"

#include "platform/qt/ImageList.h"

#include <QAction>
#include <QToolBar>

QToolBar* createKeyedToolBar(QWidget* parent, const ImageList& images)
{
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName(QStringLiteral("tbToolBar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(images.imageSize());
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return toolbar;
}

QAction* addKeyedButton(QToolBar& toolbar, ImageList& images, const QString& key, const QString& picture,
                        QSize buttonSize)
{
    images.add(key, picture);
    QAction* button = toolbar.addAction(images.icon(key), QString());
    button->setObjectName(key);
    button->setData(key);
    button->setToolTip(key);
    QWidget* widget = toolbar.widgetForAction(button);
    widget->setFixedSize(buttonSize);
    widget->setObjectName(QStringLiteral("tbToolBar_") + key);
    return button;
}
