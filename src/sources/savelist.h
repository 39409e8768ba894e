// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
namespace core { class FileSaveDialog; class MessageBox; }
namespace joblist { class JobList; }

// Saving the job list as a URL list file, the kind the list-file action
// reads: UTF-8, one entry a line, each line read back as the very entry it
// was written for. Nothing here but the dialog's owner touches a window.
namespace sources {

inline QString saveListTitle()
{
    return QCoreApplication::translate("sources", "Save List As");
}
inline QStringList saveListFilters()
{
    return {QCoreApplication::translate("sources", "Text Files (*.txt)"),
            QCoreApplication::translate("sources", "All Files (*)")};
}

// The line that reads back as `entry`: the entry itself where a list can
// hold it as it is, else, for a local file, a file URL whose escapes spell
// the file's name byte for byte. Nothing when no line reads back as the
// entry (an address with a space or a line break in it, an empty entry).
std::optional<QString> listLine(const QString &entry);

// A list file's bytes, and the entries it could not hold, top first.
struct ListFileContents {
    QByteArray bytes;
    QStringList leftOut;
};

ListFileContents listFileContents(const joblist::JobList &jobs);

// Replaces the file at `path` with `bytes` as one step: until the write has
// succeeded the old file (if any) stays as it was, and nothing is left
// behind when it fails. The failure in words for the user, or "".
QString writeListFile(const QString &path, const QByteArray &bytes);

// The message that names the entries a saved list left out.
QString leftOutMessage(const QStringList &leftOut);

// Asks for a file name and saves the list there. Cancel writes nothing. A
// write that fails is reported and changes nothing; entries the file cannot
// hold are left out and named in one message.
void saveListAs(core::FileSaveDialog &dialog, core::MessageBox &messages, QWidget *owner,
                const joblist::JobList &jobs);

} // namespace sources
