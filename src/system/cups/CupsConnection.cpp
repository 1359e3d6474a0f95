#include "system/cups/CupsConnection.h"

#include "platform/CancelToken.h"
#include "system/cups/Deadline.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Kind = PrintServiceFault::Kind;

// How long the service may take to say whether it wants the document
// ("100 Continue") before it is sent anyway, as HTTP allows.
constexpr int ContinueWaitMs = 1000;
constexpr qsizetype Chunk = 64 * 1024;

// libcups asks this instead of prompting on the terminal.
const char* noPassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

} // namespace

int CupsConnection::keepWaiting(http_t*, void* connection)
{
    const auto* self = static_cast<const CupsConnection*>(connection);
    const std::lock_guard lock(self->m_mutex);
    return self->m_shut == Shut::No ? 1 : 0;
}

CupsConnection::CupsConnection(std::chrono::seconds limit, CancelToken* abandoned, int abandonedAfter)
    : m_limit(limit), m_abandoned(abandoned), m_abandonedAfter(abandonedAfter)
{
    const auto start = Deadline::Clock::now();
    // The password callback belongs to the calling thread.
    cupsSetPasswordCB2(&noPassword, nullptr);
    const int limitMs = static_cast<int>(std::chrono::milliseconds(limit).count());
    m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, limitMs, nullptr);
    if (!m_http)
        throw CupsFailure({errno == ETIMEDOUT ? Kind::TimeLimit : Kind::NotRunning, static_cast<int>(limit.count())});
    m_socket = ::dup(httpGetFd(m_http));
    if (m_socket < 0) {
        httpClose(m_http);
        throw CupsFailure(Kind::NotRunning);
    }
    httpSetTimeout(m_http, 1.0, &CupsConnection::keepWaiting, this);
    m_deadline = std::make_unique<Deadline>(start + limit, [this] { shut(Shut::AtLimit); });
    if (m_abandoned)
        m_registration = m_abandoned->onCancel([this] { shut(Shut::Abandoned); });
}

CupsConnection::~CupsConnection()
{
    // Neither interrupt runs once these return, so the socket may close.
    if (m_abandoned)
        m_abandoned->forget(m_registration);
    m_deadline.reset();
    ::close(m_socket);
    httpClose(m_http);
}

CupsConnection::Answer CupsConnection::exchange(ipp_t* request, const char* resource, const QByteArray& authorization,
                                                const QByteArray* document, bool& documentStarted)
{
    const size_t length = ippLength(request) + (document ? static_cast<size_t>(document->size()) : 0);
    httpClearFields(m_http);
    httpSetField(m_http, HTTP_FIELD_CONTENT_TYPE, "application/ipp");
    if (!authorization.isEmpty())
        httpSetField(m_http, HTTP_FIELD_AUTHORIZATION, authorization.constData());
    httpSetLength(m_http, length);
    if (document)
        httpSetExpect(m_http, HTTP_STATUS_CONTINUE);
    if (httpPost(m_http, resource) != 0)
        throw CupsFailure(broken(Kind::StoppedAnswering));
    ippSetState(request, IPP_STATE_IDLE);
    for (ipp_state_t state = IPP_STATE_IDLE; state != IPP_STATE_DATA;) {
        state = ippWrite(m_http, request);
        if (state == IPP_STATE_ERROR)
            throw CupsFailure(broken(Kind::StoppedAnswering));
    }

    if (document) {
        // Asked to, the service says "100 Continue" when it wants the
        // document; whatever else it says now was said without it.
        if (httpWait(m_http, ContinueWaitMs)) {
            const http_status_t status = httpUpdate(m_http);
            if (status != HTTP_STATUS_CONTINUE)
                return early(status);
        }
        documentStarted = true;
        for (qsizetype at = 0; at < document->size(); at += Chunk) {
            if (httpWait(m_http, 0)) {
                const http_status_t status = httpUpdate(m_http);
                if (status != HTTP_STATUS_CONTINUE)
                    return early(status);
            }
            const size_t n = static_cast<size_t>(std::min(Chunk, document->size() - at));
            if (httpWrite2(m_http, document->constData() + at, n) < 0)
                throw CupsFailure(broken(Kind::StoppedAnswering));
        }
    }

    http_status_t status = HTTP_STATUS_CONTINUE;
    while (status == HTTP_STATUS_CONTINUE) {
        if (httpGetState(m_http) == HTTP_STATE_WAITING)
            throw CupsFailure(broken(Kind::Unreadable));
        status = httpUpdate(m_http);
    }
    if (status == HTTP_STATUS_ERROR)
        throw CupsFailure(broken(Kind::StoppedAnswering));
    if (status != HTTP_STATUS_OK)
        return {status, nullptr};
    Ipp answer(ippNew());
    for (ipp_state_t state = IPP_STATE_IDLE; state != IPP_STATE_DATA;) {
        state = ippRead(m_http, answer.get());
        if (state == IPP_STATE_ERROR)
            throw CupsFailure(broken(httpError(m_http) ? Kind::StoppedAnswering : Kind::Unreadable));
    }
    // An answer to another request is no answer to this one.
    if (ippGetRequestId(answer.get()) != ippGetRequestId(request))
        throw CupsFailure(broken(Kind::Unreadable));
    return {status, std::move(answer)};
}

QByteArray CupsConnection::authorization(const char* resource)
{
    if (cupsDoAuthentication(m_http, "POST", resource) != 0)
        return {};
    return QByteArray(httpGetAuthString(m_http));
}

void CupsConnection::shut(Shut why)
{
    const std::lock_guard lock(m_mutex);
    if (m_shut != Shut::No)
        return;
    m_shut = why;
    ::shutdown(m_socket, SHUT_RDWR);
}

PrintServiceFault CupsConnection::broken(PrintServiceFault::Kind otherwise) const
{
    const std::lock_guard lock(m_mutex);
    switch (m_shut) {
    case Shut::AtLimit:
        return {Kind::TimeLimit, static_cast<int>(m_limit.count())};
    case Shut::Abandoned:
        return {Kind::TimeLimit, m_abandonedAfter};
    case Shut::No:
        break;
    }
    return {otherwise};
}

CupsConnection::Answer CupsConnection::early(http_status_t status) const
{
    if (status == HTTP_STATUS_ERROR)
        throw CupsFailure(broken(Kind::StoppedAnswering));
    // A refusal is a refusal whenever it comes; a success is not one when
    // the document it would be about has not been sent.
    if (status == HTTP_STATUS_OK)
        throw CupsFailure(Kind::AnsweredEarly);
    return {status, nullptr};
}
