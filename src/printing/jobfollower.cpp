// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobfollower.h"
#include "core/reasontext.h"

#include "joblist/joblist.h"

namespace printing {

using joblist::Mark;

namespace {

// The print system is asked about the jobs it took at most once a second,
// for all of them together; one that gives no answer for a minute leaves
// them with none.
constexpr std::chrono::milliseconds FollowEvery{1'000};
constexpr qint64 FollowGiveUpMs = 60'000;

// The mark an entry shows for its job's answer.
Mark markOf(const JobAnswer &answer, bool incomplete)
{
    switch (answer.state) {
    case JobAnswer::State::Working:
        return incomplete ? Mark::PrintedIncomplete : Mark::Sent;
    case JobAnswer::State::Printed:
        return incomplete ? Mark::PrintedIncomplete : Mark::Printed;
    case JobAnswer::State::Held:
        return Mark::Held;
    case JobAnswer::State::Aborted:
    case JobAnswer::State::Canceled:
        return Mark::Aborted;
    case JobAnswer::State::Unknown:
        break;
    }
    return Mark::AnswerUnknown;
}

} // namespace

JobFollower::JobFollower(joblist::JobList &jobs, PrintQueue &queue, QObject *parent)
    : QObject(parent)
    , m_jobs(jobs)
    , m_queue(queue)
{
    qRegisterMetaType<printing::JobAnswer>();
    connect(&m_queue, &PrintQueue::followed, this, &JobFollower::onFollowed);
    m_clock.setSingleShot(true);
    m_clock.setInterval(FollowEvery);
    connect(&m_clock, &QTimer::timeout, this, &JobFollower::ask);
}

void JobFollower::follow(const Job &job)
{
    m_followed.append({job});
    if (!m_clock.isActive() && m_followed.size() == 1)
        m_clock.start();
}

void JobFollower::stop()
{
    m_followed.clear();
    m_clock.stop();
}

void JobFollower::ask()
{
    QList<int> jobIds;
    jobIds.reserve(m_followed.size());
    for (const Followed &followed : std::as_const(m_followed))
        jobIds << followed.job.jobId;
    if (!jobIds.isEmpty())
        m_queue.follow(jobIds);
}

void JobFollower::onFollowed(const std::optional<QList<core::JobState>> &states)
{
    if (m_followed.isEmpty())
        return;
    if (!states) {
        if (!m_unanswered.isValid())
            m_unanswered.start();
        if (m_unanswered.elapsed() >= FollowGiveUpMs) {
            const JobAnswer none{JobAnswer::State::Unknown,
                                 core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system no longer answers"))};
            for (Followed &followed : m_followed)
                take(followed, none);
        }
    } else {
        m_unanswered.invalidate();
        QHash<int, JobAnswer> answers;
        for (const core::JobState &state : *states)
            answers.insert(state.jobId, state.answer);
        for (Followed &followed : m_followed) {
            if (const auto found = answers.constFind(followed.job.jobId); found != answers.cend())
                take(followed, *found);
        }
    }
    m_followed.removeIf([](const Followed &followed) { return followed.answer.final(); });
    if (m_followed.isEmpty())
        Q_EMIT allAnswered();
    else
        m_clock.start();
}

// Says what changed, and marks the entry while it belongs to the latest run
// (a later run marks its entries anew).
void JobFollower::take(Followed &followed, const JobAnswer &answer)
{
    if (answer == followed.answer)
        return;
    followed.answer = answer;
    const Job &job = followed.job;
    if (job.run == m_latestRun) {
        for (int position = 1; position <= m_jobs.count(); ++position) {
            if (m_jobs.entryId(position) == job.entry) {
                const Mark mark = markOf(answer, job.incomplete);
                // The note says where a page ended up, too, which stays true
                // once it has printed.
                const bool keepNote = mark == Mark::PrintedIncomplete || (answer.reason.isEmpty() && mark == Mark::Printed);
                m_jobs.setMark(position, mark, keepNote ? job.note : answer.reason);
                break;
            }
        }
    }
    Q_EMIT answered(job.step, job.text, answer);
}

} // namespace printing
