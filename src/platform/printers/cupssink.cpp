// SPDX-License-Identifier: GPL-3.0-or-later
#include "cupssink.h"
#include "core/reasontext.h"
#include "printerpaper.h"

#include "core/jobtitle.h"
#include "core/messagetext.h"

#include <QCoreApplication>
#include <cups/cups.h>
#include <cups/pwg.h>

#include <QPageSize>
#include <QScopeGuard>
#include <QSizeF>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <linux/sockios.h>
#include <sys/ioctl.h>
#endif
#include <cerrno>
#include <system_error>

using core::answerUnread;
using core::appliedByTheProgram;
using core::JobOption;
using core::JobState;
using core::JobTicket;
using core::jobTitle;
using core::layoutFor;
using core::NamedInMessage;
using core::noDefaultPrinter;
namespace option = core::option;
using core::PrinterSettings;
using core::printLayout;
using core::quoted;
using core::quotedReason;
using core::silentAboutJob;
using core::silentBeforePrinting;
using core::SinkAnswer;
using core::SinkProblem;
using core::StopToken;

namespace platform {

namespace {

// How often a blocked call looks at its stop token.
constexpr double StopCheckSeconds = 0.1;
constexpr int StopCheckMs = 100;
constexpr qint64 WritePiece = 64 * 1024;

QString unreachable()
{
    return QCoreApplication::translate("platform::Printers",
                                       "The print system cannot be reached, so nothing was printed.");
}
const QString NoAnswerInTime = core::reasonText(QT_TRANSLATE_NOOP("Reason", "no answer came in time"));

// IPP statuses that speak of the one document (its size, its format, its
// contents) rather than of the printer: the next document may well be taken.
bool concernsTheDocument(int status)
{
    switch (status) {
    case 0x0408:  // client-error-request-entity-too-large
    case 0x0409:  // client-error-request-value-too-long
    case 0x040A:  // client-error-document-format-not-supported
    case 0x040F:  // client-error-compression-not-supported
    case 0x0410:  // client-error-compression-error
    case 0x0411:  // client-error-document-format-error
    case 0x0412:  // client-error-document-access-error
    case 0x0418:  // client-error-document-password-error
    case 0x0419:  // client-error-document-permission-error
    case 0x041A:  // client-error-document-security-error
    case 0x041B:  // client-error-document-unprintable
        return true;
    default:
        return false;
    }
}

QString statusMessage(ipp_t *response)
{
    ipp_attribute_t *message = ippFindAttribute(response, "status-message", IPP_TAG_TEXT);
    const char *text = message ? ippGetString(message, 0, nullptr) : ippErrorString(ippGetStatusCode(response));
    return quotedReason(QString::fromUtf8(text));
}

SinkAnswer refusedAtHttpLevel(http_status_t status)
{
    const QString reason = quotedReason(QString::fromUtf8(httpStatus(status)));
    if (status == HTTP_STATUS_REQUEST_TOO_LARGE)
        return {SinkAnswer::Kind::DocumentRefused, reason};
    if (status == HTTP_STATUS_UNAUTHORIZED)
        return {SinkAnswer::Kind::PrinterFailed,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system asks for a password"))};
    return {SinkAnswer::Kind::PrinterFailed, reason};
}

// The bytes sent on the connection that its other end has not taken yet;
// -1 where that cannot be told.
qint64 bytesInFlight(http_t *http)
{
#ifdef Q_OS_LINUX
    int unsent = 0;
    return ::ioctl(httpGetFd(http), SIOCOUTQ, &unsent) == 0 ? unsent : -1;
#else
    Q_UNUSED(http)
    return -1;
#endif
}

// A paper's name as printers list it ("iso_a4_210x297mm"), for one a user
// may spell otherwise ("A4", "a4"); unchanged when CUPS knows no other.
QByteArray pwgMediaName(const QByteArray &media)
{
    pwg_media_t *known = pwgMediaForPWG(media.constData());
    if (!known)
        known = pwgMediaForLegacy(media.constData());
    if (!known)
        known = pwgMediaForPPD(media.constData());
    return known && known->pwg ? QByteArray(known->pwg) : media;
}

// An attribute's values for a message: the first few, and how many more.
// Keywords, numbers, ranges and enums, which is what printers offer for job
// options, hold no commas of their own.
QString valuesOf(ipp_attribute_t *attribute)
{
    QByteArray text(64 * 1024, '\0');
    text.truncate(qsizetype(ippAttributeString(attribute, text.data(), size_t(text.size()))));
    QStringList values = QString::fromUtf8(text).split(u',');
    const qsizetype more = values.size() - NamedInMessage;
    if (more > 0) {
        values.resize(NamedInMessage);
        values << QCoreApplication::translate("platform::Printers", "and %n more", nullptr, int(more));
    }
    return values.join(u", ");
}

} // namespace

// What one attempt at a job came to, and whether another attempt is safe:
// only when nothing of the document reached the scheduler.
struct CupsSink::Attempt {
    SinkAnswer answer;
    bool retry = false;
};

// Hands ippReadIO() the answer as httpRead2() brings it, whose waits ask
// keepWaiting, and so the stop token, every StopCheckSeconds.
struct CupsSink::AnswerReader {
    http_t *http = nullptr;
    bool cutShort = false;  // the answer ended, or the run stopped waiting, before the message did

