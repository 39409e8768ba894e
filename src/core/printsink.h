// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "printersettings.h"
#include "reasontext.h"

#include <QCoreApplication>
#include <QByteArray>
#include <QList>
#include <QDeadlineTimer>
#include <QMetaType>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace core {

// What became of one job handed to a sink.
struct SinkAnswer {
    enum class Kind {
        Taken,            // the job is in the queue (or written out)
        DocumentRefused,  // this document was refused; the next may well be taken
        PrinterFailed,    // the printer or the print system failed; later jobs would fail too
        MayHavePrinted,   // the whole job went out, but no answer about it could be read
        LeftOut,          // nothing of the document was to be printed; nothing went out
    };
    Kind kind = Kind::PrinterFailed;
    QString reason;  // the sink's or the queue's own words; empty when taken
    int jobId = 0;   // the print system's number for the job, when it gave one
    // What went out: the job's size and its pages (0 when not counted).
    qint64 bytes = 0;
    int pages = 0;
    QString file{};  // the file a sink that writes files wrote it to; empty for a queue
};

// Which entry a job prints, which also names the job. How it prints is the
// run's, given to the sink before the first job (see PrintSink::problem).
struct JobTicket {
    QString entry;
    QString title{};  // the document's own title, when it has one
};

// What the printer made of a job the print system took, learned by asking
// about the job afterwards: one word for it, from the print system up to the
// run's report.
struct JobAnswer {
    enum class State {
        Working,   // waiting its turn, or printing. Not final.
        Held,      // waiting: held, or its printer stopped; `reason` says why. Not final.
        Printed,   // the printer finished it
        Aborted,   // the printer or the print system gave it up; `reason` says why
        Canceled,  // someone canceled it
        Unknown,   // its answer cannot be learned (the print system forgot the job, say)
    };
    State state = State::Unknown;
    QString reason;  // in words for the user; empty when there is nothing to say
    bool final() const { return state != State::Held && state != State::Working; }
    friend bool operator==(const JobAnswer &, const JobAnswer &) = default;
};

// One job's answer, as a sink reports it.
struct JobState {
    int jobId = 0;
    JobAnswer answer;
};

// Why a destination cannot take a run's jobs, in words for the user.
struct SinkProblem {
    QString reason;
    // The destination is there, but refuses a setting the user chose (an
    // option it does not offer, a value it does not take): the user's to
    // change, not the printer's to mend.
    bool setting = false;
};

// When a print system last showed a sign of life, for whoever watches a
// call from outside (see PrintQueue); in milliseconds of the steady clock.
class Heartbeat {
public:
    static qint64 now()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void beat() { m_last.store(now(), std::memory_order_relaxed); }
    // While the program does work of its own, silence is not the print
    // system's.
    void pause() { m_last.store(Paused, std::memory_order_relaxed); }
    bool paused() const { return m_last.load(std::memory_order_relaxed) == Paused; }
    std::chrono::milliseconds silence() const
    {
        const qint64 last = m_last.load(std::memory_order_relaxed);
        return std::chrono::milliseconds(last == Paused ? 0 : now() - last);
    }

private:
    static constexpr qint64 Paused = -1;
    std::atomic<qint64> m_last{now()};
};

// The run's word that it has given up a request: set once, on the run's
// thread, and waited for, without spinning, by a call on the print thread.
class AbandonFlag {
public:
    void set()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_set.store(true, std::memory_order_relaxed);
        }
        m_changed.notify_all();
    }
    bool isSet() const { return m_set.load(std::memory_order_relaxed); }
    // Blocks until the flag is set or `wait` has passed.
    void waitFor(std::chrono::nanoseconds wait) const
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, wait, [this] { return isSet(); });
    }

private:
    std::atomic<bool> m_set{false};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
};

