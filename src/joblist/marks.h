// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "entrystore.h"

#include <QString>

namespace joblist {

// What hovering a marked entry says: its outcome, and why where there is a
// reason. Empty for entries without a mark, which then show the list's own
// tooltip.
QString markToolTip(Mark mark, const QString &reason);

} // namespace joblist
