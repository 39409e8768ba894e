#include "addurllists.h"
#include "listfile.h"

#include "joblist/joblist.h"
#include "platform/desktop.h"
#include "platform/eventyield.h"
#include "platform/busypointer.h"
#include "platform/messagetext.h"

#include <utility>

namespace sources {

bool addListFile(const QString &path, platform::EventYield &yield, joblist::JobList &jobs,
                 QList<SkippedListFile> &skipped)
{
    ListFileText file = ReadWholeFile(path);
    if (!file.isRead()) {
        skipped.append({path, file.failure});
        return true;
    }
    // The whole text goes as soon as it is cut, before the entries take
    // their own memory in the list.
    const QStringList tokens = LoadTextFile(std::exchange(file.text, QString()),
                                            [&yield] { return yield.yieldSliced(); });
    if (yield.closed())
        return false;
    for (const QString &token : tokens)
        jobs.add(token);
    return true;
}

QString skippedListFilesMessage(const QList<SkippedListFile> &skipped)
{
    QStringList files;
    for (const SkippedListFile &file : skipped)
        files << platform::quoted(file.path) + u" (" + file.why + u')';
    return u"These list files could not be read; nothing was added from them:\n\n" + platform::namedList(files);
}

void addUrlLists(platform::FileOpenDialog &dialog, platform::MessageBox &messages, QWidget *owner,
                 platform::PointerOwner &pointer, platform::EventYield &yield, joblist::JobList &jobs)
{
    const QStringList paths = dialog.showOpen(owner, UrlListsTitle, UrlListsFilters);
    if (paths.isEmpty())
        return;
    QList<SkippedListFile> skipped;
    {
        const platform::BusyPointer busy(pointer);
        for (const QString &path : paths) {
            if (!addListFile(path, yield, jobs, skipped))
                return;
        }
    }
    if (!skipped.isEmpty())
        messages.show(owner, skippedListFilesMessage(skipped));
}

} // namespace sources
