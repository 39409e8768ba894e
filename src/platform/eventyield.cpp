#include "eventyield.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace platform {

bool EventYield::yield()
{
    if (!m_closed)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !m_closed;
}

bool EventYield::yieldSliced()
{
    constexpr int CallsPerClockReading = 64;
    constexpr qint64 TurnIntervalMs = 10;
    if (m_closed)
        return false;
    if (m_sinceTurn.isValid()) {
        if (++m_callsSinceClock < CallsPerClockReading)
            return true;
        m_callsSinceClock = 0;
        if (m_sinceTurn.elapsed() < TurnIntervalMs)
            return true;
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_sinceTurn.start();
    return !m_closed;
}

EventYield::Wait EventYield::waitUntil(const std::function<bool()> &done, QDeadlineTimer deadline)
{
    // A timer of our own guarantees that the wait ends at the deadline even
    // when nothing else happens; one for the whole wait, not one per turn.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.start(std::max<qint64>(0, deadline.remainingTime()));
    while (!m_closed && !done()) {
        if (deadline.hasExpired())
            return Wait::TimedOut;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    }
    return m_closed ? Wait::Closed : Wait::Done;
}

} // namespace platform
