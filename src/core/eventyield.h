// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>

#include <functional>

namespace core {

// What a long action calls at its yield points, each a chance for the event
// loop to run: false once the action must stop because the program is
// closing (its main window has closed). Callers without an event loop pass
// an empty one, or one that only ever says go on.
using Yield = std::function<bool()>;

// Long actions run inside their click handler and give the event loop a turn
// at fixed points, so the window repaints and other events run meanwhile.
// After every turn they ask whether the main window has been closed: if so
// they stop where they are, and the program ends as soon as they unwind.
class EventYield {
public:
    // Handles the events that are waiting; false once the window has closed.
    bool yield();

    // For loops that yield after every one of very many short steps, such
    // as once per token of a list of a million addresses. A real turn of the
    // event loop costs several microseconds even when nothing is waiting, so
    // a million turns would cost seconds; this one hands over a real turn only
    // when a few milliseconds have passed since the last, a delay no user
    // can notice. Reading the clock is not free either, so it is read only
    // every few calls.
    bool yieldSliced();

    void markClosed() { m_closed = true; }
    bool closed() const { return m_closed; }

private:
    bool m_closed = false;
    QElapsedTimer m_sinceTurn;
    int m_callsSinceClock = 0;
};

} // namespace core
