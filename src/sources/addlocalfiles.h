// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
namespace core { class FileOpenDialog; }
namespace joblist { class JobList; }

namespace sources {

inline const QString AddFilesTitle = QStringLiteral("Add File(s) - Hold Ctrl to select multiple files");
// HTML files first, then every file: "*" also takes names without a dot.
inline const QStringList AddFilesFilters{QStringLiteral("HTML Files (*.htm *.html)"), QStringLiteral("All Files (*)")};

// Asks for one or more local files and appends each one's full path, in the
// order the dialog lists them. Cancel adds nothing.
void addLocalFiles(core::FileOpenDialog &dialog, QWidget *owner, joblist::JobList &jobs);

} // namespace sources
