// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobsearch.h"

#include "core/jobtitle.h"

#include <QHash>

#include <algorithm>

namespace app {

namespace {

using platform::JobHistory;
using platform::PastJob;

// The earliest the job can have been made, on the scheduler's clock: not
// before the record was written. Times are whole seconds, cut down.
qint64 earliestCreation(const Submission &submission, const JobHistory &history)
{
    return submission.time + history.clockOffset - history.clockSlack;
}

bool isTheJob(const PastJob &job, const Submission &submission, qint64 earliest)
{
    return job.name == submission.title && job.user == submission.user && job.kOctets == platform::kilobytesOf(submission.bytes)
        && job.created >= earliest;
}

// A job made since the record whose name or owner the scheduler keeps from
// this user could be the one looked for.
bool couldBeTheJob(const PastJob &job, qint64 earliest)
{
    return job.created >= earliest && (job.name.isEmpty() || job.user.isEmpty());
}

// Whether the queue still shows every job that it had at the moment the
// record was written, and every one since. A scheduler forgets an ended job
// in two ways only: when its history is full, the ended jobs with the
// lowest numbers first; when the history's time is up, the ones that ended
// first first. Either way, a job that had ended before the record was
// written and is still there proves that no job made after the record, which
// has a higher number and ended later, has been forgotten. A scheduler that
// lost its state, or keeps no history, shows no such job. The job must have
// ended a whole second before the record, on the scheduler's clock as far
// as it is known: times are cut to seconds.
//
// A job of the run's own that went out before the record, on the same
// queue, proves as much with no margin and in any state: it has a lower
// number than the job looked for, and a queue prints its jobs in turn, so
// that job ended (if it ended) no earlier. A scheduler new enough to show
// no job a whole second old, a run's first minutes, still answers.
bool historyReachesBack(const JobHistory &history, const Submission &submission, const QSet<int> &earlierJobs)
{
    const qint64 before = submission.time + history.clockOffset - history.clockSlack;
    return std::any_of(history.jobs.cbegin(), history.jobs.cend(), [&](const PastJob &job) {
        return earlierJobs.contains(job.id)
            || (job.state != PastJob::State::InQueue && job.completed > 0 && job.completed < before);
    });
}

} // namespace

QueueAnswer lookForJob(const Submission &submission, const JobHistory &history, const QSet<int> &otherJobs,
                       const QSet<int> &earlierJobs)
{
    const qint64 earliest = earliestCreation(submission, history);
    const PastJob *found = nullptr;
    bool hidden = false;
    for (const PastJob &job : history.jobs) {
        if (otherJobs.contains(job.id))
            continue;
        hidden = hidden || couldBeTheJob(job, earliest);
        if (!isTheJob(job, submission, earliest))
            continue;
        // Should the same document have gone out twice, a job that prints
        // is the one that counts; of several, the latest.
        const bool prints = job.state != PastJob::State::GivenUp;
        const bool foundPrints = found && found->state != PastJob::State::GivenUp;
        if (!found || (prints && !foundPrints) || (prints == foundPrints && job.id > found->id))
            found = &job;
    }
    if (found && found->state != PastJob::State::GivenUp)
        return {QueueAnswer::Kind::Sent, found->id};
    // Canceled or aborted, the job will not print: as when the printer's
    // answer said so, the entry prints again.
    if (found)
        return {QueueAnswer::Kind::NotSent};
    if (!hidden && historyReachesBack(history, submission, earlierJobs))
        return {QueueAnswer::Kind::NotSent};
    return {QueueAnswer::Kind::Unknowable};
}

void settleDoubts(Journal &journal, int entries)
{
    QHash<QString, std::optional<JobHistory>> histories;
    for (int index = 1; index <= entries; ++index) {
        const Submission submission = journal.submission(index);
        if (journal.verdict(index).state != JournalVerdict::State::Uncertain || !submission.findable())
            continue;
        auto history = histories.find(submission.printer);
        if (history == histories.end())
            history = histories.insert(submission.printer, platform::jobHistory(submission.printer));
        if (!*history)
            continue;
        // An entry that went out in a job named after another entry (one
        // job for a whole run) shares that job with the others: a job
        // found for them is its own too.
        const bool shared = submission.title != core::jobTitle(journal.entry(index));
        const QueueAnswer answer = lookForJob(submission, **history, shared ? QSet<int>() : journal.jobsOfOthers(index),
                                              journal.jobsBefore(submission.line));
        if (answer.kind == QueueAnswer::Kind::Sent)
            journal.foundInQueue(index, submission, answer.job);
        else if (answer.kind == QueueAnswer::Kind::NotSent)
            journal.notInQueue(index);
    }
}

} // namespace app
