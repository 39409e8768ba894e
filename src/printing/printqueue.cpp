#include "printqueue.h"

#include <QThread>

namespace printing {

using platform::SinkAnswer;
using platform::StopToken;

namespace {
// How long past its bound a request may stay unanswered before the queue
// stops waiting for the print thread itself.
constexpr std::chrono::milliseconds WatchdogGrace{5'000};
// How long closing waits for the print thread to give up its call.
constexpr unsigned long JoinMs = 1'500;
} // namespace

PrintQueue::PrintQueue(std::unique_ptr<platform::PrintSink> sink, QObject *parent)
    : QObject(parent)
    , m_sink(std::move(sink))
    , m_thread(new QThread)
    , m_worker(new QObject)
    , m_abandoned(std::make_shared<std::atomic<bool>>(false))
{
    qRegisterMetaType<std::optional<QString>>();
    qRegisterMetaType<platform::SinkAnswer>();
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

void PrintQueue::post(std::function<void(StopToken &)> work)
{
    *m_abandoned = false;
    const auto abandoned = m_abandoned;
    const std::chrono::milliseconds bound = m_bound;
    m_watchdog.start(bound + WatchdogGrace);
    QMetaObject::invokeMethod(
        m_worker,
        [abandoned, bound, work = std::move(work)] {
            StopToken stop(*abandoned, bound);
            work(stop);
        },
        Qt::QueuedConnection);
}

void PrintQueue::check()
{
    m_pending = Pending::Check;
    const quint64 epoch = m_epoch;
    platform::PrintSink *sink = m_sink.get();
    post([this, sink, epoch](StopToken &stop) {
        const std::optional<QString> problem = sink->problem(stop);
        const QPageLayout layout = sink->pageLayout();
        QMetaObject::invokeMethod(this, [this, epoch, problem, layout] { answerCheck(epoch, problem, layout); },
                                  Qt::QueuedConnection);
    });
}

void PrintQueue::submit(quint64 ticket, const QByteArray &pdf, const platform::JobTicket &job, Finish finish)
{
    m_pending = Pending::Submit;
    m_pendingTicket = ticket;
    const quint64 epoch = m_epoch;
    platform::PrintSink *sink = m_sink.get();
    post([this, sink, epoch, ticket, pdf, job, finish = std::move(finish)](StopToken &stop) {
        const QByteArray document = finish ? finish(pdf) : pdf;
        const SinkAnswer answer = stop.abandoned() ? SinkAnswer{} : sink->send(document, job, stop);
        QMetaObject::invokeMethod(this, [this, epoch, ticket, answer] { answerSubmit(epoch, ticket, answer); },
                                  Qt::QueuedConnection);
    });
}

void PrintQueue::abandon()
{
    *m_abandoned = true;
    m_abandoned = std::make_shared<std::atomic<bool>>(false);
    ++m_epoch;
    m_watchdog.stop();
    m_pending = Pending::None;
}

void PrintQueue::answerCheck(quint64 epoch, const std::optional<QString> &problem, const QPageLayout &layout)
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
    const Pending pending = m_pending;
    const quint64 ticket = m_pendingTicket;
    abandon();
    if (pending == Pending::Check)
        Q_EMIT checked(platform::silentBeforePrinting(), {});
    else if (pending == Pending::Submit)
        Q_EMIT submitted(ticket, platform::silentAboutJob());
}

} // namespace printing
