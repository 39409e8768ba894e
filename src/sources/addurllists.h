// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;
namespace core { class EventYield; class FileOpenDialog; class MessageBox; class PointerOwner; }
namespace joblist { class JobList; }

namespace sources {

inline QString urlListsTitle()
{
    return QCoreApplication::translate("sources", "Load List(s) - Hold Ctrl to select multiple list files");
}
inline QStringList urlListsFilters()
{
    return {QCoreApplication::translate("sources", "All Files (*)")};
}

// A chosen list file that added nothing because it could not be used.
struct SkippedListFile {
    QString path;
    QString why;
};

// A token of a list file that is no document address (a script address,
// say): a list file may come from anyone, so such a token never becomes an
// entry.
struct RefusedToken {
    QString token;
    QString why;
};

// What a list action could not use.
struct ListFileProblems {
    QList<SkippedListFile> files;
    QList<RefusedToken> tokens;

    bool isEmpty() const { return files.isEmpty() && tokens.isEmpty(); }
};

// Reads one list file and appends its tokens; a file that cannot be used, and
// every token that is no document address, is recorded in `problems`. False
// when the window closed meanwhile, so the caller stops.
bool addListFile(const QString &path, core::EventYield &yield, joblist::JobList &jobs,
                 ListFileProblems &problems);

// The one message that names what could not be used: the first twenty of
// each kind by name, the rest as a count, so that the box still fits on the
// screen.
QString listFileProblemsMessage(const ListFileProblems &problems);

// Asks for one or more URL list files and appends every token of each, file
// after file in the dialog's order. Cancel changes nothing. The pointer shows
// busy from the dialog's result until the last entry is in. Files that could
// not be read are skipped, and so are tokens that are no document address;
// the others are still read, and one message after the action names what was
// skipped. A file without tokens adds nothing,
// quietly. The action stops where it is when the window closes meanwhile.
void addUrlLists(core::FileOpenDialog &dialog, core::MessageBox &messages, QWidget *owner,
                 core::PointerOwner &pointer, core::EventYield &yield, joblist::JobList &jobs);

} // namespace sources
