#include "cupsjobs.h"

#include "core/messagetext.h"

#include <cups/cups.h>

#include <QScopeGuard>

#include <algorithm>

namespace platform {

namespace {

// One group of a response's attributes (one job, one printer), by name.
using Group = QHash<QByteArray, ipp_attribute_t *>;

// The groups of kind `tag` in `response`, in order: each ends where an
// attribute without a name separates it from the next.
QList<Group> groupsOf(ipp_t *response, ipp_tag_t tag)
{
    QList<Group> groups;
    Group group;
    const auto keep = [&] {
        if (!group.isEmpty())
            groups << group;
        group.clear();
    };
    for (ipp_attribute_t *attribute = ippFirstAttribute(response); attribute; attribute = ippNextAttribute(response)) {
        const char *name = ippGetName(attribute);
        if (!name) {
            keep();
            continue;
        }
        if (ippGetGroupTag(attribute) == tag)
            group.insert(QByteArray(name), attribute);
    }
    keep();
    return groups;
}

int integerOf(const Group &group, const char *name)
{
    ipp_attribute_t *attribute = group.value(name);
    return attribute ? ippGetInteger(attribute, 0) : 0;
}

QString textOf(const Group &group, const char *name)
{
    ipp_attribute_t *attribute = group.value(name);
    return attribute ? QString::fromUtf8(ippGetString(attribute, 0, nullptr)) : QString();
}

QStringList textsOf(const Group &group, const char *name)
{
    QStringList texts;
    ipp_attribute_t *attribute = group.value(name);
    for (int i = 0; attribute && i < ippGetCount(attribute); ++i)
        texts << QString::fromUtf8(ippGetString(attribute, i, nullptr));
    return texts;
}

// What the scheduler says of one job.
struct JobAttributes {
    int jobId = 0;
    int state = 0;
    QStringList reasons;
    QString printerMessage;
    QString queue;
};

// The one reader of a job's attributes in a Get-Jobs answer.
JobAttributes jobAttributesOf(const Group &group)
{
    return {integerOf(group, "job-id"), integerOf(group, "job-state"), textsOf(group, "job-state-reasons"),
            textOf(group, "job-printer-state-message"), textOf(group, "job-printer-uri").section(u'/', -1)};
}

// Why a job waits, ends or ended, in words for the user: the printer's own
// message where it gave one, else the reasons CUPS names.
QString jobReason(const QStringList &reasons, const QString &printerMessage)
{
    static const QList<std::pair<QString, QString>> words{
        {QStringLiteral("printer-stopped"), QStringLiteral("the printer is stopped")},
        {QStringLiteral("job-hold-until-specified"), QStringLiteral("held until someone releases it")},
        {QStringLiteral("cups-held-for-authentication"), QStringLiteral("the printer asks for a password")},
        {QStringLiteral("job-canceled-by-user"), QStringLiteral("canceled by its owner")},
        {QStringLiteral("job-canceled-by-operator"), QStringLiteral("canceled by the printer's operator")},
        {QStringLiteral("job-canceled-at-device"), QStringLiteral("canceled at the printer")},
        {QStringLiteral("aborted-by-system"), QStringLiteral("the print system gave it up")},
        {QStringLiteral("job-aborted-by-system"), QStringLiteral("the print system gave it up")},
        {QStringLiteral("document-format-error"), QStringLiteral("the printer could not read it")},
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
    return {JobAnswer::State::Unknown, QStringLiteral("the print system no longer knows the job")};
}

// The printer's answer about one job, from what the scheduler says of it.
JobAnswer answerOf(const JobAttributes &job)
{
    using State = JobAnswer::State;
    const QString why = jobReason(job.reasons, job.printerMessage);
    switch (job.state) {
    case IPP_JSTATE_HELD:
        return {State::Held, why};
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_PROCESSING:
        if (job.reasons.contains(u"printer-stopped"))
            return {State::Held, jobReason({QStringLiteral("printer-stopped")}, {})};
        return {State::Working, {}};
    case IPP_JSTATE_STOPPED:
        return {State::Held, why.isEmpty() ? QStringLiteral("the printer stopped it") : why};
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
    for (const Group &group : groupsOf(response, IPP_TAG_JOB)) {
        const JobAttributes job = jobAttributesOf(group);
        if (job.jobId > 0)
            known.insert(job.jobId, job);
    }
    QList<JobAttributes> jobs;
    for (const int id : jobIds)
        jobs << known.value(id, JobAttributes{id, 0, {}, {}, {}});
    return jobs;
}

// The stopped queues of a CUPS-Get-Printers answer, each with why.
QHash<QString, QString> stoppedPrintersOf(ipp_t *response)
{
    QHash<QString, QString> stopped;
    for (const Group &group : groupsOf(response, IPP_TAG_PRINTER)) {
        const QString name = textOf(group, "printer-name");
        if (name.isEmpty() || integerOf(group, "printer-state") != IPP_PSTATE_STOPPED)
            continue;
        const QString message = textOf(group, "printer-state-message");
        stopped.insert(name, message.trimmed().isEmpty() ? QStringLiteral("the printer is stopped")
                                                         : u"the printer is stopped: " + quotedReason(message));
    }
    return stopped;
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
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, schedulerUri(http).constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
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
    m_answers.clear();
    for (const JobAttributes &job : jobsOf(response, jobIds)) {
        const JobAnswer answer = answerOf(job);
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
