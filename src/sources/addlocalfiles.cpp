// SPDX-License-Identifier: GPL-3.0-or-later
#include "addlocalfiles.h"

#include "joblist/joblist.h"
#include "core/desktop.h"

namespace sources {

void addLocalFiles(core::FileOpenDialog &dialog, QWidget *owner, joblist::JobList &jobs)
{
    for (const QString &path : dialog.showOpen(owner, addFilesTitle(), addFilesFilters()))
        jobs.add(path);
}

} // namespace sources
