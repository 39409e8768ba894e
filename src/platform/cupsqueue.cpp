#include "cupsqueue.h"

#include <cups/cups.h>

#include <QPageSize>
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

std::optional<QString> CupsQueue::trySubmit(const QByteArray &pdf, const QByteArray &title)
{
    if (!connect())
        return QStringLiteral("the print system cannot be reached");
    http_t *http = m_http.get();
    const char *dest = m_dest->name;
    const int job = cupsCreateJob(http, dest, title.constData(), 0, nullptr);
    if (job <= 0)
        return lastCupsError();
    if (cupsStartDocument(http, dest, job, title.constData(), CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE
        || cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) != HTTP_STATUS_CONTINUE) {
        const QString error = lastCupsError();
        cupsFinishDocument(http, dest);
        cupsCancelJob2(http, dest, job, 0);
        return error;
    }
    if (cupsFinishDocument(http, dest) > IPP_STATUS_OK_CONFLICTING) {
        const QString error = lastCupsError();
        cupsCancelJob2(http, dest, job, 0);
        return error;
    }
    return std::nullopt;
}

} // namespace platform
