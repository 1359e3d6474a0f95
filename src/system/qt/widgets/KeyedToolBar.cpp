#include "system/qt/widgets/KeyedToolBar.h"

#include "system/qt/widgets/ImageList.h"

#include <QAction>
#include <QToolBar>
#include <QToolButton>

QToolBar* createKeyedToolBar(QWidget* parent, const ImageList& images)
{
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName(QStringLiteral("tbToolBar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(images.imageSize());
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    nameOverflowButton(*toolbar);
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
    // A button that shows only a picture has no text for a screen reader to
    // read: it is called by its key and described by its tooltip.
    widget->setAccessibleName(key);
    widget->setAccessibleDescription(button->toolTip());
    return button;
}

void nameOverflowButton(QToolBar& toolbar)
{
    // Qt makes this button with the toolbar and shows it only when needed.
    if (auto* overflow = toolbar.findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
        overflow->setAccessibleName(QObject::tr("More buttons"));
}
