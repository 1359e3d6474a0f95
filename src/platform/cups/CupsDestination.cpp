#include "platform/cups/CupsDestination.h"

#include "platform/BoundedWork.h"
#include "platform/CancelToken.h"
#include "platform/DefaultPrinter.h"
#include "platform/QuilloError.h"
#include "print/PrintedPage.h"

#include <QDir>
#include <QFile>
#include <QSizeF>
#include <QUrl>

#include <cups/cups.h>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

QString printServiceDown()
{
    return QStringLiteral("The print service is not running, so the check was not printed. Start the computer's "
                          "print service (CUPS), or ask whoever looks after this computer to, and try again.");
}

QString timeLimitReached(int seconds)
{
    return QStringLiteral("The print service did not answer within %1 seconds, so the check was not printed. "
                          "Check that the computer's print service (CUPS) is running, or ask whoever looks after "
                          "this computer to, and try again.")
        .arg(seconds);
}

QString stoppedAnswering()
{
    return QStringLiteral("The print service stopped answering, so the check was not printed. Check that the "
                          "computer's print service (CUPS) is running, or ask whoever looks after this computer "
                          "to, and try again.");
}

QString ownDefaultMissing(const QString& printer)
{
    return QStringLiteral("The default printer \"%1\" in your own printer settings does not exist. Choose a "
                          "printer that exists as your default in the system's printer settings, and try again.")
        .arg(printer);
}

QString notAcceptingJobs(const QString& printer)
{
    return QStringLiteral("The printer \"%1\" is not accepting jobs, so the check was not printed. Let it accept "
                          "jobs again in the system's printer settings, or make another printer the default, "
                          "and try again.")
        .arg(printer);
}

QString notTaken(const QString& printer)
{
    return QStringLiteral("The printer \"%1\" did not take the check, so it was not printed. Check the printer "
                          "and try again.")
        .arg(printer);
}

bool successful(ipp_status_t status)
{
    return status < IPP_STATUS_REDIRECTION_OTHER_SITE;
}

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDeleter>;

// Why the service refused a request about `printer`, from its answer, which
// carries an unsuccessful status.
QString refusal(ipp_t* answer, const QString& printer)
{
    const ipp_status_t status = ippGetStatusCode(answer);
    if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return notAcceptingJobs(printer);
    ipp_attribute_t* message = ippFindAttribute(answer, "status-message", IPP_TAG_TEXT);
    const QString said =
        message ? QString::fromUtf8(ippGetString(message, 0, nullptr)) : QString::fromUtf8(ippErrorString(status));
    return notTaken(printer) + QStringLiteral(" The print service said: %1").arg(said);
}

