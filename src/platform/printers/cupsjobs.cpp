// SPDX-License-Identifier: GPL-3.0-or-later
#include "cupsjobs.h"
#include "core/reasontext.h"
#include "ippgroups.h"

#include "core/messagetext.h"

#include <cups/cups.h>

#include <QScopeGuard>

#include <algorithm>

using core::JobAnswer;
using core::JobState;
using core::quotedReason;
using core::StopToken;

namespace platform {

namespace {

// How long the scheduler keeps a subscription to the jobs' ends unless it
// is renewed; a program that ends without cancelling it leaves it no longer.
constexpr int LeaseSeconds = 600;

// What the scheduler says of one job.
struct JobAttributes {
    int jobId = 0;
    int state = 0;
    QStringList reasons;
    QString printerMessage;
    QString eventText;  // what the event of its end says, in the scheduler's words
    QString queue;
};

// The one reader of what the scheduler says of a job: the job's own
// attributes in a Get-Jobs answer, or the event of its end in a
// Get-Notifications one, which names the job and its queue otherwise.
JobAttributes jobAttributesOf(const IppGroup &group)
{
    const bool event = group.contains("notify-job-id");
    JobAttributes job;
    job.jobId = integerOf(group, event ? "notify-job-id" : "job-id");
    job.state = integerOf(group, "job-state");
    job.reasons = textsOf(group, "job-state-reasons");
    job.printerMessage = textOf(group, "job-printer-state-message");
    job.eventText = textOf(group, "notify-text");
    job.queue = textOf(group, event ? "notify-printer-uri" : "job-printer-uri").section(u'/', -1);
    return job;
}

// Why a job waits, ends or ended, in words for the user: the printer's own
// message where it gave one, else the reasons CUPS names.
QString jobReason(const QStringList &reasons, const QString &printerMessage)
{
    static const QList<std::pair<QString, QString>> words{
        {QStringLiteral("printer-stopped"), core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer is stopped"))},
        {QStringLiteral("job-hold-until-specified"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "held until someone releases it"))},
        {QStringLiteral("cups-held-for-authentication"), QStringLiteral("the printer asks for a password")},
        {QStringLiteral("job-canceled-by-user"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "canceled by its owner"))},
        {QStringLiteral("job-canceled-by-operator"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "canceled by the printer's operator"))},
        {QStringLiteral("job-canceled-at-device"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "canceled at the printer"))},
        {QStringLiteral("aborted-by-system"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system gave it up"))},
        {QStringLiteral("job-aborted-by-system"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system gave it up"))},
        {QStringLiteral("document-format-error"),
         core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer could not read it"))},
    };
    if (!printerMessage.trimmed().isEmpty())
        return quotedReason(printerMessage);
    QStringList said;
    for (const QString &reason : reasons) {
        if (reason == u"none" || reason == u"job-printing" || reason == u"job-incoming" || reason == u"job-queued"
            || reason == u"job-completed-successfully" || reason == u"processing-to-stop-point")
            continue;
        const auto known = std::find_if(words.cbegin(), words.cend(), [&reason](const auto &word) { return word.first == reason; });
        said << (known != words.cend() ? known->second : reason);
    }
    return said.join(u", ");
}

// What a job the scheduler no longer knows came to, as far as anyone can tell.
JobAnswer forgotten()
{
    return {JobAnswer::State::Unknown,
            core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system no longer knows the job"))};
}

// The printer's answer about one job, from what the scheduler says of it.
JobAnswer answerOf(const JobAttributes &job)
{
    using State = JobAnswer::State;
    QString why = jobReason(job.reasons, job.printerMessage);
    if (why.isEmpty() && !job.eventText.trimmed().isEmpty())
        why = quotedReason(job.eventText);
    switch (job.state) {
    case IPP_JSTATE_HELD:
        return {State::Held, why};
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_PROCESSING:
        if (job.reasons.contains(u"printer-stopped"))
            return {State::Held, jobReason({QStringLiteral("printer-stopped")}, {})};
        return {State::Working, {}};
    case IPP_JSTATE_STOPPED:
        return {State::Held,
                why.isEmpty() ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer stopped it")) : why};
    case IPP_JSTATE_COMPLETED:
        return {State::Printed, {}};
    case IPP_JSTATE_CANCELED:
        return {State::Canceled, why};
    case IPP_JSTATE_ABORTED:
        return {State::Aborted, why};
    default:
        return forgotten();
    }
}

// Every job asked about, from a Get-Jobs answer: a job the answer leaves
// out is one the print system no longer knows.
QList<JobAttributes> jobsOf(ipp_t *response, const QList<int> &jobIds)
{
    QHash<int, JobAttributes> known;
    for (const IppGroup &group : groupsOf(response, IPP_TAG_JOB)) {
        const JobAttributes job = jobAttributesOf(group);
        if (job.jobId > 0)
            known.insert(job.jobId, job);
    }
    QList<JobAttributes> jobs;
    for (const int id : jobIds)
        jobs << known.value(id, JobAttributes{id, 0, {}, {}, {}, {}});
    return jobs;
}

// The stopped queues of a CUPS-Get-Printers answer, each with why.
QHash<QString, QString> stoppedPrintersOf(ipp_t *response)
{
    QHash<QString, QString> stopped;
    for (const IppGroup &group : groupsOf(response, IPP_TAG_PRINTER)) {
        const QString name = textOf(group, "printer-name");
        if (name.isEmpty() || integerOf(group, "printer-state") != IPP_PSTATE_STOPPED)
            continue;
        const QString message = textOf(group, "printer-state-message");
        stopped.insert(name,
                       message.trimmed().isEmpty()
                           ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer is stopped"))
                           : core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer is stopped: %1"))
                                 .arg(quotedReason(message)));
    }
    return stopped;
}

// An end the job's own answer does not explain: a job forgotten, or one
// canceled or aborted without a word of why.
bool unexplained(const JobAnswer &answer)
{
    return answer.state == JobAnswer::State::Unknown
        || ((answer.state == JobAnswer::State::Canceled || answer.state == JobAnswer::State::Aborted)
            && answer.reason.isEmpty());
}

// Whether a request was answered, and well.
bool answered(ipp_t *response)
{
    return response && ippGetStatusCode(response) <= IPP_STATUS_OK_CONFLICTING;
}

// The scheduler itself, for requests about every queue.
QByteArray schedulerUri(http_t *http)
{
    char host[256];
    httpGetHostname(http, host, sizeof host);
    const int port = httpAddrPort(httpGetAddress(http));
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, host, port > 0 ? port : ippPort(), "/");
    return uri;
}

} // namespace

// One request a call: the jobs, or, every other call while some job waits
// its turn, the printers, to tell a job waiting on a stopped printer from one
// waiting for the jobs before it.
std::optional<QList<JobState>> CupsJobs::jobStates(http_t *http, const QList<int> &jobIds, StopToken &stop)
{
    renewIfDue(http, stop);
    if (m_askPrintersNext) {
        m_askPrintersNext = false;
        if (!askAboutPrinters(http, stop))
            return std::nullopt;
        return withStoppedPrinters(jobIds);
    }
    return askAboutJobs(http, jobIds, stop);
}

// One Get-Jobs request for every job followed: the jobs from the oldest of
// them on, which a scheduler that keeps its job history answers in one go
// however many jobs it has kept before them.
std::optional<QList<JobState>> CupsJobs::askAboutJobs(http_t *http, const QList<int> &jobIds, StopToken &stop)
{
    const auto [oldest, newest] = std::minmax_element(jobIds.cbegin(), jobIds.cend());
    ipp_t *request = requestTo(IPP_OP_GET_JOBS, schedulerUri(http).constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "first-job-id", *oldest);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "limit", *newest - *oldest + 1);
    static const char *const wanted[] = {"job-id", "job-state", "job-state-reasons", "job-printer-state-message",
                                         "job-printer-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 5, nullptr, wanted);
    // cupsDoRequest frees the request; its waits ask the connection's
    // timeout callback, and so the stop token.
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING)
        return std::nullopt;
    stop.progressed();
    const QList<JobAttributes> jobs = jobsOf(response, jobIds);
    const bool ask = m_subscription != 0
        && std::any_of(jobs.cbegin(), jobs.cend(), [](const JobAttributes &job) { return unexplained(answerOf(job)); });
    if (ask)
        learnEndings(http, *oldest, stop);
    m_answers.clear();
    for (const JobAttributes &job : jobs) {
        JobAnswer answer = answerOf(job);
        if (unexplained(answer))
            answer = m_endings.value(job.jobId, answer);
        m_answers.insert(job.jobId, answer);
        const bool waits = !answer.final();
        if (waits && !job.queue.isEmpty())
            m_jobPrinters.insert(job.jobId, job.queue);
        else if (!waits)
            m_jobPrinters.remove(job.jobId);
        if (answer.state == JobAnswer::State::Working)
            m_askPrintersNext = true;
    }
    return withStoppedPrinters(jobIds);
}

// Reads the events gathered since last time: the end of each job, by its
// number. Jobs older than `oldestJob` are no longer followed, and the events
// of other people's jobs (the subscription hears of every queue) are left
// aside. A scheduler that cannot say leaves the endings as they were.
void CupsJobs::learnEndings(http_t *http, int oldestJob, StopToken &stop)
{
    ipp_t *request = requestTo(IPP_OP_GET_NOTIFICATIONS, schedulerUri(http).constData());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-ids", m_subscription);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-sequence-numbers", m_nextEvent);
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (!answered(response)) {
        // Its lease ran out, or the scheduler started afresh.
        if (response && ippGetStatusCode(response) == IPP_STATUS_ERROR_NOT_FOUND)
            m_subscription = 0;
        return;
    }
    stop.progressed();
    for (auto ending = m_endings.begin(); ending != m_endings.end();)
        ending = ending.key() < oldestJob ? m_endings.erase(ending) : std::next(ending);
    for (const IppGroup &group : groupsOf(response, IPP_TAG_EVENT_NOTIFICATION)) {
        m_nextEvent = std::max(m_nextEvent, integerOf(group, "notify-sequence-number") + 1);
        const JobAttributes job = jobAttributesOf(group);
        if (job.jobId >= oldestJob && job.state >= IPP_JSTATE_CANCELED)
            m_endings.insert(job.jobId, answerOf(job));
    }
}

bool CupsJobs::subscribe(http_t *http, StopToken &stop)
{
    if (m_subscription != 0)
        return true;
    // The whole scheduler's jobs: the jobs followed may be on several queues.
    ipp_t *request = requestTo(IPP_OP_CREATE_PRINTER_SUBSCRIPTIONS, schedulerUri(http).constData());
    ippAddString(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-pull-method", nullptr, "ippget");
    ippAddString(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-events", nullptr, "job-completed");
    ippAddInteger(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration", LeaseSeconds);
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (!answered(response))
        return false;
    stop.progressed();
    ipp_attribute_t *id = ippFindAttribute(response, "notify-subscription-id", IPP_TAG_INTEGER);
    m_subscription = id ? ippGetInteger(id, 0) : 0;
    m_nextEvent = 1;
    m_endings.clear();
    m_leased.start();
    return m_subscription != 0;
}

void CupsJobs::unsubscribe(http_t *http)
{
    if (m_subscription == 0)
        return;
    ipp_t *request = requestTo(IPP_OP_CANCEL_SUBSCRIPTION, schedulerUri(http).constData());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", m_subscription);
    ippDelete(cupsDoRequest(http, request, "/"));
    m_subscription = 0;
    m_endings.clear();
}

// Following that outlasts half the lease keeps its subscription alive.
void CupsJobs::renewIfDue(http_t *http, StopToken &stop)
{
    if (m_subscription == 0 || m_leased.elapsed() < LeaseSeconds * 1000 / 2)
        return;
    ipp_t *request = requestTo(IPP_OP_RENEW_SUBSCRIPTION, schedulerUri(http).constData());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", m_subscription);
    ippAddInteger(request, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration", LeaseSeconds);
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (answered(response)) {
        stop.progressed();
        m_leased.restart();
    } else if (response && ippGetStatusCode(response) == IPP_STATUS_ERROR_NOT_FOUND) {
        m_subscription = 0;
    }
}

// Which queues are stopped, and why.
bool CupsJobs::askAboutPrinters(http_t *http, StopToken &stop)
{
    ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const char *const wanted[] = {"printer-name", "printer-state", "printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, wanted);
    ipp_t *response = cupsDoRequest(http, request, "/");
    const auto freeResponse = qScopeGuard([response] { ippDelete(response); });
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_CONFLICTING)
        return false;
    stop.progressed();
    m_stoppedPrinters = stoppedPrintersOf(response);
    return true;
}

// The jobs' last known answers, a job waiting on a stopped printer held.
QList<JobState> CupsJobs::withStoppedPrinters(const QList<int> &jobIds) const
{
    QList<JobState> states;
    for (const int id : jobIds) {
        // Only the jobs' own answer may call a job forgotten: one taken
        // after it was asked is still on its way.
        JobAnswer answer = m_answers.value(id, JobAnswer{JobAnswer::State::Working, {}});
        const auto stopped = m_stoppedPrinters.constFind(m_jobPrinters.value(id));
        if (answer.state == JobAnswer::State::Working && stopped != m_stoppedPrinters.cend())
            answer = {JobAnswer::State::Held, *stopped};
        states.append({id, answer});
    }
    return states;
}

} // namespace platform
