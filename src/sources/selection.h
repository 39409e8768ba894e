#pragma once

#include <QString>
#include <QStringList>

namespace sources {

// Joins a folder and a name with exactly one separator between them. A folder
// that already ends in one (a root such as "/" or "C:\") gets none added;
// nothing else in either part is changed.
QString joinPath(const QString &folder, const QString &name);

// Turns the file-open dialog's result into full paths, in the dialog's order:
// a single path stands as it is; "folder\0name\0name" becomes the folder
// joined with each name. An empty result means nothing was picked.
QStringList selectedPaths(const QString &dialogResult);

} // namespace sources
