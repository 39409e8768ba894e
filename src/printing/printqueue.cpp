// SPDX-License-Identifier: GPL-3.0-or-later
#include "printqueue.h"

#include <QThread>

namespace printing {

using core::SinkAnswer;
using core::StopToken;

namespace {
// How long past its bound a request may stay unanswered before the queue
// stops waiting for the print thread itself.
constexpr std::chrono::milliseconds WatchdogGrace{5'000};
// How long closing waits for the print thread to give up its call.
constexpr unsigned long JoinMs = 1'500;
// How long a question about jobs already taken may go unanswered.
constexpr std::chrono::milliseconds FollowBound{5'000};
} // namespace

PrintQueue::PrintQueue(std::unique_ptr<core::PrintSink> sink, QObject *parent)
    : QObject(parent)
    , m_sink(std::move(sink))
    , m_thread(new QThread)
    , m_worker(new QObject)
    , m_request(std::make_shared<Request>())
    , m_followRequest(std::make_shared<Request>())
    , m_followsJobs(m_sink->followsJobs())
    , m_mailbox(std::make_shared<Mailbox>())
{
    qRegisterMetaType<std::optional<core::SinkProblem>>();
    qRegisterMetaType<core::SinkAnswer>();
    qRegisterMetaType<std::optional<QList<core::JobState>>>();
    m_mailbox->owner = this;
    m_thread->setObjectName(QStringLiteral("print queue"));
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
    m_watchdog.setSingleShot(true);
    connect(&m_watchdog, &QTimer::timeout, this, &PrintQueue::onWatchdog);
}

PrintQueue::~PrintQueue()
{
    abandon();
    {
        const std::lock_guard lock(m_mailbox->mutex);
        m_mailbox->owner = nullptr;
    }
    m_thread->quit();
    if (m_thread->wait(JoinMs)) {
        delete m_thread;
        return;
    }
    // A call that honours no stop token keeps the thread; the program is
    // closing, so the thread and its sink are left to the end of the
    // process rather than waited for.
    (void)m_sink.release();
}

void PrintQueue::post(Work work)
{
    m_request = std::make_shared<Request>();
    const auto request = m_request;
    const std::chrono::milliseconds bound = m_bound;
    m_watchdog.start(bound + WatchdogGrace);
    QMetaObject::invokeMethod(
        m_worker,
        [request, bound, work = std::move(work)] {
            core::StopToken stop(request->abandoned, bound, &request->heartbeat);
            work(*request, stop);
        },
        Qt::QueuedConnection);
}

// Posted while the owner's mutex is held, so that the queue cannot go
// between the look and the post; a posted answer dies with its receiver.
void PrintQueue::answer(const std::shared_ptr<Mailbox> &mailbox, std::function<void(PrintQueue &)> reply)
{
    const std::lock_guard lock(mailbox->mutex);
    if (PrintQueue *owner = mailbox->owner)
        QMetaObject::invokeMethod(owner, [owner, reply = std::move(reply)] { reply(*owner); }, Qt::QueuedConnection);
}

void PrintQueue::check(const core::PrinterSettings &settings, bool follow)
{
    m_pending = Pending::Check;
    const quint64 epoch = m_epoch;
    core::PrintSink *sink = m_sink.get();
    post([mailbox = m_mailbox, sink, epoch, settings, follow](Request &, StopToken &stop) {
        const std::optional<core::SinkProblem> problem = sink->problem(settings, stop);
        if (follow && !problem)
            sink->startFollowing(stop);
        const QPageLayout layout = sink->pageLayout();
        answer(mailbox, [epoch, problem, layout](PrintQueue &queue) { queue.answerCheck(epoch, problem, layout); });
    });
}

void PrintQueue::submit(quint64 ticket, const QByteArray &pdf, const core::JobTicket &job, Finish finish, Gate gate)
{
    m_pending = Pending::Submit;
    m_pendingTicket = ticket;
    const quint64 epoch = m_epoch;
    core::PrintSink *sink = m_sink.get();
    post([mailbox = m_mailbox, sink, epoch, ticket, pdf, job, finish = std::move(finish),
          gate = std::move(gate)](Request &request, StopToken &stop) {
        // The page headings are the program's own time, not the printer's.
        request.heartbeat.pause();
        const Finished document = finish ? finish(pdf) : Finished{pdf, {}};
        stop.progressed();
        SinkAnswer answered;
        if (!document.failure.isEmpty())
            answered = {SinkAnswer::Kind::LeftOut, document.failure};
        else if (std::optional<QString> closed = gate ? gate(document.pdf.size()) : std::nullopt)
            answered = {SinkAnswer::Kind::PrinterFailed, *closed};
        else if (!stop.abandoned())
            answered = sink->send(document.pdf, job, stop);
        answered.bytes = document.pdf.size();
        answered.pages = document.pages;
        answer(mailbox, [epoch, ticket, answered](PrintQueue &queue) { queue.answerSubmit(epoch, ticket, answered); });
    });
}

void PrintQueue::abandon()
{
    m_request->abandoned.set();
    m_request = std::make_shared<Request>();
    m_followRequest->abandoned.set();
    m_followRequest = std::make_shared<Request>();
    ++m_epoch;
    m_watchdog.stop();
    m_pending = Pending::None;
}

void PrintQueue::follow(const QList<int> &jobIds)
{
    core::PrintSink *sink = m_sink.get();
    QMetaObject::invokeMethod(
        m_worker,
        [mailbox = m_mailbox, sink, request = m_followRequest, jobIds] {
            std::optional<QList<core::JobState>> states;
            if (!request->abandoned.isSet()) {
                StopToken stop(request->abandoned, FollowBound);
                states = sink->jobStates(jobIds, stop);
            }
            answer(mailbox, [states](PrintQueue &queue) { Q_EMIT queue.followed(states); });
        },
        Qt::QueuedConnection);
}

void PrintQueue::endFollowing()
{
    core::PrintSink *sink = m_sink.get();
    QMetaObject::invokeMethod(
        m_worker,
        [sink, request = m_followRequest] {
            StopToken stop(request->abandoned, FollowBound);
            if (!request->abandoned.isSet())
                sink->stopFollowing(stop);
        },
        Qt::QueuedConnection);
}

void PrintQueue::answerCheck(quint64 epoch, const std::optional<core::SinkProblem> &problem,
                             const QPageLayout &layout)
{
    if (epoch != m_epoch || m_pending != Pending::Check)
        return;
    m_watchdog.stop();
    m_pending = Pending::None;
    Q_EMIT checked(problem, layout);
}

void PrintQueue::answerSubmit(quint64 epoch, quint64 ticket, const SinkAnswer &answer)
{
    if (epoch != m_epoch || m_pending != Pending::Submit || ticket != m_pendingTicket)
        return;
    m_watchdog.stop();
    m_pending = Pending::None;
    Q_EMIT submitted(ticket, answer);
}

void PrintQueue::onWatchdog()
{
    const std::chrono::milliseconds allowed = m_bound + WatchdogGrace;
    const std::chrono::milliseconds silence = m_request->heartbeat.silence();
    if (silence < allowed) {
        m_watchdog.start(allowed - silence);
        return;
    }
    const Pending pending = m_pending;
    const quint64 ticket = m_pendingTicket;
    abandon();
    if (pending == Pending::Check)
        Q_EMIT checked(core::SinkProblem{core::silentBeforePrinting()}, {});
    else if (pending == Pending::Submit)
        Q_EMIT submitted(ticket, core::silentAboutJob());
}

} // namespace printing
