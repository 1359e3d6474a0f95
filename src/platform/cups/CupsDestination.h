#pragma once

#include "platform/PrintDestination.h"

#include <memory>

struct cups_dest_s;

// A printer of the CUPS print service, which Quick Print hands its job to
// itself: Qt's own CUPS printing drops the answer to the job's submission, so
// a queue that refuses jobs would look as if it had printed.
class CupsDestination : public PrintDestination {
public:
    // The system's default printer. Without one, a QuilloError tells the
    // merchant why: no print service to ask, or no default printer set up.
    static std::unique_ptr<CupsDestination> findDefault();

    ~CupsDestination() override;
    CupsDestination(const CupsDestination&) = delete;
    CupsDestination& operator=(const CupsDestination&) = delete;

    QString name() const override;
    // Succeeds only when CUPS has given the job a number and taken the whole
    // document. A paused printer takes jobs and keeps them in its queue.
    void print(const QString& file, const QString& title) override;

private:
    explicit CupsDestination(cups_dest_s* dest);

    cups_dest_s* m_dest;
};
