// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "joblist/entrystore.h"

#include <QIcon>

namespace joblist {

// The small picture an entry shows for what the last print run made of it;
// a null icon for entries without a mark, so their text keeps its place.
QIcon markIcon(Mark mark);

} // namespace joblist
