#pragma once

#include "core/printsink.h"

#include <QHash>

typedef struct _http_s http_t;

namespace platform {

// The CUPS side of following jobs to the printer's answer: what became of
// the jobs a CupsSink sent, asked over the sink's own connection. It keeps
// what it learned between questions; connecting, and dropping a connection
// that failed, are the sink's.
class CupsJobs {
public:
    // What became of `jobIds`, in one request for all of them; nothing when
    // the scheduler could not be asked.
    std::optional<QList<JobState>> jobStates(http_t *http, const QList<int> &jobIds, StopToken &stop);

private:
    std::optional<QList<JobState>> askAboutJobs(http_t *http, const QList<int> &jobIds, StopToken &stop);
    bool askAboutPrinters(http_t *http, StopToken &stop);
    QList<JobState> withStoppedPrinters(const QList<int> &jobIds) const;

    // What following the jobs learned last. A job waiting on a stopped
    // printer shows nothing of it in its own state, so the printers are
    // asked too, every other time while a job waits.
    QHash<int, JobAnswer> m_answers;
    QHash<int, QString> m_jobPrinters;          // the queue each job is on
    QHash<QString, QString> m_stoppedPrinters;  // queue name, why it is stopped
    bool m_askPrintersNext = false;
};

} // namespace platform
