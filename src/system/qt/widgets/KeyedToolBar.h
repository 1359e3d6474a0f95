#pragma once

#include <QSize>
#include <QString>

class ImageList;
class QAction;
class QToolBar;
class QWidget;

// Toolbars whose buttons show only a picture and are told apart by a key
// text: the key is the button's data, object name, tooltip and accessible
// name; the tooltip is also its accessible description.

// A fixed toolbar named "tbToolBar" for pictures the size of `images`'.
QToolBar* createKeyedToolBar(QWidget* parent, const ImageList& images);

// Adds the button `key` showing `picture` (added to `images` under the key),
// `buttonSize` pixels large; its widget is named "tbToolBar_" + key.
QAction* addKeyedButton(QToolBar& toolbar, ImageList& images, const QString& key, const QString& picture,
                        QSize buttonSize);

// Names the arrow button through which any toolbar offers the buttons that do
// not fit, for a screen reader: it shows no text of its own.
void nameOverflowButton(QToolBar& toolbar);
