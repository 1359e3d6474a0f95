#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QTimer>
#include <functional>

class QLabel;

// Keeps the status bar's date and time panels current. It wakes once a
// minute, just after the minute changes, rather than polling.
class StatusClock : public QObject {
    Q_OBJECT

public:
    StatusClock(QLabel* datePanel, QLabel* timePanel, std::function<QDateTime()> now, QObject* parent = nullptr);

    // Shows the current date and time and schedules the next update.
    void update();

    // The locale's short time format, without seconds.
    static QString hoursAndMinutesFormat(const QLocale& locale);

    // Milliseconds from `time` to the start of the next minute.
    static int msUntilNextMinute(const QTime& time);

    const QTimer& timer() const { return m_timer; }

private:
    QLabel* m_datePanel;
    QLabel* m_timePanel;
    std::function<QDateTime()> m_now;
    QTimer m_timer;
};
