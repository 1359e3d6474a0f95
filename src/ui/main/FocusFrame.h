#pragma once

#include <QObject>

class QWidget;

// Draws the style's focus rectangle over a widget that shows no focus of its
// own, such as a picture that takes a Tab stop: without it, the next Tab
// seems to skip.
class FocusFrame : public QObject {
    Q_OBJECT

public:
    // Frames `widget` while it has the focus; the widget owns the frame.
    explicit FocusFrame(QWidget& widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_widget;
    bool m_painting = false;
};
