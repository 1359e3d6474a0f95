#include "FirstPaint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

FirstPaint::FirstPaint(QString windowName, std::function<void()> painted)
    : m_windowName(std::move(windowName)), m_painted(std::move(painted))
{
    QCoreApplication::instance()->installEventFilter(this);
}

FirstPaint::~FirstPaint()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool FirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window()->objectName() == m_windowName) {
        m_seen = true;
        QCoreApplication::instance()->removeEventFilter(this);
        // The paint pass paints the window and all its children, then flushes
        // them to the window system; a zero timer runs after all of that.
        QTimer::singleShot(0, this, [this] { m_painted(); });
    }
    return false;
}
