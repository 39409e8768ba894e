#include "cupsqueue.h"

#include <cups/cups.h>

#include <QPageSize>
#include <QScopeGuard>
#include <QSizeF>

namespace platform {

namespace {

constexpr int ConnectTimeoutMs = 30000;
constexpr qsizetype MaxTitleBytes = 255;

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

QPageLayout browserLikeLayout(const QPageSize &size, QPageLayout::Orientation orientation)
{
    return QPageLayout(size, orientation,
                       QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                       QPageLayout::Millimeter);
}

} // namespace

void CupsQueue::HttpClose::operator()(http_t *http) const { httpClose(http); }
void CupsQueue::DestFree::operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }

QByteArray jobTitle(const QString &text)
{
    QByteArray title = text.toUtf8();
    if (title.size() <= MaxTitleBytes)
        return title;
    const QByteArray ellipsis = QStringLiteral("\u2026").toUtf8();
    qsizetype start = title.size() - (MaxTitleBytes - ellipsis.size());
    // Never start in the middle of a character.
    while (start < title.size() && (uchar(title.at(start)) & 0xC0) == 0x80)
        ++start;
    return ellipsis + title.mid(start);
}

CupsQueue::CupsQueue(QString server)
    : m_server(server.toUtf8())
    , m_layout(browserLikeLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait))
{
}

CupsQueue::~CupsQueue() = default;

bool CupsQueue::connect()
{
    if (m_http)
        return true;
    const char *server = m_server.isEmpty() ? cupsServer() : m_server.constData();
    m_http.reset(httpConnect2(server, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              ConnectTimeoutMs, nullptr));
    return bool(m_http);
}

std::optional<QString> CupsQueue::problem()
{
    m_dest.reset();
    if (!connect())
        return QStringLiteral("The print system cannot be reached, so nothing was printed.");
    m_dest.reset(cupsGetNamedDest(m_http.get(), nullptr, nullptr));
    if (!m_dest) {
        // A dropped connection looks the same as a missing default; one
        // fresh attempt tells them apart.
        m_http.reset();
        if (!connect())
            return QStringLiteral("The print system cannot be reached, so nothing was printed.");
        m_dest.reset(cupsGetNamedDest(m_http.get(), nullptr, nullptr));
    }
    if (!m_dest)
        return QStringLiteral("No default printer is set up, so nothing was printed.\n\n"
                              "Choose a default printer and press Print HTML Files again.");
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", m_dest->num_options, m_dest->options);
    if (accepting && qstrcmp(accepting, "false") == 0)
        return u"The default printer \"" + QString::fromUtf8(m_dest->name)
            + u"\" is not accepting jobs, so nothing was printed.";
    readPageLayout();
    return std::nullopt;
}

void CupsQueue::readPageLayout()
{
    QPageSize size(QPageSize::A4);
    cups_size_t media{};
    if (cups_dinfo_t *info = cupsCopyDestInfo(m_http.get(), m_dest.get())) {
        if (cupsGetDestMediaDefault(m_http.get(), m_dest.get(), info, 0, &media) && media.width > 0
            && media.length > 0) {
            // CUPS measures media in hundredths of a millimetre.
            size = QPageSize(QSizeF(media.width / 100.0, media.length / 100.0), QPageSize::Millimeter,
                             {}, QPageSize::FuzzyMatch);
        }
        cupsFreeDestInfo(info);
    }
    const char *orientation = cupsGetOption("orientation-requested", m_dest->num_options, m_dest->options);
    const bool landscape = orientation && (qstrcmp(orientation, "4") == 0 || qstrcmp(orientation, "5") == 0);
    m_layout = browserLikeLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

std::optional<QString> CupsQueue::submit(const QByteArray &pdf, const QString &title)
{
    if (!m_dest)
        return QStringLiteral("no printer was chosen");
    const QByteArray name = jobTitle(title);
    std::optional<QString> failure = trySubmit(pdf, name);
    if (failure && httpError(m_http.get()) != 0) {
        // The connection broke (a restarted scheduler, an idle timeout):
        // the job was not taken, so it is safe to try once more.
        m_http.reset();
        failure = trySubmit(pdf, name);
    }
    return failure;
}

// One Print-Job request carries the job's attributes and its document
// together: a single round trip to the scheduler per document, where
// creating the job and then sending its document would take two.
std::optional<QString> CupsQueue::trySubmit(const QByteArray &pdf, const QByteArray &title)
{
    if (!connect())
        return QStringLiteral("the print system cannot be reached");
    http_t *http = m_http.get();
    const QByteArray resource = QByteArray("/printers/") + m_dest->name;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", m_dest->name);

    ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    const auto freeRequest = qScopeGuard([request] { ippDelete(request); });

    // The length covers the whole body: the request's attributes, then the document.
    const size_t length = ippLength(request) + size_t(pdf.size());
    http_status_t status = cupsSendRequest(http, request, resource.constData(), length);
    if (status == HTTP_STATUS_CONTINUE)
        status = cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size()));
    if (status != HTTP_STATUS_CONTINUE) {
        // Read whatever the scheduler answered, so the connection stays usable.
        ippDelete(cupsGetResponse(http, resource.constData()));
        return lastCupsError();
    }
    ipp_t *response = cupsGetResponse(http, resource.constData());
    ippDelete(response);
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return lastCupsError();
    return std::nullopt;
}

} // namespace platform
