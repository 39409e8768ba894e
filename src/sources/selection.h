#pragma once

#include <QString>

namespace sources {

// Joins a folder and a name with exactly one separator between them. A folder
// that already ends in one (a root such as "/" or "C:\") gets none added;
// nothing else in either part is changed.
QString joinPath(const QString &folder, const QString &name);

} // namespace sources
