// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "jobfollower.h"
#include "printqueue.h"
#include "runreport.h"
#include "runsettings.h"

#include "core/documentrenderer.h"
#include "printing/pagerange/pagerange.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPageLayout>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace joblist { class JobList; }

namespace printing {

// The print run behind the "Print HTML Files" button: every entry of the job
// list in turn is made into a PDF in an off-screen page and handed to the
// printer, and the run reports how it went. It works by itself between turns
// of the event loop, so the window answers all the time; it shows nothing
// itself: the window listens to its signals for the bar, the pointer and the
// closing message.
//
// Each step prints the first entry, from the top of the list as it stands at
// that moment, that was in the list when the run began and is not printed
// yet. So an entry the user removes before its turn is not printed, one
// moved is printed once at its new place, and entries added meanwhile wait
// for the next run. While one document goes to the printer, the pages work
// on the next ones (as many as RunSettings::renderers); a document prepared
// for an entry that has since left that window, or the list, is dropped.
// Jobs reach the queue strictly in list order.
class PrintRun : public QObject {
    Q_OBJECT

public:
    PrintRun(joblist::JobList &jobs, core::RendererFactory renderers, PrintQueue &queue, QObject *parent = nullptr);
    ~PrintRun() override;

    // Takes effect with the next run; pages beyond the new number go.
    void setSettings(const RunSettings &settings);
    const RunSettings &settings() const { return m_settings; }
    // Asked just before each job goes to the printer, with its step, entry
    // and size, on the print thread (so that what it writes there overlaps the
    // pages' work); a problem it names (a record that cannot be written,
    // say) stops the run there, that job unsent, as a printer that stopped
    // taking jobs would.
    using Gate = std::function<std::optional<QString>(int step, const QString &text, qint64 bytes)>;
    void setGate(Gate gate) { m_gate = std::move(gate); }

    // The paper and orientation the run lays its pages out on: the
    // printer's own with the settings' choices; invalid until the printer
    // has been asked.
    const QPageLayout &pageLayout() const { return m_layout; }
    bool running() const { return m_running; }
    // The entry (its id in the list) whose step entryFinished tells of,
    // while it does; 0 otherwise.
    std::uint32_t settlingEntry() const { return m_head.entry; }
    // Whether jobs the print system took are still followed, waiting for
    // the printer's final answer.
    bool following() const { return m_follower.following(); }

    // Starts a run; a run already going on is left alone.
    void run();
    // The user's stop: the job going out now, if any, goes on to its
    // answer; no other document is handed over, and every entry the run has
    // not settled is named not printed, stoppedReason(), once each. The run
    // then finishes as Stopped. Nothing happens when no run is going on.
    void stop();
    // Stops the run where it is, sends nothing more and reports nothing: the
    // window is closing.
    void abandon();

Q_SIGNALS:
    void started();
    // The share of the run's entries begun, 0..100, unrounded, as each step
    // begins.
    void progress(float percent);
    // Step `step` of a run over `total` entries is over.
    void entryFinished(int step, int total, const QString &text, const printing::EntryOutcome &outcome);
    void finished(const printing::RunReport &report);
    // The printer's answer about the job of step `step`, learned after the
    // print system took it; comes once more whenever the answer changes,
    // until it is final. Also after `finished`.
    void entryAnswered(int step, const QString &text, const printing::JobAnswer &answer);
    // Every job taken has a final answer.
    void allAnswered();

private:
    // One page, and what it works on.
    struct Slot {
        std::unique_ptr<core::DocumentRenderer> renderer;
        std::uint32_t entry = 0;  // the entry's id; 0 when the page is free
        quint64 job = 0;          // tells this document's result from an earlier one's
    };
    // Documents made ready ahead of their turn wait here, so that their
    // pages can go on to the next ones meanwhile.
    static constexpr int ReadyPerPage = 2;
    // The entry the current step prints.
    struct Head {
        int position = 0;  // where it stands now; 0 once removed
        std::uint32_t entry = 0;
        QString text;
        bool handedOver = false;  // its document is with the printer
        core::RenderedDocument::State state = core::RenderedDocument::State::Failed;
        QString note;  // why it is incomplete, for the report
        core::RenderedDocument::ReadyBy readyBy = core::RenderedDocument::ReadyBy::Bound;
        QString finalAddress;  // where a redirect took it, if anywhere
    };
    struct Wanted {
        std::uint32_t entry;
        QString text;
    };

    void onChecked(const std::optional<core::SinkProblem> &problem, const QPageLayout &layout);
    void nextStep();
    QList<Wanted> wantedDocuments();
    void plan();
    void startOn(Slot &slot, const Wanted &wanted);
    Slot *freeSlot();
    void release(Slot &slot);
    Slot *slotFor(std::uint32_t entry);
    void onRendered(Slot &slot, quint64 job, const core::RenderedDocument &document);
    // APrint1 keeps the design's name for the step that loads and prints
    // one document: here, handing the current entry's document to the
    // printer once it is ready.
    void APrint1();
    PrintQueue::Finish finishing(const QString &title, const QList<core::DocumentHeading> &headings) const;
    void onSubmitted(quint64 ticket, const core::SinkAnswer &answer);
    void settle(EntryOutcome outcome);
    void stopForPrinter(const QString &reason);
    void engineFailedOn(Slot &slot);
    void haltAfterTheJobOut(RunReport::Ending ending, const QString &reason);
    void settleTheRest();
    void startFollowing(int jobId, const EntryOutcome &outcome);
    void finish(RunReport::Ending ending);
    void cancelAll();
    quint64 ticket() const { return (m_runNumber << 32) | m_head.entry; }

    void followRemoval(int first, int last);
    void followExchange(int first, int second);
    void followInsertion(int first, int last);
    void listChanged();

    joblist::JobList &m_jobs;
    core::RendererFactory m_makeRenderer;
    PrintQueue &m_queue;
    RunSettings m_settings;
    Gate m_gate;
    QElapsedTimer m_stepClock;
    std::vector<std::unique_ptr<Slot>> m_slots;
    QHash<std::uint32_t, core::RenderedDocument> m_ready;

    bool m_running = false;
    bool m_checking = false;
    quint64 m_runNumber = 0;
    quint64 m_documentsStarted = 0;
    QPageLayout m_layout;
    std::optional<PageRanges> m_pages;  // the pages to print of each document; all when none
    QDateTime m_runStart;
    int m_total = 0;  // entries when the run began
    int m_done = 0;   // steps over
    Head m_head;
    bool m_replanQueued = false;
    // The engine can start no more pages, or the user stopped the run:
    // nothing more is loaded, and once the job with the printer, if any, has
    // its answer, the run ends so, every entry left named with the reason.
    struct Halt {
        RunReport::Ending ending;
        QString reason;
    };
    std::optional<Halt> m_halt;
    RunReport m_report;

    // The jobs the print system took, followed until the printer's final
    // answer.
    JobFollower m_follower;
};

// A print run with the queue it hands its jobs to, put together in the one
// way the window and the command line share. The run goes before its queue.
struct AssembledRun {
    std::unique_ptr<PrintQueue> queue;
    std::unique_ptr<PrintRun> run;
};

// A run over `jobs` whose pages come from `renderers` and whose jobs go to
// `sink`, working with `settings`.
AssembledRun assembleRun(joblist::JobList &jobs, core::RendererFactory renderers,
                         std::unique_ptr<core::PrintSink> sink, const RunSettings &settings);

} // namespace printing
