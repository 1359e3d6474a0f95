#pragma once

#include "system/cups/PrintServiceFault.h"

#include <QByteArray>

#include <cups/cups.h>

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>

class CancelToken;
class Deadline;

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

// A request to the print service that did not get its answer, and why. It
// stays inside the CUPS code, which turns it into a print's outcome or a
// look-up's message.
struct CupsFailure : std::exception {
    explicit CupsFailure(PrintServiceFault fault) : fault(std::move(fault)) {}
    const char* what() const noexcept override { return "no answer from the print service"; }
    PrintServiceFault fault;
};

// One request to the print service on a connection of its own. Its limit
// counts from the moment it starts, whatever trickles in meanwhile: when the
// limit passes, or when the merchant's wait is given up, the connection is
// shut from outside, so that a read or a write blocked in libcups ends at
// once. Nothing is ever retried or redirected here, and nobody is asked for
// a password.
class CupsConnection {
public:
    // An HTTP answer; the IPP message with it only when the status is 200.
    struct Answer {
        http_status_t status;
        Ipp ipp;
    };

    // Connects within `limit`. A wait given up through `abandoned` is told
    // as a time limit of `abandonedAfter` seconds.
    CupsConnection(std::chrono::seconds limit, CancelToken* abandoned, int abandonedAfter);
    ~CupsConnection();
    CupsConnection(const CupsConnection&) = delete;
    CupsConnection& operator=(const CupsConnection&) = delete;

    // Sends `request` to `resource`, then `document` if there is one, and
    // reads the answer. An answer that comes before the whole document has
    // been written is a failure, and so is an answer to another request.
    // `documentStarted` is set once any of the document may have been sent.
    Answer exchange(ipp_t* request, const char* resource, const QByteArray& authorization, const QByteArray* document,
                    bool& documentStarted);

    // After an HTTP 401: the credentials libcups can give without asking a
    // person (the local user's, over the local socket), or nothing.
    QByteArray authorization(const char* resource);

private:
    enum class Shut { No, AtLimit, Abandoned };

    // libcups asks this after each second of silence. Shutting the socket
    // ends a wait at once; this ends one that libcups has moved to another.
    static int keepWaiting(http_t* http, void* connection);
    void shut(Shut why);
    // Why the connection failed: its limit or the given-up wait when it was
    // shut, else `otherwise`.
    PrintServiceFault broken(PrintServiceFault::Kind otherwise) const;
    Answer early(http_status_t status) const;

    const std::chrono::seconds m_limit;
    CancelToken* const m_abandoned;
    const int m_abandonedAfter;
    http_t* m_http = nullptr;
    // A duplicate of the connection's socket, which only this object closes:
    // shutting it down from another thread can never reach a socket that
    // libcups has closed and the system has handed out again.
    int m_socket = -1;
    int m_registration = 0;
    mutable std::mutex m_mutex;
    Shut m_shut = Shut::No;
    std::unique_ptr<Deadline> m_deadline;
};
