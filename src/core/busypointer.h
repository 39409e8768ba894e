// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/mousepointer.h"

namespace core {

// The hourglass for as long as a long action runs, however it ends; the
// default pointer once the last of the actions under way has ended.
class BusyPointer {
public:
    explicit BusyPointer(PointerOwner &window)
        : m_window(window)
    {
        ++m_window.m_busyActions;
        m_window.setMousePointer(MousePointer::Busy);
    }
    ~BusyPointer()
    {
        if (--m_window.m_busyActions == 0)
            m_window.setMousePointer(MousePointer::Default);
    }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;

private:
    PointerOwner &m_window;
};

} // namespace core
