#pragma once

#include <QColor>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QString>

// A set of equally sized pictures addressed by key, in which one colour
// stands for transparency, as toolbars take their button images from.
class ImageList : public QObject {
    Q_OBJECT

public:
    ImageList(QSize imageSize, QColor maskColor, QObject* parent = nullptr);

    // Adds the picture at `path` (a resource path) under `key`. A missing
    // picture leaves an empty image, so a button shows without a picture
    // rather than the program failing.
    void add(const QString& key, const QString& path);

    QPixmap pixmap(const QString& key) const;
    QIcon icon(const QString& key) const;
    QSize imageSize() const { return m_imageSize; }
    QColor maskColor() const { return m_maskColor; }

private:
    QSize m_imageSize;
    QColor m_maskColor;
    QHash<QString, QPixmap> m_images;
};
