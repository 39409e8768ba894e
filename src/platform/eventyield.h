#pragma once

#include <QDeadlineTimer>

namespace platform {

// Long actions run inside their click handler and give the event loop a turn
// at fixed points, so the window repaints and other events run meanwhile.
// After every turn they ask whether the main window has been closed: if so
// they stop where they are, and the program ends as soon as they unwind.
class EventYield {
public:
    // Handles the events that are waiting; false once the window has closed.
    bool yield();

    // Sleeps until an event arrives or the deadline passes, then handles the
    // waiting events. Used by waits that must not spin the processor.
    bool waitForEvents(QDeadlineTimer deadline);

    void markClosed() { m_closed = true; }
    bool closed() const { return m_closed; }

private:
    bool m_closed = false;
};

} // namespace platform
