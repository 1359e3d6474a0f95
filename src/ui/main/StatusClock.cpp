#include "ui/main/StatusClock.h"

#include <QLabel>
#include <QLocale>
#include <QRegularExpression>

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
    m_timePanel->setText(locale.toString(now.time(), hoursAndMinutesFormat(locale)));
    // A little past the minute, so that a coarse timer never fires just early.
    m_timer.start(msUntilNextMinute(now.time()) + 50);
}

QString StatusClock::hoursAndMinutesFormat(const QLocale& locale)
{
    // Some locales (the C locale among them) show seconds in their short
    // format; the panel shows hours and minutes only, and changes once a minute.
    static const QRegularExpression seconds(QStringLiteral("[:.]?s{1,2}"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds);
}

int StatusClock::msUntilNextMinute(const QTime& time)
{
    return 60000 - (time.second() * 1000 + time.msec());
}
