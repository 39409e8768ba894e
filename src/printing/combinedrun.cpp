// SPDX-License-Identifier: GPL-3.0-or-later
#include "combinedrun.h"
#include "contentspage.h"

#include "core/messagetext.h"
#include "core/reasontext.h"
#include "joblist/joblist.h"

namespace printing {

using joblist::Mark;
using Result = EntryOutcome::Result;

namespace {

// The mark of a job the print system took but nobody follows.
Mark markFor(Result result)
{
    switch (result) {
    case Result::Sent:
        return Mark::Printed;
    case Result::SentIncomplete:
        return Mark::PrintedIncomplete;
    case Result::MayHavePrinted:
        return Mark::MayHavePrinted;
    case Result::NotPrinted:
        break;
    }
    return Mark::NotPrinted;
}

} // namespace

bool addedToTheJob(const EntryOutcome &outcome)
{
    return outcome.result == Result::Sent || outcome.result == Result::SentIncomplete;
}

EntryOutcome asTheJob(EntryOutcome outcome, const core::SinkAnswer &job)
{
    if (!addedToTheJob(outcome))
        return outcome;
    switch (job.kind) {
    case core::SinkAnswer::Kind::Taken:
        break;
    case core::SinkAnswer::Kind::MayHavePrinted:
        return {Result::MayHavePrinted, core::quotedReason(job.reason), job.jobId, job.bytes};
    default:
        return {Result::NotPrinted,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "the combined job failed: %1")).arg(core::quotedReason(job.reason))};
    }
    outcome.jobId = job.jobId;
    outcome.bytes = job.bytes;
    outcome.file = job.file;
    return outcome;
}

RunReport reportAfterTheJob(RunReport report, const QList<NamedOutcome> &carried)
{
    for (const auto &[text, outcome] : carried) {
        if (addedToTheJob(outcome))
            continue;
        report.sent.removeOne(text);
        report.incomplete.removeIf([&text](const NamedEntry &entry) { return entry.entry == text; });
        if (outcome.result == Result::MayHavePrinted)
            report.mayHavePrinted.append({text, outcome.reason});
        else
            report.notPrinted.append({text, outcome.reason});
    }
    return report;
}

CombinedRun::CombinedRun(PrintRun &run, PrintQueue &queue, joblist::JobList &jobs, CombiningSink &sink,
                         core::RendererFactory renderers, QObject *parent)
    : QObject(parent)
    , m_run(run)
    , m_queue(queue)
    , m_jobs(jobs)
    , m_sink(sink)
    , m_renderers(std::move(renderers))
{
    m_sink.setCombining(false);
    connect(&run, &PrintRun::started, this, &CombinedRun::onStarted);
    connect(&run, &PrintRun::entryFinished, this,
            [this](int, int, const QString &text, const EntryOutcome &outcome) { onEntryFinished(text, outcome); });
    connect(&run, &PrintRun::finished, this, &CombinedRun::onRunFinished);
    connect(&queue, &PrintQueue::submitted, this, &CombinedRun::onSubmitted);
}

void CombinedRun::setCombining(bool on)
{
    m_combining = on;
    if (!m_run.running())
        m_sink.setCombining(on);
}

// The sink learns the run's kind when the printer is checked, just after.
void CombinedRun::onStarted()
{
    m_combiningThisRun = m_combining;
    m_contentsThisRun = m_combining && m_contents;
    m_sink.setCombining(m_combining);
    m_settled.clear();
}

// Nothing is with the printer until the one job goes: an entry added to it
// is still being printed.
void CombinedRun::onEntryFinished(const QString &text, const EntryOutcome &outcome)
{
    if (!m_combiningThisRun)
        return;
    const std::uint32_t entry = m_run.settlingEntry();
    m_settled.push_back({entry, text, outcome});
    if (const int position = positionOf(entry); position > 0 && addedToTheJob(outcome))
        m_jobs.setMark(position, Mark::Printing);
}

// A run the user stopped, or one the printer or the engine cut short, sends
// nothing of what it combined: only a run that went to its end goes out.
void CombinedRun::onRunFinished(const RunReport &report)
{
    if (!m_combiningThisRun)
        return Q_EMIT finished(report);
    m_report = report;
    const auto added = std::find_if(m_settled.begin(), m_settled.end(),
                                    [](const Settled &settled) { return addedToTheJob(settled.outcome); });
    if (added == m_settled.end())
        return settleAll({core::SinkAnswer::Kind::LeftOut, {}});
    if (report.ending != RunReport::Ending::Finished) {
        const QString why = report.ending == RunReport::Ending::Stopped ? stoppedReason() : report.printerReason;
        return settleAll({core::SinkAnswer::Kind::LeftOut, why});
    }
    // A contents page that cannot be made is left out; the documents still
    // go out as one job.
    if (m_contentsThisRun && m_renderers) {
        if (const std::unique_ptr<core::DocumentRenderer> renderer = m_renderers())
            addContents(m_sink, *renderer, m_run.pageLayout(), m_run.settings().readiness());
    }
    m_sending = true;
    m_sink.releaseNext();
    m_queue.submit(JobTicket, {}, {added->text, {}});
}

void CombinedRun::onSubmitted(quint64 ticket, const core::SinkAnswer &answer)
{
    if (ticket != JobTicket || !m_sending)
        return;
    m_sending = false;
    settleAll(answer);
}

// A job left out (the run did not go to its end) takes its entries with it,
// for the reason the run ended.
void CombinedRun::settleAll(const core::SinkAnswer &job)
{
    QList<NamedOutcome> carried;
    for (const Settled &settled : m_settled) {
        if (!addedToTheJob(settled.outcome))
            continue;
        const EntryOutcome outcome = job.kind == core::SinkAnswer::Kind::LeftOut
            ? EntryOutcome{Result::NotPrinted, job.reason.isEmpty() ? stoppedReason() : job.reason}
            : asTheJob(settled.outcome, job);
        carried.append({settled.text, outcome});
        if (const int position = positionOf(settled.entry); position > 0)
            m_jobs.setMark(position, markFor(outcome.result), outcome.reason);
    }
    RunReport report = reportAfterTheJob(m_report, carried);
    if (job.kind == core::SinkAnswer::Kind::PrinterFailed && report.ending == RunReport::Ending::Finished) {
        report.ending = RunReport::Ending::PrinterFailed;
        report.printerReason = core::quotedReason(job.reason);
    }
    m_settled.clear();
    m_sink.discard();
    Q_EMIT finished(report);
}

int CombinedRun::positionOf(std::uint32_t entry) const
{
    for (int position = 1; entry != 0 && position <= m_jobs.count(); ++position) {
        if (m_jobs.entryId(position) == entry)
            return position;
    }
    return 0;
}

} // namespace printing
