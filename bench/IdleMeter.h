#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

// Measures what an idle program costs: after letting it settle, the CPU time
// and wake-ups of all its threads over a stretch of time, and which timers
// and paints the event loop ran meanwhile (to tell what woke it).
class IdleMeter : public QObject {
public:
    IdleMeter(int settleMs, int windowMs, std::function<void()> done);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void begin();
    void end();

    int m_windowMs;
    std::function<void()> m_done;
    std::int64_t m_cpuStart = 0;
    std::int64_t m_switchesStart = 0;
    std::int64_t m_bootStart = 0;
    QMap<QString, int> m_events;
};