    static ssize_t read(void *context, ipp_uchar_t *buffer, size_t length)
    {
        auto *reader = static_cast<AnswerReader *>(context);
        size_t got = 0;
        while (got < length) {
            const ssize_t bytes = httpRead2(reader->http, reinterpret_cast<char *>(buffer) + got, length - got);
            if (bytes <= 0) {
                reader->cutShort = true;
                break;
            }
            got += size_t(bytes);
        }
        return got > 0 ? ssize_t(got) : -1;
    }
};

void CupsSink::HttpClose::operator()(http_t *http) const { httpClose(http); }
void CupsSink::DestFree::operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
void CupsSink::InfoFree::operator()(cups_dinfo_t *info) const { cupsFreeDestInfo(info); }

CupsSink::CupsSink(QString server)
    : m_server(server.toUtf8())
    , m_layout(printLayout(QPageSize(QPageSize::A4)))
{
}

// A subscription left behind would last out its lease; letting it go waits
// no longer than one look at the stop token would.
CupsSink::~CupsSink()
{
    if (m_http)
        m_jobs.unsubscribe(m_http.get());
}

// libcups calls this whenever a read or write has waited StopCheckSeconds;
// returning 0 ends the wait with an error.
int CupsSink::keepWaiting(http_t *, void *sink)
{
    const StopToken *stop = static_cast<CupsSink *>(sink)->m_stop;
    return stop && !stop->shouldStop() ? 1 : 0;
}

bool CupsSink::connect(StopToken &stop)
{
    m_stop = &stop;
    if (m_http)
        return true;
    // "host:port" as CUPS_SERVER spells it; a socket path has no port.
    QByteArray host = m_server.isEmpty() ? QByteArray(cupsServer()) : m_server;
    int port = ippPort();
    if (!m_server.isEmpty() && !host.startsWith('/')) {
        const qsizetype colon = host.lastIndexOf(':');
        bool numeric = false;
        const int given = colon > 0 && !host.endsWith(']') ? host.mid(colon + 1).toInt(&numeric) : 0;
        if (numeric) {
            port = given;
            host.truncate(colon);
        }
    }
    const int timeoutMs = int(std::min<qint64>(stop.idleBound().count(), 10'000));
    m_http.reset(httpConnect2(host.constData(), port, nullptr, AF_UNSPEC, cupsEncryption(), 1, timeoutMs, nullptr));
    if (m_http)
        httpSetTimeout(m_http.get(), StopCheckSeconds, &CupsSink::keepWaiting, this);
    return bool(m_http);
}

void CupsSink::disconnect()
{
    m_http.reset();
}

std::optional<SinkProblem> CupsSink::problem(const PrinterSettings &settings, StopToken &stop)
{
    const auto done = qScopeGuard([this] { m_stop = nullptr; });
    m_dest.reset();
    m_jobOptions.clear();
    if (!connect(stop))
        return SinkProblem{unreachable()};
    if (std::optional<QString> missing = findDestination(settings.printer.toUtf8(), stop))
        return SinkProblem{*missing};
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", m_dest->num_options, m_dest->options);
    if (accepting && qstrcmp(accepting, "false") == 0)
        return SinkProblem{
            QCoreApplication::translate("platform::Printers",
                                        "The printer \"%1\" is not accepting jobs, so nothing was printed.")
                .arg(quoted(QString::fromUtf8(m_dest->name)))};
    // What the printer offers comes with one request, asked once a run.
    const std::unique_ptr<cups_dinfo_t, InfoFree> info(cupsCopyDestInfo(m_http.get(), m_dest.get()));
    if (std::optional<QString> refused = refusedOption(info.get(), settings)) {
        m_dest.reset();
        return SinkProblem{*refused, true};
    }
    m_layout = layoutFor(settings, printerLayout(info.get()));
    return std::nullopt;
}

std::optional<QString> CupsSink::findDestination(const QByteArray &destination, StopToken &stop)
{
    const char *name = destination.isEmpty() ? nullptr : destination.constData();
    m_dest.reset(cupsGetNamedDest(m_http.get(), name, nullptr));
    if (!m_dest && !stop.shouldStop()) {
        // A dropped connection looks the same as a missing destination; one
        // fresh attempt tells them apart.
        disconnect();
        if (!connect(stop))
            return unreachable();
        m_dest.reset(cupsGetNamedDest(m_http.get(), name, nullptr));
    }
    if (m_dest)
        return std::nullopt;
    if (stop.shouldStop()) {
        disconnect();
        return silentBeforePrinting();
    }
    if (name)
        return QCoreApplication::translate("platform::Printers",
                                           "There is no printer called \"%1\", so nothing was printed.")
            .arg(quoted(QString::fromUtf8(destination)));
    return noDefaultPrinter();
}

// The printer's own paper and orientation.
QPageLayout CupsSink::printerLayout(cups_dinfo_t *info) const
{
    const QPageSize size = printersOwnPaper(m_http.get(), m_dest.get(), info).value_or(QPageSize(QPageSize::A4));
    const char *orientation = cupsGetOption("orientation-requested", m_dest->num_options, m_dest->options);
    const bool landscape = orientation && (qstrcmp(orientation, "4") == 0 || qstrcmp(orientation, "5") == 0);
    return printLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

// Checks every option against what the printer says it offers (its
// NAME-supported attributes), and keeps the ones it is to carry out for the
// run's jobs. A paper size goes to the printer only when it chooses paper
// itself; a queue that passes documents on unread (a raw one) gets pages of
// that size all the same.
std::optional<QString> CupsSink::refusedOption(cups_dinfo_t *info, const PrinterSettings &settings)
{
    const QString printer = u'"' + quoted(QString::fromUtf8(m_dest->name)) + u'"';
    QList<JobOption> wanted = settings.options;
    if (settings.copies > 1)
        wanted.prepend({option::Copies, QString::number(settings.copies)});
    for (const JobOption &option : std::as_const(wanted)) {
        if (appliedByTheProgram(option.name))
            continue;
        const QByteArray name = option.name.toUtf8();
        QByteArray value = option.value.toUtf8();
        if (option.name == option::Media)
            value = pwgMediaName(value);
        ipp_attribute_t *supported = info ? cupsFindDestSupported(m_http.get(), m_dest.get(), info, name.constData())
                                          : nullptr;
        if (!supported) {
            if (option.name == option::Media)
                continue;
            return QCoreApplication::translate(
                       "platform::Printers",
                       "The printer %1 offers no option %2 (it offers %3), so nothing was printed.")
                .arg(printer, option.name, offeredOptions(info));
        }
        if (!cupsCheckDestSupported(m_http.get(), m_dest.get(), info, name.constData(), value.constData())) {
            return QCoreApplication::translate(
                       "platform::Printers", "The printer %1 does not offer %2 (it offers %3), so nothing was printed.")
                .arg(printer, option.name + u'=' + option.value, valuesOf(supported));
        }
        m_jobOptions.append({name, value});
    }
    return std::nullopt;
}

// The options a user could choose on this printer, for a message.
QString CupsSink::offeredOptions(cups_dinfo_t *info) const
{
    QStringList names;
    ipp_attribute_t *creatable = info ? cupsFindDestSupported(m_http.get(), m_dest.get(), info, "job-creation-attributes")
                                      : nullptr;
    for (int i = 0; i < ippGetCount(creatable); ++i) {
        const char *name = ippGetString(creatable, i, nullptr);
        if (name && cupsFindDestSupported(m_http.get(), m_dest.get(), info, name))
            names << QString::fromUtf8(name);
    }
    return names.isEmpty() ? QStringLiteral("none") : names.join(u", ");
}

SinkAnswer CupsSink::send(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop)
{
    const auto done = qScopeGuard([this] { m_stop = nullptr; });
    if (!m_dest)
        return {SinkAnswer::Kind::PrinterFailed,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "no printer was chosen"))};
    Attempt attempt = trySend(pdf, ticket, stop);
    if (attempt.retry) {
        // The kept connection had gone (a restarted scheduler, an idle
        // timeout) before any of the job went out: one more try is safe.
        disconnect();
        attempt = trySend(pdf, ticket, stop);
    }
    return attempt.answer;
}

// The printer's address as seen through the connection the job travels on.
QByteArray CupsSink::printerUri() const
{
    char host[256];
    httpGetHostname(m_http.get(), host, sizeof host);
    int port = httpAddrPort(httpGetAddress(m_http.get()));
    if (port <= 0)
        port = ippPort();
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, host, port, "/printers/%s", m_dest->name);
    return uri;
}

// One Print-Job request carries the job's attributes and its document
// together: a single round trip per document, where creating the job and
// then sending its document would take two (measured: about 2 ms a job
// against 8). The document goes out only once the scheduler has answered
// "100 Continue": a scheduler that has stopped answering never receives a
// whole request, so a job given up before its document has gone out whole
// can never print later. One whose answer is lost after that may have.
CupsSink::Attempt CupsSink::trySend(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop)
{
    const SinkAnswer silent = silentAboutJob();
    if (!connect(stop))
        return {{SinkAnswer::Kind::PrinterFailed,
                 core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system cannot be reached"))},
                false};
    http_t *http = m_http.get();
    const QByteArray resource = QByteArray("/printers/") + m_dest->name;

    ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
    const auto freeRequest = qScopeGuard([request] { ippDelete(request); });
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, jobTitle(ticket.entry).constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    for (const auto &[name, value] : m_jobOptions)
        cupsEncodeOption(request, IPP_TAG_JOB, name.constData(), value.constData());

    httpClearFields(http);
    httpSetField(http, HTTP_FIELD_CONTENT_TYPE, "application/ipp");
    httpSetLength(http, ippLength(request) + size_t(pdf.size()));
    httpSetExpect(http, HTTP_STATUS_CONTINUE);
    if (httpPost(http, resource.constData()) != 0 || httpFlushWrite(http) < 0)
        return {silent, true};

    if (!awaitAnswer(stop))
        return {silent, false};
    const http_status_t status = httpUpdate(http);
    if (status == HTTP_STATUS_ERROR)
        return {silent, true};
    if (status != HTTP_STATUS_CONTINUE) {
        disconnect();
        return {refusedAtHttpLevel(status), false};
    }
    stop.progressed();

    ippSetState(request, IPP_STATE_IDLE);
    for (ipp_state_t state = ippWrite(http, request); state != IPP_STATE_DATA; state = ippWrite(http, request)) {
        if (state == IPP_STATE_ERROR)
            return {readEarlyRefusal(silent), false};
    }
    for (qint64 sent = 0; sent < pdf.size(); sent += WritePiece) {
        const qint64 piece = std::min(WritePiece, pdf.size() - sent);
        if (stop.abandoned() || httpWrite2(http, pdf.constData() + sent, size_t(piece)) < 0)
            return {readEarlyRefusal(silent), false};
        stop.progressed();
    }

    // Every byte of the job is with the scheduler now: from here on, an
    // answer that never comes or cannot be read leaves the job perhaps
    // printing, never "not sent".
    if (!awaitAnswer(stop))
        return {answerUnread(NoAnswerInTime), false};
    return {readJobAnswer(stop), false};
}

// The scheduler's answer to a job it has received whole. Read here rather
// than with cupsGetResponse(), which gives the IPP part of an answer no more
// than the connection's read timeout (StopCheckSeconds, without asking
// keepWaiting) to follow the HTTP head. The scheduler sends the head at once
// and the rest on a later turn of its loop, which on a busy machine can come
// later than that: the job then printed, yet the run stopped with it named
// "not sent" ("Unable to read response"). Here every wait asks the stop
// token instead. An answer that cannot be read closes the connection, so
// the next job starts on a fresh one.
SinkAnswer CupsSink::readJobAnswer(StopToken &stop)
{
    http_t *http = m_http.get();
    http_status_t status = HTTP_STATUS_CONTINUE;
    while (status == HTTP_STATUS_CONTINUE && httpGetState(http) != HTTP_STATE_WAITING && !stop.shouldStop())
        status = httpUpdate(http);
    if (status == HTTP_STATUS_CONTINUE || status == HTTP_STATUS_ERROR)
        return unreadAnswer(stop, false);
    if (status != HTTP_STATUS_OK) {
        disconnect();
        return refusedAtHttpLevel(status);
    }

    ipp_t *response = ippNew();
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    AnswerReader reader{http};
    ipp_state_t state = IPP_STATE_IDLE;
    do {
        state = ippReadIO(&reader, &AnswerReader::read, 1, nullptr, response);
    } while (state != IPP_STATE_DATA && state != IPP_STATE_ERROR);
    if (state == IPP_STATE_ERROR)
        return unreadAnswer(stop, !reader.cutShort);
    // Anything left of the answer would confuse the next request.
    if (httpGetState(http) != HTTP_STATE_WAITING)
        disconnect();

    const ipp_status_t ippStatus = ippGetStatusCode(response);
    if (ippStatus <= IPP_STATUS_OK_CONFLICTING) {
        SinkAnswer taken{SinkAnswer::Kind::Taken, {}};
        taken.jobId = ippGetInteger(ippFindAttribute(response, "job-id", IPP_TAG_INTEGER), 0);
        return taken;
    }
    const SinkAnswer::Kind kind = concernsTheDocument(ippStatus) ? SinkAnswer::Kind::DocumentRefused
                                                                 : SinkAnswer::Kind::PrinterFailed;
    return {kind, statusMessage(response)};
}

// Why an answer could not be read, once the whole job had gone out.
SinkAnswer CupsSink::unreadAnswer(const StopToken &stop, bool garbled)
{
    QString why = NoAnswerInTime;
    if (garbled) {
        why = core::reasonText(QT_TRANSLATE_NOOP("Reason", "the answer was malformed"));
    } else if (!stop.timedOut()) {
        const int error = m_http ? httpError(m_http.get()) : 0;
        why = error == 0 || error == EPIPE ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "the connection was closed"))
                                           : QString::fromStdString(std::system_category().message(error));
    }
    disconnect();
    return answerUnread(why);
}

// Waits for the scheduler to say something; false, with the connection
// closed, when the run gave up waiting first. On a slow line the end of the
// document is still on its way while the program waits: as long as it keeps
// moving, the print system is not silent.
bool CupsSink::awaitAnswer(StopToken &stop)
{
    qint64 inFlight = bytesInFlight(m_http.get());
    while (!httpWait(m_http.get(), StopCheckMs)) {
        const qint64 stillInFlight = bytesInFlight(m_http.get());
        if (stillInFlight >= 0 && stillInFlight < inFlight)
            stop.progressed();
        inFlight = stillInFlight;
        if (stop.shouldStop()) {
            disconnect();
            return false;
        }
    }
    return true;
}

// A scheduler may refuse a request before it has read all of it (one too
// large for it, say) and close the connection; its answer is still there to
// be read.
SinkAnswer CupsSink::readEarlyRefusal(const SinkAnswer &otherwise)
{
    SinkAnswer answer = otherwise;
    http_t *http = m_http.get();
    if (http && httpWait(http, 0)) {
        const http_status_t status = httpUpdate(http);
        if (status >= HTTP_STATUS_BAD_REQUEST)
            answer = refusedAtHttpLevel(status);
    }
    disconnect();
    return answer;
}

std::optional<QList<JobState>> CupsSink::jobStates(const QList<int> &jobIds, StopToken &stop)
{
    const auto done = qScopeGuard([this] { m_stop = nullptr; });
    if (jobIds.isEmpty())
        return QList<JobState>{};
    if (!connect(stop))
        return std::nullopt;
    std::optional<QList<JobState>> states = m_jobs.jobStates(m_http.get(), jobIds, stop);
    if (!states)
        disconnect();
    return states;
}

void CupsSink::startFollowing(StopToken &stop)
{
    const auto done = qScopeGuard([this] { m_stop = nullptr; });
    if (connect(stop))
        m_jobs.subscribe(m_http.get(), stop);
}

void CupsSink::stopFollowing(StopToken &stop)
{
    const auto done = qScopeGuard([this] { m_stop = nullptr; });
    if (m_jobs.subscribed() && connect(stop))
        m_jobs.unsubscribe(m_http.get());
}

} // namespace platform
