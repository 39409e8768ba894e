#pragma once

#include "platform/mousepointer.h"

namespace platform {

// The hourglass for as long as a long action runs, however it ends; the
// default pointer after it.
class BusyPointer {
public:
    explicit BusyPointer(PointerOwner &window) : m_window(window) { m_window.setMousePointer(MousePointer::Busy); }
    ~BusyPointer() { m_window.setMousePointer(MousePointer::Default); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    PointerOwner &m_window;
};

} // namespace platform
