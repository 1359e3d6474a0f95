#pragma once

#include <QString>

// Why nothing prints on a machine without a default printer.
inline QString noDefaultPrinterMessage()
{
    return QStringLiteral("No default printer is set up, so the check could not be printed. "
                          "Set up a printer in the system's printer settings and try again.");
}

// A printer that takes finished documents as jobs.
class PrintDestination {
public:
    virtual ~PrintDestination() = default;

    // The printer's name, as the system's printer settings show it.
    virtual QString name() const = 0;

    // Hands the PDF document in `file` to the printer as one job titled
    // `title`. Returns only once the print system has taken the whole
    // document; otherwise throws a QuilloError that says why.
    virtual void print(const QString& file, const QString& title) = 0;
};
