// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "folderwalk.h"

#include <QCoreApplication>
#include <QString>

class QWidget;
namespace core {
class EventYield;
class FolderBrowser;
class InputBox;
class MessageBox;
class PointerOwner;
} // namespace core
namespace joblist { class JobList; }

namespace sources {

// The prompts are worded when asked, in the language loaded by then.
inline QString extensionPrompt()
{
    return QCoreApplication::translate("sources", "Enter file extension to load:");
}
inline const QString DefaultExtension = QStringLiteral("htm");
inline QString folderPrompt()
{
    return QCoreApplication::translate("sources", "Please select folder to add:");
}

// The dialogs the folder action speaks through.
struct FolderDialogs {
    core::InputBox &inputBox;
    core::FolderBrowser &folderBrowser;
    core::MessageBox &messageBox;
};

// The window the action runs in: it owns the dialogs, shows the busy
// pointer, and its yield says when it has closed.
struct ActionWindow {
    QWidget *owner;
    core::PointerOwner &pointer;
    core::EventYield &yield;
};

// Asks for an extension and a folder, then appends every matching file of
// that folder and of every folder below it: the folder's own files first,
// then each deeper level in turn. Folders that could not be read are named
// in one message at the end. Cancel on either prompt changes nothing; a
// window closed during the walk stops it with nothing added.
void addFolderContents(const FolderDialogs &dialogs, const ActionWindow &window, joblist::JobList &jobs);

// Appends every file of `folder` and of the folders below it whose name
// matches "*." + `extension`, in the walk's order; folders that cannot be
// read are recorded in `walk`. False, with nothing added, when the walk was
// told to stop.
bool addFolderTree(const QString &folder, const QString &extension, FolderWalk &walk, joblist::JobList &jobs);
// The same for a folder named as the file system spells it. A relative
// folder is taken under the current one; when that cannot be read, the
// folder is recorded as unread.
bool addFolderTree(const QByteArray &folder, const QString &extension, FolderWalk &walk, joblist::JobList &jobs);

// The message naming the folders a walk could not read: the first twenty,
// then how many more.
QString unreadableFoldersMessage(const QStringList &folders);

} // namespace sources
