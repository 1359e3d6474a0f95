#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

// Stops the text caret blinking once the user has left the keyboard and mouse
// alone for a while, and starts it again at the next key or click. A caret
// that blinks on in an idle window wakes the program twice a second and
// repaints the cheque face each time; desktops stop it the same way.
class CaretBlinkLimiter : public QObject {
    Q_OBJECT

public:
    explicit CaretBlinkLimiter(std::chrono::milliseconds idleTime, QObject* parent = nullptr);
    ~CaretBlinkLimiter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void stopBlinking();

    QTimer m_idle;
    int m_flashTime = 0; // the blink to bring back; 0 while blinking as usual
};
