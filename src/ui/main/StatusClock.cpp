#include "ui/main/StatusClock.h"

#include <QLabel>
#include <QLocale>

StatusClock::StatusClock(QLabel* datePanel, QLabel* timePanel, std::function<QDateTime()> now, QObject* parent)
    : QObject(parent), m_datePanel(datePanel), m_timePanel(timePanel), m_now(std::move(now))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StatusClock::update);
}

void StatusClock::update()
{
    const QDateTime now = m_now();
    const QLocale locale = QLocale::system();
    m_datePanel->setText(locale.toString(now.date(), QLocale::ShortFormat));
    m_timePanel->setText(locale.toString(now.time(), QLocale::ShortFormat));
    // A little past the minute, so that a coarse timer never fires just early.
    m_timer.start(msUntilNextMinute(now.time()) + 50);
}

int StatusClock::msUntilNextMinute(const QTime& time)
{
    return 60000 - (time.second() * 1000 + time.msec());
}
