// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/mousepointer.h"

namespace core {

// The hover handlers' one rule: they may change the window's pointer, but
// never while it shows the busy pointer, which belongs to the long action
// that set it until that action ends.
inline void setPointerUnlessBusy(PointerOwner &window, MousePointer pointer)
{
    const MousePointer current = window.mousePointer();
    // Moves arrive by the hundred; setting an unchanged pointer again would
    // only make the window re-apply its cursor each time.
    if (current != MousePointer::Busy && current != pointer)
        window.setMousePointer(pointer);
}

} // namespace core
