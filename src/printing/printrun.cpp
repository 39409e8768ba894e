// SPDX-License-Identifier: GPL-3.0-or-later
#include "printrun.h"
#include "core/reasontext.h"
#include "finishdocument.h"

#include "joblist/joblist.h"
#include "core/entryaddress.h"
#include "core/loadfailure.h"
#include "core/messagetext.h"
#include "core/signin.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

namespace printing {

using joblist::Mark;
using core::RenderedDocument;
using core::SinkAnswer;
using Result = EntryOutcome::Result;


PrintRun::PrintRun(joblist::JobList &jobs, core::RendererFactory renderers, PrintQueue &queue, QObject *parent)
    : QObject(parent)
    , m_jobs(jobs)
    , m_makeRenderer(std::move(renderers))
    , m_queue(queue)
    , m_follower(jobs, queue)
{
    qRegisterMetaType<core::RenderedDocument>();
    connect(&m_queue, &PrintQueue::checked, this, &PrintRun::onChecked);
    connect(&m_queue, &PrintQueue::submitted, this, &PrintRun::onSubmitted);
    connect(&m_jobs, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { followRemoval(first + 1, last + 1); });
    connect(&m_jobs, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { followInsertion(first + 1, last + 1); });
    connect(&m_jobs, &joblist::JobList::entriesExchanged, this, &PrintRun::followExchange);
    connect(&m_follower, &JobFollower::answered, this, &PrintRun::entryAnswered);
    connect(&m_follower, &JobFollower::allAnswered, this, [this] {
        // A run under way may still send jobs to follow.
        if (!m_running)
            m_queue.endFollowing();
        Q_EMIT allAnswered();
    });
}

AssembledRun assembleRun(joblist::JobList &jobs, core::RendererFactory renderers,
                         std::unique_ptr<core::PrintSink> sink, const RunSettings &settings)
{
    AssembledRun assembled;
    assembled.queue = std::make_unique<PrintQueue>(std::move(sink));
    assembled.run = std::make_unique<PrintRun>(jobs, std::move(renderers), *assembled.queue);
    assembled.run->setSettings(settings);
    return assembled;
}

PrintRun::~PrintRun()
{
    cancelAll();
}

void PrintRun::setSettings(const RunSettings &settings)
{
    m_settings = settings;
    if (m_running)
        return;
    while (m_slots.size() > std::size_t(std::max(1, m_settings.renderers)))
        m_slots.pop_back();
}

void PrintRun::run()
{
    // The button stays pressable during a run; a second run inside the
    // first would print the list twice over.
    if (m_running)
        return;
    m_running = true;
    m_halt.reset();
    m_report = {};
    m_head = {};
    m_ready.clear();
    m_done = 0;
    ++m_runNumber;
    m_follower.setLatestRun(m_runNumber);
    Q_EMIT started();
    if (m_jobs.count() <= 0)
        return finish(RunReport::Ending::NothingToPrint);
    m_total = m_jobs.beginRun();
    m_runStart = QDateTime::currentDateTime();
    m_pages = parsePageRanges(m_settings.printer.value(core::option::PageRanges));
    // Nothing is loaded for a printer that cannot take the jobs.
    m_checking = true;
    m_queue.check(m_settings.printer, m_settings.follow && m_queue.followsJobs());
}

void PrintRun::stop()
{
    if (m_running)
        haltAfterTheJobOut(RunReport::Ending::Stopped, stoppedReason());
}

void PrintRun::abandon()
{
    if (!m_running)
        return;
    m_running = false;
    m_checking = false;
    cancelAll();
    m_follower.stop();
    m_queue.abandon();
}

void PrintRun::onChecked(const std::optional<core::SinkProblem> &problem, const QPageLayout &layout)
{
    if (!m_running || !m_checking)
        return;
    m_checking = false;
    if (problem) {
        m_jobs.settlePending(Mark::None);
        // A sink words a problem as what is wrong, then, after a blank
        // line, what to do about it.
        m_report.printerReason = problem->reason.section(QStringLiteral("\n\n"), 0, 0);
        m_report.printerAdvice = problem->reason.section(QStringLiteral("\n\n"), 1);
        return finish(problem->setting ? RunReport::Ending::SettingRefused : RunReport::Ending::PrinterUnusable);
    }
    m_layout = layout;
    nextStep();
}

void PrintRun::nextStep()
{
    m_head = {};
    if (m_halt)
        return settleTheRest();
    const int position = m_jobs.firstPending();
    if (position == 0)
        return finish(RunReport::Ending::Finished);
    m_head.position = position;
    m_head.entry = m_jobs.entryId(position);
    m_head.text = m_jobs.text(position);
    // Entries removed meanwhile shrink the run; the bar never passes 100.
    const int step = m_done + 1;
    m_stepClock.start();
    Q_EMIT progress(float(double(step) / double(m_done + m_jobs.pendingCount()) * 100.0));
    m_jobs.setMark(position, Mark::Printing);
    plan();
    APrint1();
}

// The documents worth preparing now: the current entry's, until it is with
// the printer, then the pending entries after it, in list order, as many as
// the pages can work on and keep ready ahead of their turn.
QList<PrintRun::Wanted> PrintRun::wantedDocuments()
{
    const int window = std::max(1, m_settings.renderers) * (1 + ReadyPerPage);
    QList<Wanted> wanted;
    if (m_head.entry != 0 && m_head.position > 0 && !m_head.handedOver)
        wanted.append({m_head.entry, m_head.text});
    for (const int position : m_jobs.pendingPositions(window - int(wanted.size())))
        wanted.append({m_jobs.entryId(position), m_jobs.text(position)});
    return wanted;
}

void PrintRun::plan()
{
    if (m_halt)
        return;
    const QList<Wanted> wanted = wantedDocuments();
    const auto isWanted = [&wanted](std::uint32_t entry) {
        return std::any_of(wanted.begin(), wanted.end(), [entry](const Wanted &w) { return w.entry == entry; });
    };
    for (auto ready = m_ready.begin(); ready != m_ready.end();)
        ready = isWanted(ready.key()) ? std::next(ready) : m_ready.erase(ready);
    for (const auto &slot : m_slots) {
        if (slot->entry != 0 && !isWanted(slot->entry))
            release(*slot);
    }
    // The earliest documents first: the one to print next must never wait
    // for a page busy further down the list.
    for (const Wanted &document : wanted) {
        if (m_ready.contains(document.entry) || slotFor(document.entry))
            continue;
        Slot *slot = freeSlot();
        if (!slot)
            break;
        startOn(*slot, document);
    }
}

PrintRun::Slot *PrintRun::freeSlot()
{
    const auto free = std::find_if(m_slots.begin(), m_slots.end(), [](const auto &slot) { return slot->entry == 0; });
    if (free != m_slots.end())
        return free->get();
    if (m_slots.size() >= std::size_t(std::max(1, m_settings.renderers)))
        return nullptr;
    auto slot = std::make_unique<Slot>();
    slot->renderer = m_makeRenderer();
    Slot *raw = slot.get();
    // Queued, so that the run never acts inside the page's own notification.
    // The renderer is the context: a result still queued when its slot goes
    // goes with it, so the slot it names always exists when it arrives.
    connect(slot->renderer.get(), &core::DocumentRenderer::rendered, slot->renderer.get(),
            [this, raw](quint64 job, const RenderedDocument &rendered) { onRendered(*raw, job, rendered); },
            Qt::QueuedConnection);
    m_slots.push_back(std::move(slot));
    return raw;
}

void PrintRun::release(Slot &slot)
{
    slot.renderer->cancel();
    slot.entry = 0;
}

void PrintRun::startOn(Slot &slot, const Wanted &wanted)
{
    slot.entry = wanted.entry;
    slot.job = ++m_documentsStarted;
    core::Readiness readiness = m_settings.readiness();
    readiness.headings = m_settings.bookmarks;
    slot.renderer->render(slot.job, wanted.text, m_layout, readiness);
}

PrintRun::Slot *PrintRun::slotFor(std::uint32_t entry)
{
    const auto found = std::find_if(m_slots.begin(), m_slots.end(),
                                    [entry](const auto &slot) { return slot->entry == entry; });
    return found == m_slots.end() ? nullptr : found->get();
}

void PrintRun::onRendered(Slot &slot, quint64 job, const RenderedDocument &document)
{
    // A page given other work since has nothing to say about this document.
    if (!m_running || slot.entry == 0 || slot.job != job)
        return;
    if (document.engineFailed)
        return engineFailedOn(slot);
    const std::uint32_t entry = slot.entry;
    slot.entry = 0;
    m_ready.insert(entry, document);
    if (entry == m_head.entry)
        APrint1();
    if (m_running)
        plan();
}

// Hands the current entry's document to the printer once it is ready; a
// document that could not be made is given up here.
void PrintRun::APrint1()
{
    if (m_head.handedOver || !m_ready.contains(m_head.entry))
        return;
    RenderedDocument document = m_ready.take(m_head.entry);
    if (document.state == RenderedDocument::State::Failed)
        return settle({Result::NotPrinted, document.failure});
    m_head.handedOver = true;
    m_head.state = document.state;
    m_head.note = document.failure;
    m_head.readyBy = document.readyBy;
    m_head.finalAddress = document.finalAddress;
    PrintQueue::Gate gate;
    if (m_gate)
        gate = [gate = m_gate, step = m_done + 1, text = m_head.text](qint64 bytes) { return gate(step, text, bytes); };
    m_queue.submit(ticket(), document.pdf, {m_head.text, document.title.trimmed()}, finishing(document.title, document.headings), std::move(gate));
}

// Every page says what it is: the document's title (its file's name when it
// has none), the entry's address, the page number and when the run began.
// Drawn on the print thread, while the pages work on the next documents.
PrintQueue::Finish PrintRun::finishing(const QString &title, const QList<core::DocumentHeading> &headings) const
{
    DocumentFinish finish;
    if (m_settings.headings)
        finish.headings = PageHeadings{title.trimmed().isEmpty() ? core::documentName(m_head.text) : title,
                                       core::withoutUserInfo(m_head.text), runStartText(m_runStart)};
    finish.pages = m_pages;
    finish.countPages = m_settings.countPages;
    for (const core::DocumentHeading &heading : headings)
        finish.bookmarks.push_back({heading.text, heading.level, heading.name});
    if (!finish.anything())
        return {};
    return [finish = std::move(finish)](const QByteArray &pdf) { return finishDocument(pdf, finish); };
}

void PrintRun::onSubmitted(quint64 ticket, const SinkAnswer &answer)
{
    if (!m_running || !m_head.handedOver || ticket != this->ticket())
        return;
    const auto facts = [&answer, this](EntryOutcome outcome) {
        outcome.ready = core::readyByName(m_head.readyBy);
        outcome.jobId = answer.jobId;
        outcome.bytes = answer.bytes;
        outcome.pages = answer.pages;
        outcome.file = answer.file;
        outcome.finalAddress = m_head.finalAddress;
        return outcome;
    };
    // A page that ended elsewhere (a sign-in form the site sent it to) still
    // printed, but says where, so that it is told apart from the report.
    const QString endedAt = m_head.finalAddress.isEmpty()
        ? QString()
        : core::reasonText(QT_TRANSLATE_NOOP("Reason", "ended at %1")).arg(m_head.finalAddress);
    switch (answer.kind) {
    case SinkAnswer::Kind::Taken:
        if (m_head.state == RenderedDocument::State::Incomplete)
            return settle(facts({Result::SentIncomplete, endedAt.isEmpty() ? m_head.note : m_head.note + u"; " + endedAt}));
        return settle(facts({Result::Sent, endedAt}));
    case SinkAnswer::Kind::LeftOut:
        return settle({Result::NotPrinted, answer.reason});
    case SinkAnswer::Kind::DocumentRefused:
        return settle({Result::NotPrinted,
                       core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer refused it: %1"))
                           .arg(core::quotedReason(answer.reason))});
    case SinkAnswer::Kind::PrinterFailed:
        return stopForPrinter(core::quotedReason(answer.reason));
    case SinkAnswer::Kind::MayHavePrinted:
        return settle(facts({Result::MayHavePrinted, core::quotedReason(answer.reason)}));
    }
}

void PrintRun::settle(EntryOutcome outcome)
{
    outcome.seconds = m_stepClock.isValid() ? m_stepClock.nsecsElapsed() / 1e9 : 0;
    Mark mark = Mark::NotPrinted;
    switch (outcome.result) {
    case Result::Sent:
        mark = Mark::Printed;
        m_report.sent << m_head.text;
        break;
    case Result::SentIncomplete:
        mark = Mark::PrintedIncomplete;
        m_report.sent << m_head.text;
        m_report.incomplete.append({m_head.text, outcome.reason});
        break;
    case Result::NotPrinted:
        m_report.notPrinted.append({m_head.text, outcome.reason});
        break;
    case Result::MayHavePrinted:
        mark = Mark::MayHavePrinted;
        m_report.mayHavePrinted.append({m_head.text, outcome.reason});
        break;
    }
    const bool followed = outcome.jobId > 0 && m_settings.follow && m_queue.followsJobs()
                          && (outcome.result == Result::Sent || outcome.result == Result::SentIncomplete);
    if (followed && outcome.result == Result::Sent)
        mark = Mark::Sent;
    // An entry removed while its job went out was still printed; there is
    // just no row left to mark.
    if (m_head.position > 0)
        m_jobs.setMark(m_head.position, mark, outcome.reason);
    if (followed)
        startFollowing(outcome.jobId, outcome);
    ++m_done;
    Q_EMIT entryFinished(m_done, m_total, m_head.text, outcome);
    if (m_running)
        nextStep();
}

void PrintRun::stopForPrinter(const QString &reason)
{
    if (m_head.position > 0)
        m_jobs.setMark(m_head.position, Mark::NotPrinted, reason);
    m_report.printerReason = reason;
    m_report.notSent << m_head.text;
    ++m_done;
    Q_EMIT entryFinished(m_done, m_total, m_head.text, {Result::NotPrinted, reason});
    // Both parts are reasons of their own, so the tooltip words each.
    [[maybe_unused]] const char *const notSentWords = QT_TRANSLATE_NOOP("Reason", "not sent: %1");
    const QString notSent
        = core::reasonText(QT_TRANSLATE_NOOP("Reason", "not sent: the printer stopped taking jobs (%1)")).arg(reason);
    m_report.notSent += m_jobs.settlePending(Mark::NotPrinted, notSent);
    cancelAll();
    finish(RunReport::Ending::PrinterFailed);
}

// No page can load a document any more.
void PrintRun::engineFailedOn(Slot &slot)
{
    slot.entry = 0;
    haltAfterTheJobOut(RunReport::Ending::EngineFailed, core::engineFailed());
}

// A job already with the printer still gets its answer; then the run stops.
// A document still being prepared, or ready and waiting, is dropped unsent.
// The first cause to halt the run is the one it ends with. While the printer
// is still being checked, the check's answer stops it.
void PrintRun::haltAfterTheJobOut(RunReport::Ending ending, const QString &reason)
{
    if (m_halt)
        return;
    m_halt = Halt{ending, reason};
    cancelAll();
    if (!m_checking && !m_head.handedOver)
        settleTheRest();
}

// Every entry the run has not settled is named not printed, once each and in
// list order, as a step of its own, so that the marks, the closing message
// and whoever reports each step all say it once; no page is asked to load
// any of them.
void PrintRun::settleTheRest()
{
    const EntryOutcome failed{Result::NotPrinted, m_halt->reason};
    // Settled with the run marked over, so that no step follows each.
    m_running = false;
    // The entry under way, unless the user removed it meanwhile.
    if (m_head.entry != 0 && m_head.position > 0 && !m_head.handedOver)
        settle(failed);
    while (const int position = m_jobs.firstPending()) {
        m_head = {};
        m_head.position = position;
        m_head.entry = m_jobs.entryId(position);
        m_head.text = m_jobs.text(position);
        m_stepClock.start();
        settle(failed);
    }
    finish(m_halt->ending);
}

void PrintRun::finish(RunReport::Ending ending)
{
    m_running = false;
    m_checking = false;
    m_head = {};
    m_report.ending = ending;
    if (!m_follower.following())
        m_queue.endFollowing();
    Q_EMIT finished(m_report);
}

void PrintRun::cancelAll()
{
    for (const auto &slot : m_slots)
        release(*slot);
    m_ready.clear();
}

// The current entry is followed through the user's edits by its position,
// which is how the list marks it once its job is out.
void PrintRun::followRemoval(int first, int last)
{
    if (!m_running || m_head.position == 0)
        return;
    if (m_head.position >= first && m_head.position <= last)
        m_head.position = 0;
    else if (m_head.position > last)
        m_head.position -= last - first + 1;
    listChanged();
}

void PrintRun::followExchange(int first, int second)
{
    if (!m_running)
        return;
    if (m_head.position == first)
        m_head.position = second;
    else if (m_head.position == second)
        m_head.position = first;
    listChanged();
}

void PrintRun::followInsertion(int first, int last)
{
    if (m_running && m_head.position >= first)
        m_head.position += last - first + 1;
}

// Pages working for entries that have left the window of the next documents
// are given other work. Done once per turn of the event loop, however many
// edits the turn brought.
void PrintRun::listChanged()
{
    if (m_replanQueued)
        return;
    m_replanQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_replanQueued = false;
        if (!m_running || m_checking || m_head.entry == 0)
            return;
        if (m_head.position == 0 && !m_head.handedOver) {
            // The entry under way was removed before its job went out: it is
            // not printed and not reported.
            if (Slot *slot = slotFor(m_head.entry))
                release(*slot);
            m_ready.remove(m_head.entry);
            return nextStep();
        }
        plan();
    });
}

// The job the current step handed over, followed from now on.
void PrintRun::startFollowing(int jobId, const EntryOutcome &outcome)
{
    const bool incomplete = outcome.result == Result::SentIncomplete;
    m_follower.follow({jobId, m_head.entry, m_done + 1, m_head.text, m_runNumber, incomplete, outcome.reason});
}

} // namespace printing
