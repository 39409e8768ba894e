// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal.h"

#include "platform/printers/jobhistory.h"

#include <QSet>

namespace app {

// What a queue's jobs say of a job whose run was stopped before the answer.
struct QueueAnswer {
    enum class Kind {
        Sent,        // the job is there, printed, printing or waiting its turn
        NotSent,     // it is certainly not there to print: given up, or never made
        Unknowable,  // the queue may have had it and forgotten it
    };
    Kind kind = Kind::Unknowable;
    int job = 0;  // Sent: its number
};

// Looks for the job `submission` describes among `history`'s jobs, leaving
// out the jobs `otherJobs`: those the journal gives other entries (the same
// document may be in the list twice). The entry's own jobs stay in: a job
// whose answer was "unknown" may well be there still. `earlierJobs` are the
// jobs the journal named before the submission's record: any of them still
// in the queue shows that the queue forgot nothing since.
QueueAnswer lookForJob(const Submission &submission, const platform::JobHistory &history, const QSet<int> &otherJobs,
                       const QSet<int> &earlierJobs = {});

// Asks the queues about every entry of `journal` in doubt whose record says
// enough to find its job, and settles those the answers settle. A queue that
// cannot be asked leaves its entries in doubt.
void settleDoubts(Journal &journal, int entries);

} // namespace app
