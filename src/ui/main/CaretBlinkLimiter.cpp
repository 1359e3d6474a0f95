#include "ui/main/CaretBlinkLimiter.h"

#include <QApplication>
#include <QEvent>

CaretBlinkLimiter::CaretBlinkLimiter(std::chrono::milliseconds idleTime, QObject* parent) : QObject(parent)
{
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleTime);
    connect(&m_idle, &QTimer::timeout, this, &CaretBlinkLimiter::stopBlinking);
    qApp->installEventFilter(this);
    m_idle.start();
}

CaretBlinkLimiter::~CaretBlinkLimiter()
{
    if (m_flashTime != 0)
        QApplication::setCursorFlashTime(m_flashTime);
}

bool CaretBlinkLimiter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
        if (m_flashTime != 0) {
            QApplication::setCursorFlashTime(m_flashTime);
            m_flashTime = 0;
        }
        m_idle.start();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void CaretBlinkLimiter::stopBlinking()
{
    if (QApplication::cursorFlashTime() == 0)
        return;
    m_flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
}
