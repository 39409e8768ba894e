// SPDX-License-Identifier: GPL-3.0-or-later
#include "addurllists.h"
#include "listfile.h"

#include "joblist/joblist.h"
#include "core/desktop.h"
#include "core/eventyield.h"
#include "core/busypointer.h"
#include "core/entryaddress.h"
#include "core/messagetext.h"

#include <utility>

namespace sources {

bool addListFile(const QString &path, core::EventYield &yield, joblist::JobList &jobs,
                 ListFileProblems &problems)
{
    ListFileText file = ReadWholeFile(path);
    if (!file.isRead()) {
        problems.files.append({path, file.failure});
        return true;
    }
    // The whole text goes as soon as it is cut, before the entries take
    // their own memory in the list.
    const QStringList tokens = LoadTextFile(std::exchange(file.text, QString()),
                                            [&yield] { return yield.yieldSliced(); });
    if (yield.closed())
        return false;
    for (const QString &token : tokens) {
        const QString entry = listEntry(token);
        if (const QString problem = core::documentAddressProblem(entry); !problem.isEmpty())
            problems.tokens.append({token, problem});
        else
            jobs.add(entry);
    }
    return true;
}

QString listFileProblemsMessage(const ListFileProblems &problems)
{
    QStringList parts;
    if (!problems.files.isEmpty()) {
        QStringList files;
        for (const SkippedListFile &file : problems.files)
            files << core::quoted(file.path) + u" (" + file.why + u')';
        parts << QCoreApplication::translate("sources",
                                             "These list files could not be read; nothing was added from them:")
                + u"\n\n" + core::namedList(files);
    }
    if (!problems.tokens.isEmpty()) {
        QStringList tokens;
        for (const RefusedToken &token : problems.tokens)
            tokens << core::quoted(core::oneLine(token.token)) + u" (" + token.why + u')';
        parts << QCoreApplication::translate("sources", "These addresses in the list files were not added:") + u"\n\n"
                + core::namedList(tokens);
    }
    return parts.join(u"\n\n");
}

void addUrlLists(core::FileOpenDialog &dialog, core::MessageBox &messages, QWidget *owner,
                 core::PointerOwner &pointer, core::EventYield &yield, joblist::JobList &jobs)
{
    const QStringList paths = dialog.showOpen(owner, urlListsTitle(), urlListsFilters());
    if (paths.isEmpty())
        return;
    ListFileProblems problems;
    {
        const core::BusyPointer busy(pointer);
        for (const QString &path : paths) {
            if (!addListFile(path, yield, jobs, problems))
                return;
        }
    }
    if (!problems.isEmpty())
        messages.show(owner, listFileProblemsMessage(problems));
}

} // namespace sources
