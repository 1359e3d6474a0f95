#include "system/cups/CupsDestination.h"

#include "platform/BoundedWork.h"
#include "platform/CancelToken.h"
#include "platform/QuilloError.h"
#include "print/PaperPolicy.h"
#include "print/PrintedPage.h"
#include "system/cups/CupsService.h"
#include "system/cups/PrintServiceFault.h"

#include <QDir>
#include <QFile>
#include <QSizeF>
#include <QUrl>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>

namespace {

using Kind = PrintServiceFault::Kind;
using Step = PrintServiceFault::Step;
using std::chrono::seconds;

// The whole look-up: naming the default and asking for its paper, as a
// printer and then as a class.
constexpr int LookUpLimit = 3 * CupsDestination::RequestLimit;
// The whole print: creating the job, sending the document, reading its state.
constexpr int PrintLimit = 2 * CupsDestination::RequestLimit + CupsDestination::DocumentLimit;
// Past its limit, work stops at once and tidies up: one cancel, or for a
// print, a cancel and a question about the job's state.
constexpr int LookUpGrace = CupsDestination::CancelLimit;
constexpr int PrintGrace = 2 * CupsDestination::CancelLimit;

QString ownDefaultMissing(const QString& printer)
{
    return QStringLiteral("The default printer \"%1\" in your own printer settings does not exist. Choose a "
                          "printer that exists as your default in the system's printer settings, and try again.")
        .arg(printer);
}

QString systemDefaultMissing(const QString& printer)
{
    return QStringLiteral("The default printer \"%1\" in the printer settings for everyone on this computer does not "
                          "exist. Choose a printer that exists as your default in the system's printer settings, or "
                          "ask whoever looks after this computer to change that default, and try again.")
        .arg(printer);
}

bool successful(ipp_t* answer)
{
    return ippGetStatusCode(answer) < IPP_STATUS_REDIRECTION_OTHER_SITE;
}

// What an unsuccessful IPP answer names, with the service's own words if it
// gave any.
PrintServiceFault faultOf(ipp_t* answer)
{
    ipp_attribute_t* message = ippFindAttribute(answer, "status-message", IPP_TAG_TEXT);
    const QString said = message ? QString::fromUtf8(ippGetString(message, 0, nullptr)) : QString();
    return PrintServiceFault::ofAnswer(HTTP_STATUS_OK, ippGetStatusCode(answer), said);
}

Ipp request(ipp_op_t operation, const QByteArray& printerUri)
{
    Ipp ipp(ippNewRequest(operation));
    if (!printerUri.isEmpty())
        ippAddString(ipp.get(), IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.constData());
    ippAddString(ipp.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return ipp;
}

Ipp jobRequest(ipp_op_t operation, const QByteArray& printerUri, int job)
{
    Ipp ipp = request(operation, printerUri);
    ippAddInteger(ipp.get(), IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
    return ipp;
}

// A printer chosen in settings rather than by the print service, and whose
// settings chose it.
struct ChosenDefault {
    enum class By { Nobody, User, System };
    QString name;
    By by = By::Nobody;
};

// The printer named on the first "Default" line of an lpoptions file.
QString defaultIn(const QString& path)
{
    QFile options(path);
    if (!options.open(QIODevice::ReadOnly))
        return {};
    while (!options.atEnd()) {
        const QByteArray line = options.readLine().trimmed();
        if (line.size() > 8 && qstrnicmp(line.constData(), "Default ", 8) == 0)
            return QString::fromUtf8(line.mid(8).trimmed().split(' ').first()).section(QLatin1Char('/'), 0, 0);
    }
    return {};
}

// $LPDEST, $PRINTER, ~/.cups/lpoptions, then lpoptions in CUPS's server
// folder, as the CUPS commands read them.
ChosenDefault chosenDefault()
{
    for (const char* variable : {"LPDEST", "PRINTER"}) {
        const QString value = qEnvironmentVariable(variable);
        // "lp" is what many shells set without anyone choosing it.
        if (!value.isEmpty() && !(value == QLatin1String("lp") && qstrcmp(variable, "PRINTER") == 0))
            return {value.section(QLatin1Char('/'), 0, 0), ChosenDefault::By::User};
    }
    if (const QString own = defaultIn(QDir::homePath() + QStringLiteral("/.cups/lpoptions")); !own.isEmpty())
        return {own, ChosenDefault::By::User};
    const QString serverRoot = qEnvironmentVariable("CUPS_SERVERROOT", QStringLiteral("/etc/cups"));
    if (const QString everyone = defaultIn(serverRoot + QStringLiteral("/lpoptions")); !everyone.isEmpty())
        return {everyone, ChosenDefault::By::System};
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
    if (!PaperPolicy::isPlausiblePaper(width / 2540.0, length / 2540.0))
        return PaperPolicy::fallbackLayout();
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

Found lookUpDefault(CancelToken& abandoned)
{
    CupsService service(&abandoned, LookUpLimit);
    const ChosenDefault chosen = chosenDefault();
    QString name = chosen.name;
    try {
        if (name.isEmpty()) {
            Ipp question = request(IPP_OP_CUPS_GET_DEFAULT, {});
            ippAddString(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                         "printer-name");
            const Ipp answer = service.ask(question.get(), "/", seconds(CupsDestination::RequestLimit));
            if (ippGetStatusCode(answer.get()) == IPP_STATUS_ERROR_NOT_FOUND)
                throw QuilloError(noDefaultPrinterMessage());
            if (!successful(answer.get()))
                throw CupsFailure(faultOf(answer.get()));
            ipp_attribute_t* printerName = ippFindAttribute(answer.get(), "printer-name", IPP_TAG_NAME);
            if (!printerName)
                throw CupsFailure(Kind::Unreadable);
            name = QString::fromUtf8(ippGetString(printerName, 0, nullptr));
        }

        static const char* const wanted[] = {"media-col-default"};
        for (const char* kind : {"printers", "classes"}) {
            const QByteArray uri = localUri(kind, name);
            Ipp question = request(IPP_OP_GET_PRINTER_ATTRIBUTES, uri);
            ippAddStrings(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 1, nullptr,
                          wanted);
            const Ipp answer =
                service.ask(question.get(), resourceOf(uri).constData(), seconds(CupsDestination::RequestLimit));
            if (successful(answer.get()))
                return {name, uri, layoutFrom(answer.get())};
            if (ippGetStatusCode(answer.get()) != IPP_STATUS_ERROR_NOT_FOUND)
                throw CupsFailure(faultOf(answer.get()));
        }
    } catch (const CupsFailure& failure) {
        throw QuilloError(failure.fault.during(Step::LookUp).notPrinted(name));
    }
    switch (chosen.by) {
    case ChosenDefault::By::User:
        throw QuilloError(ownDefaultMissing(name));
    case ChosenDefault::By::System:
        throw QuilloError(systemDefaultMissing(name));
    case ChosenDefault::By::Nobody:
        break;
    }
    throw QuilloError(PrintServiceFault{Kind::NotFound}.notPrinted(name));
}

int jobStateOf(ipp_t* answer)
{
    ipp_attribute_t* state = ippFindAttribute(answer, "job-state", IPP_TAG_ENUM);
    return state ? ippGetInteger(state, 0) : 0;
}

Ipp jobStateQuestion(const QByteArray& uri, int job)
{
    static const char* const wanted[] = {"job-state", "job-k-octets", "number-of-documents"};
    Ipp question = jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, uri, job);
    ippAddStrings(question.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    return question;
}

// Whether the job's state answer shows the document in the job: a service
// may answer a document's request without keeping the document.
bool holdsDocument(ipp_t* answer)
{
    return integer(answer, "job-k-octets") > 0 || integer(answer, "number-of-documents") >= 1;
}

bool endedUnprinted(int state)
{
    return state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED;
}

// After a failure: cancels the job. Nothing when it is sure not to print,
// else why the cancel failed. Waits its own short limits, even when the
// merchant's wait has been given up; once it has, only the cancel is sent.
std::optional<PrintServiceFault> cancelFailure(const QByteArray& uri, int job, const CancelToken& abandoned)
{
    CupsService tidyUp(nullptr, 0);
    const QByteArray resource = resourceOf(uri);
    try {
        Ipp cancel = jobRequest(IPP_OP_CANCEL_JOB, uri, job);
        const Ipp answer = tidyUp.ask(cancel.get(), resource.constData(), seconds(CupsDestination::CancelLimit));
        if (successful(answer.get()))
            return std::nullopt;
        const PrintServiceFault refused = faultOf(answer.get()).during(Step::Cancel);
        // Refused, perhaps because the job has ended already: how?
        if (abandoned.isCancelled())
            return refused;
        Ipp question = jobStateQuestion(uri, job);
        const Ipp state = tidyUp.ask(question.get(), resource.constData(), seconds(CupsDestination::CancelLimit));
        if (successful(state.get()) && endedUnprinted(jobStateOf(state.get())))
            return std::nullopt;
        return refused;
    } catch (const CupsFailure& failure) {
        return failure.fault.during(Step::Cancel);
    }
}

// Hands `document` to `printer` as one job, and says truthfully what became
// of it. `jobNumber` has the job's number as soon as it is known.
PrintOutcome submit(const QString& printer, const QByteArray& uri, const QByteArray& document, CancelToken& abandoned,
                    std::atomic<int>& jobNumber, const PrintDestination::JobStarted& started)
{
    CupsService service(&abandoned, PrintLimit);
    const QByteArray resource = resourceOf(uri);

    int job = 0;
    try {
        Ipp create = request(IPP_OP_CREATE_JOB, uri);
        ippAddString(create.get(), IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, "Quillo");
        const Ipp created = service.ask(create.get(), resource.constData(), seconds(CupsDestination::RequestLimit));
        if (!successful(created.get()))
            return PrintOutcome::notPrinted(faultOf(created.get()).notPrinted(printer), printer);
        job = integer(created.get(), "job-id");
    } catch (const CupsFailure& failure) {
        // No job number, so nothing of the document was sent.
        return PrintOutcome::notPrinted(failure.fault.notPrinted(printer), printer);
    }
    if (job <= 0) {
        // A job may exist, and nothing can tell which.
        return PrintOutcome::uncertain(
            PrintServiceFault::uncertain(PrintServiceFault{Kind::NoJobNumber}.reason(), printer, 0), printer, 0);
    }
    jobNumber = job;
    if (started)
        started(job);

    PrintServiceFault fault;
    bool ended = false;
    Step step = Step::Document;
    try {
        Ipp send = jobRequest(IPP_OP_SEND_DOCUMENT, uri, job);
        ippAddString(send.get(), IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
        ippAddBoolean(send.get(), IPP_TAG_OPERATION, "last-document", 1);
        const Ipp sent =
            service.ask(send.get(), resource.constData(), seconds(CupsDestination::DocumentLimit), &document);
        if (!successful(sent.get()))
            throw CupsFailure(faultOf(sent.get()));

        // Asked afterwards, the job must still be on its way or done.
        step = Step::JobState;
        Ipp question = jobStateQuestion(uri, job);
        const Ipp state = service.ask(question.get(), resource.constData(), seconds(CupsDestination::RequestLimit));
        if (!successful(state.get()))
            throw CupsFailure(faultOf(state.get()));
        const int value = jobStateOf(state.get());
        const bool onItsWay = value == IPP_JSTATE_PENDING || value == IPP_JSTATE_HELD ||
                              value == IPP_JSTATE_PROCESSING || value == IPP_JSTATE_COMPLETED;
        if (onItsWay && holdsDocument(state.get()))
            return PrintOutcome::confirmed(printer, job);
        if (onItsWay) {
            // The service contradicts itself, so its word on the cancel
            // cannot settle whether the check prints either.
            cancelFailure(uri, job, abandoned);
            const PrintServiceFault noDocument{Kind::NoDocument};
            return PrintOutcome::uncertain(PrintServiceFault::uncertain(noDocument.reason(), printer, job), printer,
                                           job);
        }
        ended = endedUnprinted(value);
        fault = {Kind::NotTaken};
    } catch (const CupsFailure& failure) {
        fault = failure.fault.during(step);
    }

    // A half-sent draft never prints, or the merchant hears that it may.
    const std::optional<PrintServiceFault> uncancelled = cancelFailure(uri, job, abandoned);
    if (!uncancelled || ended || !service.documentStarted())
        return PrintOutcome::notPrinted(fault.notPrinted(printer, job), printer, job);
    const QString said = fault.said.isEmpty() ? uncancelled->servicesWords() : fault.servicesWords();
    return PrintOutcome::uncertain(
        PrintServiceFault::uncertain(PrintServiceFault::uncancelled(fault, *uncancelled), printer, job, said), printer,
        job);
}

} // namespace

QFuture<FoundPrinter> CupsDestination::findDefault()
{
    return BoundedWork::run<FoundPrinter>(
        [](CancelToken& abandoned) -> FoundPrinter {
            try {
                const Found found = lookUpDefault(abandoned);
                return {std::shared_ptr<CupsDestination>(new CupsDestination(found.name, found.uri, found.layout)), {}};
            } catch (const QuilloError& error) {
                return {nullptr, error.message()};
            }
        },
        {seconds(LookUpLimit), seconds(LookUpGrace)},
        [] {
            return FoundPrinter{nullptr, PrintServiceFault{Kind::TimeLimit, LookUpLimit + LookUpGrace}.notPrinted({})};
        });
}

QFuture<PrintJobState> CupsDestination::jobState(const QString& printer, int jobId)
{
    return BoundedWork::run<PrintJobState>(
        [uri = localUri("printers", printer), jobId](CancelToken& abandoned) {
            try {
                CupsService service(&abandoned, RequestLimit);
                Ipp question = jobStateQuestion(uri, jobId);
                const Ipp answer = service.ask(question.get(), "/", seconds(RequestLimit));
                if (!successful(answer.get()))
                    return PrintJobState::Unknown;
                switch (jobStateOf(answer.get())) {
                case IPP_JSTATE_PENDING:
                case IPP_JSTATE_HELD:
                case IPP_JSTATE_PROCESSING:
                case IPP_JSTATE_STOPPED:
                    return PrintJobState::Pending;
                case IPP_JSTATE_CANCELED:
                    return PrintJobState::Canceled;
                case IPP_JSTATE_ABORTED:
                    return PrintJobState::Aborted;
                case IPP_JSTATE_COMPLETED:
                    return PrintJobState::Completed;
                default:
                    return PrintJobState::Unknown;
                }
            } catch (const CupsFailure&) {
                return PrintJobState::Unknown;
            }
        },
        {seconds(RequestLimit), seconds(CancelLimit)}, [] { return PrintJobState::Unknown; });
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
    auto jobNumber = std::make_shared<std::atomic<int>>(0);
    // The work may outlive this object, so it keeps copies of what it needs.
    return BoundedWork::run<PrintOutcome>(
        [printer = m_name, uri = m_uri, document, jobNumber, started = jobStarted()](CancelToken& abandoned) {
            return submit(printer, uri, document, abandoned, *jobNumber, started);
        },
        {seconds(PrintLimit), seconds(PrintGrace)},
        [printer = m_name, jobNumber] {
            const PrintServiceFault fault{Kind::TimeLimit, PrintLimit + PrintGrace};
            return PrintOutcome::uncertain(PrintServiceFault::uncertain(fault.reason(), printer, *jobNumber), printer,
                                           *jobNumber);
        });
}
