#include "IdleMeter.h"

#include "ProcessStats.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>
#include <QTimer>

IdleMeter::IdleMeter(int settleMs, int windowMs, std::function<void()> done)
    : m_windowMs(windowMs), m_done(std::move(done))
{
    QTimer::singleShot(settleMs, this, &IdleMeter::begin);
}

void IdleMeter::begin()
{
    QCoreApplication::instance()->installEventFilter(this);
    m_bootStart = ProcessStats::bootNs();
    m_cpuStart = ProcessStats::cpuNs();
    m_switchesStart = ProcessStats::contextSwitches();
    QTimer::singleShot(m_windowMs, this, &IdleMeter::end);
}

void IdleMeter::end()
{
    const std::int64_t cpu = ProcessStats::cpuNs() - m_cpuStart;
    const std::int64_t switches = ProcessStats::contextSwitches() - m_switchesStart;
    const std::int64_t elapsed = ProcessStats::bootNs() - m_bootStart;
    QCoreApplication::instance()->removeEventFilter(this);
    ProcessStats::report("idle_seconds", elapsed / 1e9);
    ProcessStats::report("idle_cpu_ms", cpu / 1e6);
    ProcessStats::report("idle_cpu_percent", 100.0 * double(cpu) / double(elapsed));
    ProcessStats::report("idle_context_switches", double(switches));
    QStringList events;
    for (auto it = m_events.cbegin(); it != m_events.cend(); ++it)
        events << QStringLiteral("%1 x%2").arg(it.key()).arg(it.value());
    ProcessStats::report("idle_events", events.join(QStringLiteral(", ")));
    m_done();
}

bool IdleMeter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Timer:
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::SockAct: {
        const QString kind = event->type() == QEvent::Timer     ? QStringLiteral("timer")
                             : event->type() == QEvent::SockAct ? QStringLiteral("socket")
                                                                : QStringLiteral("paint");
        QString receiver = QString::fromLatin1(watched->metaObject()->className());
        // A plain timer says little; its owner says whose it is.
        if (watched->parent() && receiver == QLatin1String("QTimer"))
            receiver += QStringLiteral(" of ") + QString::fromLatin1(watched->parent()->metaObject()->className());
        ++m_events[QStringLiteral("%1 %2").arg(kind, receiver)];
        break;
    }
    default:
        break;
    }
    return false;
}
