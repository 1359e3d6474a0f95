#pragma once

#include "system/cups/CupsConnection.h"

#include <QByteArray>

#include <chrono>

class CancelToken;

// The print service as one piece of work talks to it: each request on a
// connection of its own, with its own limit. Before every request, work whose
// wait has been given up stops; a request the service answers with HTTP 401
// is sent once more with the credentials libcups has without asking anybody.
class CupsService {
public:
    // `abandoned` (may be null: tidying up after a failure) tells when the
    // merchant's wait, of `abandonedAfter` seconds, was given up.
    CupsService(CancelToken* abandoned, int abandonedAfter);

    // The service's IPP answer to `request`, whatever its IPP status. Any
    // other answer, or none, throws CupsFailure.
    Ipp ask(ipp_t* request, const char* resource, std::chrono::seconds limit, const QByteArray* document = nullptr);

    // Whether any of a document may have reached the service.
    bool documentStarted() const { return m_documentStarted; }

private:
    CancelToken* const m_abandoned;
    const int m_abandonedAfter;
    QByteArray m_authorization;
    bool m_documentStarted = false;
};
