#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Calls back once the window named `windowName` has been painted for the first
// time: after the paint pass that drew it and its children has finished and
// reached the window system.
class FirstPaint : public QObject {
public:
    FirstPaint(QString windowName, std::function<void()> painted);
    ~FirstPaint() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_windowName;
    std::function<void()> m_painted;
    bool m_seen = false;
};
