#pragma once

#include <QObject>
#include <functional>

class PrintJobStates;
class UncertainPrints;

// Settles the prints whose outcome could not be known: asks the print service
// what became of each such job, without blocking, and records its answer. A
// job the service cannot tell about stays uncertain, to be asked again later.
class UncertainSettler : public QObject {
    Q_OBJECT

public:
    // `openRegister` gives the register's uncertain prints, or throws when it
    // cannot be opened: then nothing is settled this time.
    UncertainSettler(std::function<UncertainPrints&()> openRegister, PrintJobStates& states, QObject* parent = nullptr);

    // Asks about every uncertain print now; a settling already under way is
    // not started twice.
    void settle();

Q_SIGNALS:
    // The service's answer about `draft` is on record: it printed, or not.
    void lookedUp(qint64 draft, bool printed);
    // Every answer of this round is in (or none was needed).
    void settled();

private:
    void answered();

    std::function<UncertainPrints&()> m_openRegister;
    PrintJobStates& m_states;
    int m_waiting = 0;
};
