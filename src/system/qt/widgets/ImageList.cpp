#include "system/qt/widgets/ImageList.h"

#include <QBitmap>

ImageList::ImageList(QSize imageSize, QColor maskColor, QObject* parent)
    : QObject(parent), m_imageSize(imageSize), m_maskColor(maskColor)
{}

void ImageList::add(const QString& key, const QString& path)
{
    QPixmap picture(path);
    if (picture.isNull()) {
        picture = QPixmap(m_imageSize);
        picture.fill(Qt::transparent);
    } else {
        picture.setMask(picture.createMaskFromColor(m_maskColor, Qt::MaskInColor));
    }
    m_images.insert(key, picture);
}

QPixmap ImageList::pixmap(const QString& key) const
{
    return m_images.value(key);
}

QIcon ImageList::icon(const QString& key) const
{
    return QIcon(pixmap(key));
}
