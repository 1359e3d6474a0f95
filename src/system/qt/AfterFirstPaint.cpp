#include "system/qt/AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

void AfterFirstPaint::run(QWidget& window, std::function<void()> then)
{
    window.installEventFilter(new AfterFirstPaint(window, std::move(then)));
}

AfterFirstPaint::AfterFirstPaint(QWidget& window, std::function<void()> then)
    : QObject(&window), m_then(std::move(then))
{}

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && watched == parent()) {
        watched->removeEventFilter(this);
        // The paint pass flushes to the screen once every widget has painted:
        // the work waits until then.
        QTimer::singleShot(0, parent(), m_then);
        deleteLater();
    }
    return QObject::eventFilter(watched, event);
}
