#include "addlocalfiles.h"
#include "selection.h"

#include "joblist/joblist.h"
#include "platform/desktop.h"

namespace sources {

void addLocalFiles(platform::FileOpenDialog &dialog, QWidget *owner, joblist::JobList &jobs)
{
    const QString result = dialog.showOpen(owner, AddFilesTitle, AddFilesFilter);
    for (const QString &path : selectedPaths(result))
        jobs.add(path);
}

} // namespace sources
