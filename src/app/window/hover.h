// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/mousepointer.h"

namespace app {

// Hover feedback of the main window. It keeps no state of its own: every
// move sets the window's pointer again, and the busy pointer of a long
// action is never replaced.

// The pointer moved over one of the action buttons: the hand cursor (the
// arrow when the window has no hand image).
void showHandOverButton(core::PointerOwner &window);

// The pointer moved over the window's background: the arrow.
void showArrowOverBackground(core::PointerOwner &window);

} // namespace app
