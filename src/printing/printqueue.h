// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"

#include <QObject>
#include <QPageLayout>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class QThread;

namespace printing {

// The print system's own thread. Talking to a print queue can block for as
// long as the queue takes to answer (seconds; forever, for a scheduler that
// has stopped), so every call to the sink happens there and never on the
// window's thread; the answers come back as signals. Each request has a
// bound: a queue that shows no progress for that long is given up, and the
// request answered as failed.
class PrintQueue : public QObject {
    Q_OBJECT

public:
    // What a job's document became on the print thread: the PDF to send, or
    // why this document cannot be printed (no page of it is in the chosen
    // range, say).
    struct Finished {
        QByteArray pdf;
        QString failure;
        int pages = 0;  // 0 when not counted
    };
    // Turns an engine's PDF into the job's document on the print thread
    // (adding the page headings, picking the chosen pages); must be safe to
    // run there.
    using Finish = std::function<Finished(const QByteArray &pdf)>;
    // Asked on the print thread just before the job goes out, with its
    // size; a problem it names keeps the job from going out and answers as
    // a printer failure.
    using Gate = std::function<std::optional<QString>(qint64 bytes)>;

    static constexpr std::chrono::milliseconds DefaultBound{20'000};

    explicit PrintQueue(std::unique_ptr<core::PrintSink> sink, QObject *parent = nullptr);
    ~PrintQueue() override;

    void setBound(std::chrono::milliseconds bound) { m_bound = bound; }

    // Asks whether the destination can take jobs with `settings`, which the
    // jobs after it then carry; answers with `checked`. With `follow`, the
    // destination makes ready to follow the jobs that come.
    void check(const core::PrinterSettings &settings, bool follow = false);
    // Hands one document over; answers with `submitted` carrying `ticket`.
    void submit(quint64 ticket, const QByteArray &pdf, const core::JobTicket &job, Finish finish = {},
                Gate gate = {});
    // Gives up whatever is under way: nothing more is sent for it, and no
    // answer comes for it.
    void abandon();

    // Whether the destination's jobs can be followed to the printer's answer.
    bool followsJobs() const { return m_followsJobs; }
    // Asks what became of the jobs `jobIds`; answers with `followed`, always,
    // carrying nothing when the print system could not be asked. Asking has
    // a short bound of its own, so that a silent print system holds up the
    // next job little longer than it would anyway.
    void follow(const QList<int> &jobIds);
    // No job is followed for now (see PrintSink::stopFollowing).
    void endFollowing();

Q_SIGNALS:
    void checked(const std::optional<core::SinkProblem> &problem, const QPageLayout &layout);
    void submitted(quint64 ticket, const core::SinkAnswer &answer);
    void followed(const std::optional<QList<core::JobState>> &states);

private:
    // What a request shares between the two threads.
    struct Request {
        core::AbandonFlag abandoned;
        core::Heartbeat heartbeat;
    };
    // The way back from the print thread: the answer of a call that outlived
    // the queue (its thread could not be joined at exit) finds nobody there.
    struct Mailbox {
        std::mutex mutex;
        PrintQueue *owner = nullptr;
    };
    using Work = std::function<void(Request &request, core::StopToken &stop)>;
    void post(Work work);
    static void answer(const std::shared_ptr<Mailbox> &mailbox, std::function<void(PrintQueue &)> reply);
    void onWatchdog();
    void answerCheck(quint64 epoch, const std::optional<core::SinkProblem> &problem, const QPageLayout &layout);
    void answerSubmit(quint64 epoch, quint64 ticket, const core::SinkAnswer &answer);

    std::unique_ptr<core::PrintSink> m_sink;  // used on the print thread only
    QThread *m_thread = nullptr;
    QObject *m_worker = nullptr;  // lives on the print thread
    std::chrono::milliseconds m_bound = DefaultBound;
    // The request under way; a fresh one per request, so that abandoning
    // one never touches the next.
    std::shared_ptr<Request> m_request;
    // Following jobs is a request of its own, never the one the watchdog
    // watches; abandoned with the rest.
    std::shared_ptr<Request> m_followRequest;
    bool m_followsJobs = false;
    std::shared_ptr<Mailbox> m_mailbox;
    // Bumped by abandon(): answers from an earlier epoch are dropped.
    quint64 m_epoch = 0;
    // Catches a sink call that ignores its stop token (a name lookup, say):
    // like the token, it counts the print system's silence, never a
    // transfer that keeps moving, nor the program's own work on a document.
    QTimer m_watchdog;
    enum class Pending { None, Check, Submit } m_pending = Pending::None;
    quint64 m_pendingTicket = 0;
};

} // namespace printing
