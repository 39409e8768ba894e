// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace core {

// The pointer shapes a window can be told to show. The numbers are kept from
// the original design so the handlers read the same as the documentation.
enum class MousePointer : int {
    Default = 0,  // the arrow
    Arrow = 1,    // an explicit arrow, used by the job list after a drag ends
    Busy = 11,    // hourglass while a long action runs
    Custom = 99,  // the window's custom image (the hand cursor), arrow if none
};

// A window whose pointer long actions and hover handlers change.
class PointerOwner {
public:
    virtual ~PointerOwner() = default;
    virtual MousePointer mousePointer() const = 0;
    virtual void setMousePointer(MousePointer pointer) = 0;

private:
    friend class BusyPointer;
    // Long actions under way; a print run goes on by itself, so a folder
    // walk may start and end in the middle of one.
    int m_busyActions = 0;
};

} // namespace core
