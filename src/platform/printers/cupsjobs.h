// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"

#include <QElapsedTimer>
#include <QHash>

typedef struct _http_s http_t;

namespace platform {

// The CUPS side of following jobs to the printer's answer: what became of
// the jobs a CupsSink sent, asked over the sink's own connection. It keeps
// what it learned between questions; connecting, and dropping a connection
// that failed, are the sink's.
//
// A scheduler that keeps no job history forgets a job the moment it ends,
// and even one that keeps it may not say why a job was canceled. What it
// does keep is the event of each job's end, for whoever subscribed to hear
// of it beforehand: so the jobs are subscribed to before the first goes out,
// and the events are read when a job's own answer leaves its end unknown.
class CupsJobs {
public:
    // What became of `jobIds`, in one request for all of them (two when
    // some of them ended unexplained); nothing when the scheduler could not
    // be asked.
    std::optional<QList<core::JobState>> jobStates(http_t *http, const QList<int> &jobIds, core::StopToken &stop);

    // Asks the scheduler to keep the end of every job from now on; false when
    // it would not (the answers then rest on the jobs' own).
    bool subscribe(http_t *http, core::StopToken &stop);
    // Lets the scheduler forget the subscription. Waits no longer than the
    // connection's own timeout allows.
    void unsubscribe(http_t *http);
    bool subscribed() const { return m_subscription != 0; }

private:
    std::optional<QList<core::JobState>> askAboutJobs(http_t *http, const QList<int> &jobIds, core::StopToken &stop);
    void learnEndings(http_t *http, int oldestJob, core::StopToken &stop);
    void renewIfDue(http_t *http, core::StopToken &stop);
    bool askAboutPrinters(http_t *http, core::StopToken &stop);
    QList<core::JobState> withStoppedPrinters(const QList<int> &jobIds) const;

    // What following the jobs learned last. A job waiting on a stopped
    // printer shows nothing of it in its own state, so the printers are
    // asked too, every other time while a job waits.
    QHash<int, core::JobAnswer> m_answers;
    QHash<int, QString> m_jobPrinters;          // the queue each job is on
    QHash<QString, QString> m_stoppedPrinters;  // queue name, why it is stopped
    bool m_askPrintersNext = false;

    // The subscription to the jobs' ends, and what its events told.
    int m_subscription = 0;
    int m_nextEvent = 1;          // the first event not yet read
    QElapsedTimer m_leased;       // since the subscription was made or renewed
    QHash<int, core::JobAnswer> m_endings;
};

} // namespace platform
