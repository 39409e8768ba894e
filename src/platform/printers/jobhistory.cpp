// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobhistory.h"

#ifdef TAVIMARK_HAVE_CUPS
#include "ippgroups.h"

#include <cups/cups.h>

#include <QDateTime>
#include <QScopeGuard>

#include <iterator>

#include <sys/socket.h>
#endif

namespace platform {

#ifdef TAVIMARK_HAVE_CUPS

namespace {

constexpr int ConnectTimeoutMs = 10'000;
// A scheduler elsewhere dates its answer to the second, and the answer takes
// a while to come: its clock is known to within this, either way.
constexpr qint64 RemoteClockSlack = 3;

PastJob::State stateOf(int ippState)
{
    switch (ippState) {
    case IPP_JSTATE_COMPLETED:
        return PastJob::State::Printed;
    case IPP_JSTATE_CANCELED:
    case IPP_JSTATE_ABORTED:
        return PastJob::State::GivenUp;
    default:
        return PastJob::State::InQueue;
    }
}

// The jobs of a Get-Jobs answer: one group of attributes per job. A name
// or an owner the scheduler hides from this user comes without a value, and
// reads as empty.
QList<PastJob> jobsOf(ipp_t *response)
{
    QList<PastJob> jobs;
    for (const IppGroup &group : groupsOf(response, IPP_TAG_JOB)) {
        PastJob job;
        job.id = integerOf(group, "job-id");
        if (job.id <= 0)
            continue;
        job.state = stateOf(integerOf(group, "job-state"));
        job.name = bytesOf(group, "job-name");
        job.user = textOf(group, "job-originating-user-name");
        if (group.contains("job-k-octets"))
            job.kOctets = integerOf(group, "job-k-octets");
        job.created = integerOf(group, "time-at-creation");
        job.completed = integerOf(group, "time-at-completed");
        jobs << job;
    }
    return jobs;
}

bool onThisMachine(http_t *http)
{
    const http_addr_t *address = httpGetAddress(http);
    return address && (httpAddrFamily(const_cast<http_addr_t *>(address)) == AF_LOCAL
                       || httpAddrLocalhost(address));
}

} // namespace

std::optional<JobHistory> jobHistory(const QString &queue)
{
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectTimeoutMs, nullptr);
    if (!http)
        return std::nullopt;
    const auto close = qScopeGuard([http] { httpClose(http); });
    char host[256];
    httpGetHostname(http, host, sizeof host);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, host, ippPort(), "/printers/%s",
                     queue.section(u'/', 0, 0).toUtf8().constData());
    ipp_t *request = requestTo(IPP_OP_GET_JOBS, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    static const char *const wanted[] = {"job-id",           "job-name",          "job-k-octets",
                                         "time-at-creation", "time-at-completed", "job-state",
                                         "job-state-reasons", "job-originating-user-name"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)), nullptr,
                  wanted);
    const qint64 asked = QDateTime::currentSecsSinceEpoch();
    // cupsDoRequest frees the request.
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;
    JobHistory history;
    history.jobs = jobsOf(response);
    if (!onThisMachine(http)) {
        // Without its clock, the scheduler's times say nothing of which
        // jobs came before which moment: as good as no answer.
        const time_t dated = httpGetDateTime(httpGetField(http, HTTP_FIELD_DATE));
        if (dated <= 0)
            return std::nullopt;
        history.clockOffset = qint64(dated) - asked;
        history.clockSlack = RemoteClockSlack + (QDateTime::currentSecsSinceEpoch() - asked);
    }
    return history;
}

QString printSystemUser()
{
    return QString::fromUtf8(cupsUser());
}

#else

std::optional<JobHistory> jobHistory(const QString &)
{
    return std::nullopt;
}

QString printSystemUser()
{
    return {};
}

#endif

} // namespace platform
