#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs `then` once `window` has been painted for the first time, after that
// paint has reached the screen: for work that must not hold back the window
// the merchant waits to see.
class AfterFirstPaint : public QObject {
public:
    static void run(QWidget& window, std::function<void()> then);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    AfterFirstPaint(QWidget& window, std::function<void()> then);

    std::function<void()> m_then;
};
