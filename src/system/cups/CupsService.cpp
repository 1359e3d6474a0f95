#include "system/cups/CupsService.h"

#include "platform/CancelToken.h"

CupsService::CupsService(CancelToken* abandoned, int abandonedAfter)
    : m_abandoned(abandoned), m_abandonedAfter(abandonedAfter)
{}

Ipp CupsService::ask(ipp_t* request, const char* resource, std::chrono::seconds limit, const QByteArray* document)
{
    for (int attempt = 0;; ++attempt) {
        if (m_abandoned && m_abandoned->isCancelled())
            throw CupsFailure({PrintServiceFault::Kind::TimeLimit, m_abandonedAfter});
        CupsConnection connection(limit, m_abandoned, m_abandonedAfter);
        CupsConnection::Answer answer =
            connection.exchange(request, resource, m_authorization, document, m_documentStarted);
        if (answer.status == HTTP_STATUS_OK)
            return std::move(answer.ipp);
        if (answer.status == HTTP_STATUS_UNAUTHORIZED && attempt == 0) {
            m_authorization = connection.authorization(resource);
            if (!m_authorization.isEmpty())
                continue;
        }
        throw CupsFailure(PrintServiceFault::ofAnswer(answer.status, 0));
    }
}
