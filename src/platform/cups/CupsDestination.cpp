#include "platform/cups/CupsDestination.h"

#include "platform/QuilloError.h"

#include <QFile>

#include <cups/cups.h>

namespace {

QString printServiceDown()
{
    return QStringLiteral("The print service is not running, so the check was not printed. Start the computer's "
                          "print service (CUPS), or ask whoever looks after this computer to, and try again.");
}

QString notAcceptingJobs(const QString& printer)
{
    return QStringLiteral("The printer \"%1\" is not accepting jobs, so the check was not printed. Let it accept "
                          "jobs again in the system's printer settings, or make another printer the default, "
                          "and try again.")
        .arg(printer);
}

QString refused(const QString& printer)
{
    return QStringLiteral("The printer \"%1\" did not take the check, so it was not printed. Check the printer "
                          "and try again. The print service said: %2")
        .arg(printer, QString::fromUtf8(cupsLastErrorString()));
}

// Whether the print service answers at all. Asked only once a lookup has
// failed: libcups reports a server it cannot reach as a missing printer.
bool printServiceAnswers()
{
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 5000, nullptr);
    if (!http)
        return false;
    httpClose(http);
    return true;
}

// Why a request to `printer` failed, from the status CUPS answered it with.
QString failureOf(ipp_status_t status, const QString& printer)
{
    if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return notAcceptingJobs(printer);
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE && !printServiceAnswers())
        return printServiceDown();
    return refused(printer);
}

// Sends the bytes of `file` as the job's one document.
bool sendDocument(QFile& file)
{
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = file.read(buffer, sizeof buffer);
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer, static_cast<size_t>(n)) != HTTP_STATUS_CONTINUE)
            return false;
    }
}

} // namespace

std::unique_ptr<CupsDestination> CupsDestination::findDefault()
{
    // The default of the user's own settings (lpoptions, $PRINTER) first,
    // then the print service's.
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!dest)
        throw QuilloError(printServiceAnswers() ? noDefaultPrinterMessage() : printServiceDown());
    return std::unique_ptr<CupsDestination>(new CupsDestination(dest));
}

CupsDestination::CupsDestination(cups_dest_t* dest) : m_dest(dest) {}

CupsDestination::~CupsDestination()
{
    cupsFreeDests(1, m_dest);
}

QString CupsDestination::name() const
{
    return QString::fromUtf8(m_dest->name);
}

void CupsDestination::print(const QString& path, const QString& title)
{
    const QString printer = name();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw QuilloError(QStringLiteral("The check could not be handed to the printer \"%1\": its print file "
                                         "could not be read (%2).")
                              .arg(printer, file.errorString()));
    }

    std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t*)> info(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, m_dest),
                                                                cupsFreeDestInfo);
    if (!info)
        throw QuilloError(failureOf(cupsLastError(), printer));

    int job = 0;
    const ipp_status_t created =
        cupsCreateDestJob(CUPS_HTTP_DEFAULT, m_dest, info.get(), &job, title.toUtf8().constData(), 0, nullptr);
    if (created != IPP_STATUS_OK || job <= 0)
        throw QuilloError(failureOf(created == IPP_STATUS_OK ? cupsLastError() : created, printer));

    // Nothing prints until the whole document is in: a job cut short is
    // cancelled rather than left to print half a check.
    const QByteArray documentName = QFile::encodeName(path.section(QLatin1Char('/'), -1));
    const bool sent = cupsStartDestDocument(CUPS_HTTP_DEFAULT, m_dest, info.get(), job, documentName.constData(),
                                            CUPS_FORMAT_PDF, 0, nullptr, 1) == HTTP_STATUS_CONTINUE &&
                      sendDocument(file);
    const ipp_status_t finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, m_dest, info.get());
    if (!sent || finished != IPP_STATUS_OK) {
        const QString reason = failureOf(finished != IPP_STATUS_OK ? finished : cupsLastError(), printer);
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, m_dest, job);
        throw QuilloError(reason);
    }
}