// Tells a sink's long calls when to give up: when the run abandons the job
// (the window closed), or when the print system has shown no progress for
// its bound. Calls that move data say so with progressed(). The bound counts
// silence only: a transfer that keeps moving is never cut.
class StopToken {
public:
    StopToken(const AbandonFlag &abandoned, std::chrono::milliseconds idleBound, Heartbeat *heartbeat = nullptr)
        : m_abandoned(abandoned), m_idleBound(idleBound), m_deadline(idleBound), m_heartbeat(heartbeat)
    {
        if (m_heartbeat)
            m_heartbeat->beat();
    }
    bool abandoned() const { return m_abandoned.isSet(); }
    bool timedOut() const { return m_deadline.hasExpired(); }
    bool shouldStop() const { return abandoned() || timedOut(); }
    // For a call with nothing to do but wait: blocks until it should stop.
    void waitUntilStopped() const
    {
        while (!shouldStop())
            m_abandoned.waitFor(m_deadline.remainingTimeAsDuration());
    }
    void progressed()
    {
        m_deadline.setRemainingTime(m_idleBound);
        if (m_heartbeat)
            m_heartbeat->beat();
    }
    std::chrono::milliseconds idleBound() const { return m_idleBound; }

private:
    const AbandonFlag &m_abandoned;
    std::chrono::milliseconds m_idleBound;
    QDeadlineTimer m_deadline;
    Heartbeat *m_heartbeat;
};

// Where the run's PDFs go: a print queue, or a folder. Its calls run on the
// print thread and may block, but give up as soon as the token says so; no
// call ever waits on the window's thread.
class PrintSink {
public:
    virtual ~PrintSink() = default;

    // Why the destination `settings` name cannot take jobs with those
    // settings now; nothing when it can, and then the run's jobs go there
    // with them. Only asks: creates nothing.
    virtual std::optional<SinkProblem> problem(const PrinterSettings &settings, StopToken &stop) = 0;
    // The paper and orientation the run prints on, with a browser's margins;
    // valid once problem() has said the destination can take jobs.
    virtual QPageLayout pageLayout() const = 0;
    // Hands one document to the destination.
    virtual SinkAnswer send(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop) = 0;

    // Whether the jobs this destination takes can be followed to the
    // printer's answer. Where they cannot (a folder), taking a job is the
    // end of it. Asked once, on any thread.
    virtual bool followsJobs() const { return false; }
    // What became of the jobs `jobIds` (as SinkAnswer::jobId gave them), in
    // one request for all of them; nothing when the print system could not
    // be asked.
    virtual std::optional<QList<JobState>> jobStates(const QList<int> &jobIds, StopToken &stop)
    {
        Q_UNUSED(jobIds)
        Q_UNUSED(stop)
        return std::nullopt;
    }
    // Makes ready, before the first job goes out, to learn the ends of the
    // jobs sent from now on: a print system may forget a job the moment it
    // ends, and tell its end only to whoever asked beforehand to hear of it.
    virtual void startFollowing(StopToken &stop) { Q_UNUSED(stop) }
    // No job is followed for now: whatever following held on to may go.
    virtual void stopFollowing(StopToken &stop) { Q_UNUSED(stop) }
};

// Margins like a browser's print dialog gives by default.
inline constexpr double PrintMarginMm = 10.0;

// The layout every sink prints with: its paper, a browser's margins.
inline QPageLayout printLayout(const QPageSize &paper, QPageLayout::Orientation orientation = QPageLayout::Portrait)
{
    return QPageLayout(paper, orientation, QMarginsF(PrintMarginMm, PrintMarginMm, PrintMarginMm, PrintMarginMm),
                       QPageLayout::Millimeter);
}

// A print system that stops answering is named the same whether a sink or
// the queue's watchdog gives up on it: before anything was printed, and
// about one job.
inline QString silentBeforePrinting()
{
    return QCoreApplication::translate("core", "The print system did not answer, so nothing was printed.");
}
inline SinkAnswer silentAboutJob()
{
    return {SinkAnswer::Kind::PrinterFailed,
            core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system did not answer"))};
}

// Once every byte of a job has gone out, the print system may well have
// taken it, whatever became of its answer: printing it again could print it
// twice. `why` says what became of the answer.
inline SinkAnswer answerUnread(const QString &why)
{
    return {SinkAnswer::Kind::MayHavePrinted,
            core::reasonText(QT_TRANSLATE_NOOP("Reason", "the print system's answer could not be read (%1)")).arg(why)};
}

// Both printer sinks say the same when there is no printer to print on.
inline QString noDefaultPrinter()
{
    return QCoreApplication::translate("core", "No default printer is set up, so nothing was printed.") + u"\n\n"
        + QCoreApplication::translate("core", "Choose a default printer and print again.");
}

} // namespace core

Q_DECLARE_METATYPE(core::JobAnswer)
