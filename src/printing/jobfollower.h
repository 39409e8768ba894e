// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printqueue.h"
#include "runreport.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

namespace joblist { class JobList; }

namespace printing {

// Follows the jobs the print system took to the printer's final answer,
// asking about all of them together at most once a second, and marks each
// entry as its answer changes while the entry belongs to the latest run. A
// print system that gives no answer for a minute leaves every job with none.
// Which jobs to follow, and when, is the run's.
class JobFollower : public QObject {
    Q_OBJECT

public:
    // A job to follow, and the entry it printed.
    struct Job {
        int jobId = 0;
        std::uint32_t entry = 0;
        int step = 0;
        QString text;
        quint64 run = 0;
        bool incomplete = false;  // it printed before it finished loading
        QString note;             // why it printed before it finished loading
    };

    JobFollower(joblist::JobList &jobs, PrintQueue &queue, QObject *parent = nullptr);

    void follow(const Job &job);
    bool following() const { return !m_followed.isEmpty(); }
    // The run whose entries the answers mark; earlier runs' are marked anew.
    void setLatestRun(quint64 run) { m_latestRun = run; }
    // Follows nothing more and says nothing more.
    void stop();

Q_SIGNALS:
    // The printer's answer about the job of step `step`; comes once more
    // whenever the answer changes, until it is final.
    void answered(int step, const QString &text, const printing::JobAnswer &answer);
    // Every job followed has a final answer.
    void allAnswered();

private:
    struct Followed {
        Job job;
        JobAnswer answer{JobAnswer::State::Working, {}};
    };
    void ask();
    void onFollowed(const std::optional<QList<core::JobState>> &states);
    void take(Followed &followed, const JobAnswer &answer);

    joblist::JobList &m_jobs;
    PrintQueue &m_queue;
    QList<Followed> m_followed;
    quint64 m_latestRun = 0;
    QTimer m_clock;
    QElapsedTimer m_unanswered;  // since the print system last answered about them
};

} // namespace printing
