#include "system/qt/UserInputHold.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

UserInputHold::UserInputHold() : m_cursorShown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
{
    if (m_cursorShown)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputHold::~UserInputHold()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (m_cursorShown)
        QGuiApplication::restoreOverrideCursor();
}

bool UserInputHold::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Taken as the widget's own key, the key triggers no shortcut; the
        // key press that follows is dropped below.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