Ipp request(ipp_op_t operation, const QByteArray& printerUri)
{
    Ipp ipp(ippNewRequest(operation));
    if (!printerUri.isEmpty())
        ippAddString(ipp.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.constData());
    ippAddString(ipp.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return ipp;
}

// One connection to the print service, on which every wait ends at the
// current request's time limit, or at once when the merchant's wait has been
// given up.
class Connection {
public:
    explicit Connection(const CancelToken& abandoned) : m_abandoned(abandoned) {}
    ~Connection()
    {
        if (m_http)
            httpClose(m_http);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void open()
    {
        const int limit = CupsDestination::RequestLimit;
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, limit * 1000, nullptr);
        if (!m_http)
            throw QuilloError(errno == ETIMEDOUT ? timeLimitReached(limit) : printServiceDown());
        // Asked each half second of silence whether to wait on.
        httpSetTimeout(m_http, 0.5, &Connection::keepWaiting, this);
    }

    // Sends `ipp` to `resource` and returns the service's answer. A request
    // that gets no answer in time, or whose connection breaks, fails.
    Ipp ask(Ipp ipp, const char* resource, int limit = CupsDestination::RequestLimit)
    {
        startRequest(limit);
        // cupsDoRequest takes the request and frees it.
        Ipp answer(cupsDoRequest(m_http, ipp.release(), resource));
        if (!answer)
            throw QuilloError(noAnswer());
        return answer;
    }

    // Sends `ipp` with `document` as its data and returns the answer.
    Ipp send(const Ipp& ipp, const char* resource, const QByteArray& document)
    {
        startRequest(CupsDestination::DocumentLimit);
        // The length is that of the whole message: the request, then the document.
        const size_t length = ippLength(ipp.get()) + static_cast<size_t>(document.size());
        if (cupsSendRequest(m_http, ipp.get(), resource, length) == HTTP_STATUS_CONTINUE) {
            constexpr qsizetype Chunk = 64 * 1024;
            for (qsizetype at = 0; at < document.size(); at += Chunk) {
                const qsizetype n = std::min(Chunk, document.size() - at);
                if (cupsWriteRequestData(m_http, document.constData() + at, static_cast<size_t>(n)) !=
                    HTTP_STATUS_CONTINUE)
                    throw QuilloError(noAnswer());
            }
        }
        // Only an answer read now counts: a status left from an earlier
        // request says nothing about this one.
        Ipp answer(cupsGetResponse(m_http, resource));
        if (!answer)
            throw QuilloError(noAnswer());
        return answer;
    }

    // Tidying up after a failure: waits its own limit even when the merchant's
    // wait has been given up, and never fails.
    void tryToAsk(Ipp ipp, const char* resource) noexcept
    {
        m_tidyingUp = true;
        try {
            ask(std::move(ipp), resource);
        } catch (const QuilloError&) {
        }
    }

private:
    void startRequest(int limit)
    {
        m_limit = limit;
        m_deadline = Clock::now() + std::chrono::seconds(limit);
        m_timedOut = false;
    }

    QString noAnswer() const
    {
        if (m_timedOut)
            return timeLimitReached(m_limit);
        // A service that goes away mid-request leaves libcups reporting the
        // broken connection; what it reports then (often "Success") is no
        // reason to show.
        return stoppedAnswering();
    }

    static int keepWaiting(http_t*, void* data)
    {
        auto* self = static_cast<Connection*>(data);
        if ((self->m_abandoned.isCancelled() && !self->m_tidyingUp) || Clock::now() >= self->m_deadline) {
            self->m_timedOut = true;
            return 0;
        }
        return 1;
    }

    const CancelToken& m_abandoned;
    http_t* m_http = nullptr;
    Clock::time_point m_deadline;
    int m_limit = CupsDestination::RequestLimit;
    bool m_timedOut = false;
    bool m_tidyingUp = false;
};

// The default printer of the user's own settings: $LPDEST, $PRINTER, then
// the "Default" line of ~/.cups/lpoptions, as the CUPS commands read them.
// Empty when the user has not chosen one.
QString ownDefaultPrinter()
{
    for (const char* variable : {"LPDEST", "PRINTER"}) {
        const QString value = qEnvironmentVariable(variable);
        // "lp" is what many shells set without anyone choosing it.
        if (!value.isEmpty() && !(value == QLatin1String("lp") && qstrcmp(variable, "PRINTER") == 0))
            return value.section(QLatin1Char('/'), 0, 0);
    }
    QFile options(QDir::homePath() + QStringLiteral("/.cups/lpoptions"));
    if (!options.open(QIODevice::ReadOnly))
        return {};
    while (!options.atEnd()) {
        const QByteArray line = options.readLine().trimmed();
        if (line.size() > 8 && qstrnicmp(line.constData(), "Default ", 8) == 0)
            return QString::fromUtf8(line.mid(8).trimmed().split(' ').first()).section(QLatin1Char('/'), 0, 0);
    }
    return {};
}

QByteArray localUri(const char* kind, const QString& printer)
{
    return QByteArrayLiteral("ipp://localhost/") + kind + '/' + QUrl::toPercentEncoding(printer);
}

QByteArray resourceOf(const QByteArray& uri)
{
    return uri.mid(uri.indexOf('/', qstrlen("ipp://")));
}

int integer(ipp_t* collection, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(collection, name, IPP_TAG_INTEGER);
    return attribute ? ippGetInteger(attribute, 0) : -1;
}

// The printer's default paper and printable area, from its answer: sizes and
// margins in hundredths of a millimetre.
QPageLayout layoutFrom(ipp_t* printer)
{
    ipp_attribute_t* media = ippFindAttribute(printer, "media-col-default", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* col = media ? ippGetCollection(media, 0) : nullptr;
    ipp_attribute_t* sizeAttribute = col ? ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
    ipp_t* size = sizeAttribute ? ippGetCollection(sizeAttribute, 0) : nullptr;
    const int width = size ? integer(size, "x-dimension") : -1;
    const int length = size ? integer(size, "y-dimension") : -1;
    if (width <= 0 || length <= 0)
        return DefaultPrinter::fallbackLayout();
    const auto points = [](int hundredths) { return hundredths < 0 ? 0.0 : hundredths * 72.0 / 2540.0; };
    return QPageLayout(
        QPageSize(QSizeF(points(width), points(length)), QPageSize::Point, QString(), QPageSize::FuzzyMatch),
        QPageLayout::Portrait,
        QMarginsF(points(integer(col, "media-left-margin")), points(integer(col, "media-top-margin")),
                  points(integer(col, "media-right-margin")), points(integer(col, "media-bottom-margin"))),
        QPageLayout::Point);
}

struct Found {
    QString name;
    QByteArray uri;
    QPageLayout layout;
};

Found lookUpDefault(const CancelToken& abandoned)
{
    Connection service(abandoned);
    service.open();

    const QString own = ownDefaultPrinter();
    QString name = own;
    if (name.isEmpty()) {
        Ipp question = request(IPP_OP_CUPS_GET_DEFAULT, {});
        ippAddString(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                     "printer-name");
        const Ipp answer = service.ask(std::move(question), "/");
        ipp_attribute_t* printerName = ippFindAttribute(answer.get(), "printer-name", IPP_TAG_NAME);
        if (!successful(ippGetStatusCode(answer.get())) || !printerName)
            throw QuilloError(noDefaultPrinterMessage());
        name = QString::fromUtf8(ippGetString(printerName, 0, nullptr));
    }

    static const char* const wanted[] = {"media-col-default"};
    for (const char* kind : {"printers", "classes"}) {
        const QByteArray uri = localUri(kind, name);
        Ipp question = request(IPP_OP_GET_PRINTER_ATTRIBUTES, uri);
        ippAddStrings(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 1, nullptr, wanted);
        const Ipp answer = service.ask(std::move(question), resourceOf(uri).constData());
        if (successful(ippGetStatusCode(answer.get())))
            return {name, uri, layoutFrom(answer.get())};
    }
    throw QuilloError(own.isEmpty() ? noDefaultPrinterMessage() : ownDefaultMissing(own));
}

// Hands `document` to `printer` as one job and returns its number once the
// service has confirmed it. Any job created is cancelled when something fails
// after it.
int submit(const QString& printer, const QByteArray& uri, const QByteArray& document, const CancelToken& abandoned)
{
    Connection service(abandoned);
    service.open();
    const QByteArray resource = resourceOf(uri);

    Ipp create = request(IPP_OP_CREATE_JOB, uri);
    ippAddString(create.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, "Quillo");
    const Ipp created = service.ask(std::move(create), resource.constData());
    if (!successful(ippGetStatusCode(created.get())))
        throw QuilloError(refusal(created.get(), printer));
    const int job = integer(created.get(), "job-id");
    if (job <= 0)
        throw QuilloError(notTaken(printer));

    try {
        const Ipp send = request(IPP_OP_SEND_DOCUMENT, uri);
        ippAddInteger(send.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        ippAddString(send.get(), IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
        ippAddBoolean(send.get(), IPP_TAG_OPERATION, "last-document", 1);
        const Ipp sent = service.send(send, resource.constData(), document);
        if (!successful(ippGetStatusCode(sent.get())))
            throw QuilloError(refusal(sent.get(), printer));

        // Asked afterwards, the job must still be on its way or done.
        Ipp question = request(IPP_OP_GET_JOB_ATTRIBUTES, uri);
        ippAddInteger(question.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        ippAddString(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
        const Ipp state = service.ask(std::move(question), resource.constData());
        ipp_attribute_t* jobState = ippFindAttribute(state.get(), "job-state", IPP_TAG_ENUM);
        const int value = jobState ? ippGetInteger(jobState, 0) : 0;
        if (!successful(ippGetStatusCode(state.get())) ||
            !(value == IPP_JSTATE_PENDING || value == IPP_JSTATE_HELD || value == IPP_JSTATE_PROCESSING ||
              value == IPP_JSTATE_COMPLETED))
            throw QuilloError(notTaken(printer));
        return job;
    } catch (const QuilloError&) {
        // A half-sent draft never prints.
        Ipp cancel = request(IPP_OP_CANCEL_JOB, uri);
        ippAddInteger(cancel.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        service.tryToAsk(std::move(cancel), resource.constData());
        throw;
    }
}

} // namespace

QFuture<FoundPrinter> CupsDestination::findDefault()
{
    // Connecting, naming the default and asking for its paper: three requests.
    constexpr int Limit = 4 * RequestLimit;
    return BoundedWork::run<FoundPrinter>(
        [](CancelToken& abandoned) -> FoundPrinter {
            try {
                const Found found = lookUpDefault(abandoned);
                return {std::shared_ptr<CupsDestination>(new CupsDestination(found.name, found.uri, found.layout)), {}};
            } catch (const QuilloError& error) {
                return {nullptr, error.message()};
            }
        },
        std::chrono::seconds(Limit),
        [] {
            return FoundPrinter{nullptr, timeLimitReached(Limit)};
        });
}

CupsDestination::CupsDestination(QString name, QByteArray uri, QPageLayout layout)
    : m_name(std::move(name)), m_uri(std::move(uri)), m_layout(std::move(layout))
{}

QString CupsDestination::name() const
{
    return m_name;
}

QPageLayout CupsDestination::pageLayout() const
{
    return m_layout;
}

QFuture<PrintOutcome> CupsDestination::print(const PrintedPage& page)
{
    // The document goes from memory to the service: no file holds the draft.
    const QByteArray document = page.toPdf(QStringLiteral("Quillo"));
    constexpr int Limit = 5 * RequestLimit + DocumentLimit;
    // The work may outlive this object when the merchant's wait is given up,
    // so it keeps copies of what it needs.
    return BoundedWork::run<PrintOutcome>(
        [printer = m_name, uri = m_uri, document](CancelToken& abandoned) {
            try {
                return PrintOutcome::confirmed(printer, submit(printer, uri, document, abandoned));
            } catch (const QuilloError& error) {
                return PrintOutcome::notPrinted(error.message(), printer);
            }
        },
        std::chrono::seconds(Limit),
        [printer = m_name] { return PrintOutcome::notPrinted(timeLimitReached(Limit), printer); });
}
