// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A print run made one job, as the window runs it: the run hands every
// document to a combining sink, and once the last entry has settled the
// combined document goes out through the same print thread, in list order.
// Each entry added keeps the mark "printing" until the one job has its
// answer, and then takes the job's; an entry whose document failed is marked
// as failed at once and left out.

#include "combiningsink.h"
#include "printqueue.h"
#include "printrun.h"
#include "runreport.h"

#include <QObject>

#include <cstdint>
#include <vector>

namespace joblist { class JobList; }

namespace printing {

// Whether an entry's document went into the combined document.
bool addedToTheJob(const EntryOutcome &outcome);

// An entry of a combined run, settled as the one job did: taken, with its
// number, or not printed, or in doubt, as the job.
EntryOutcome asTheJob(EntryOutcome outcome, const core::SinkAnswer &job);

// An entry of the one job and what became of it with the job.
struct NamedOutcome {
    QString entry;
    EntryOutcome outcome;
};

// The run's report once the one job has its answer: an entry the job did
// not carry to the printer is no longer among those sent.
RunReport reportAfterTheJob(RunReport report, const QList<NamedOutcome> &carried);

class CombinedRun final : public QObject {
    Q_OBJECT

public:
    // `sink` is the one `run` hands its documents to through `queue`.
    // The contents page, when asked for, is made by a page from `renderers`.
    CombinedRun(PrintRun &run, PrintQueue &queue, joblist::JobList &jobs, CombiningSink &sink,
                core::RendererFactory renderers, QObject *parent = nullptr);

    // Takes effect with the next run.
    void setCombining(bool on);
    bool combining() const { return m_combining; }
    // Whether the one job begins with a contents page; with the next run.
    void setContents(bool on) { m_contents = on; }
    // The one job is on its way: the run is over, its answer is not in.
    bool sending() const { return m_sending; }

Q_SIGNALS:
    // The run is over, its one job (if any) answered: what the run's own
    // `finished` says when it does not combine.
    void finished(const printing::RunReport &report);

private:
    struct Settled {
        std::uint32_t entry = 0;
        QString text;
        EntryOutcome outcome;
    };

    void onStarted();
    void onEntryFinished(const QString &text, const EntryOutcome &outcome);
    void onRunFinished(const RunReport &report);
    void onSubmitted(quint64 ticket, const core::SinkAnswer &answer);
    void settleAll(const core::SinkAnswer &job);
    int positionOf(std::uint32_t entry) const;

    // The combined job's ticket: no entry's, whose tickets never are 0.
    static constexpr quint64 JobTicket = 0;

    PrintRun &m_run;
    PrintQueue &m_queue;
    joblist::JobList &m_jobs;
    CombiningSink &m_sink;
    core::RendererFactory m_renderers;
    bool m_contents = false;
    bool m_contentsThisRun = false;
    bool m_combining = false;
    bool m_combiningThisRun = false;
    bool m_sending = false;
    std::vector<Settled> m_settled;
    RunReport m_report;
};

} // namespace printing
