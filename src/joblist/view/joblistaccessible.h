// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace joblist {

// Makes the job list view readable by assistive technology. Qt describes
// only its own item views; without this a screen reader finds a bare scroll
// area. Registers a factory with QAccessible once; later calls do nothing.
void installJobListAccessibility();

} // namespace joblist
