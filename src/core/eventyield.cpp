// SPDX-License-Identifier: GPL-3.0-or-later
#include "eventyield.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace core {

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

} // namespace core
