// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace core {

// Where one of the program's own files (its cursor files) stands: beside the
// program first, which is where a build puts them and where a user may put a
// replacement, then in the data folder of an installed program, found from
// the program's folder (bin/../share/tavimark) so that any installation
// prefix works. Empty when neither folder holds the file.
QString findDataFile(const QString &name);

// The same search from a given program folder.
QString findDataFile(const QString &programFolder, const QString &name);

} // namespace core
