// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QList>

namespace app {

// The sizes a desktop asks a window's icon for: the title bar's and the
// menu's small ones up to the task switcher's and a docked launcher's.
inline const QList<int> WindowIconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon, the menu entry's drawing, rendered at every one of
// those sizes. Drawn here rather than left to an icon plugin, so that the
// window server is handed every size whether or not one is installed.
QIcon programIcon();

} // namespace app
