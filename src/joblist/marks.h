#pragma once

#include "entrystore.h"

#include <QIcon>
#include <QString>

namespace joblist {

// The small picture an entry shows for what the last print run made of it;
// a null icon for entries without a mark, so their text keeps its place.
QIcon markIcon(Mark mark);

// What hovering a marked entry says: its outcome, and why where there is a
// reason. Empty for entries without a mark, which then show the list's own
// tooltip.
QString markToolTip(Mark mark, const QString &reason);

} // namespace joblist
