#include "ui/main/FocusFrame.h"

#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

FocusFrame::FocusFrame(QWidget& widget) : QObject(&widget), m_widget(widget)
{
    widget.installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &m_widget || event->type() != QEvent::Paint || m_painting || !m_widget.hasFocus())
        return false;
    // The widget paints itself first; the frame goes on top, inside any
    // border of its own.
    m_painting = true;
    static_cast<QObject&>(m_widget).event(event);
    m_painting = false;

    QStyleOptionFocusRect option;
    option.initFrom(&m_widget);
    const auto* frame = qobject_cast<const QFrame*>(&m_widget);
    option.rect = frame ? frame->contentsRect() : m_widget.rect();
    option.backgroundColor = m_widget.palette().color(m_widget.backgroundRole());
    QPainter painter(&m_widget);
    m_widget.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &m_widget);
    return true;
}
