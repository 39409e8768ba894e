// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QWidget;
namespace core { class FileOpenDialog; }
namespace joblist { class JobList; }

namespace sources {

inline QString addFilesTitle()
{
    return QCoreApplication::translate("sources", "Add File(s) - Hold Ctrl to select multiple files");
}
// HTML files first, then every file: "*" also takes names without a dot.
// A translation words the names and keeps the patterns in brackets.
inline QStringList addFilesFilters()
{
    return {QCoreApplication::translate("sources", "HTML Files (*.htm *.html)"),
            QCoreApplication::translate("sources", "All Files (*)")};
}

// Asks for one or more local files and appends each one's full path, in the
// order the dialog lists them. Cancel adds nothing.
void addLocalFiles(core::FileOpenDialog &dialog, QWidget *owner, joblist::JobList &jobs);

} // namespace sources
