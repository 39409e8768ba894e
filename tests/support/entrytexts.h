// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The job list's texts from top to bottom, so a test compares the whole list
// at once and a failure shows every entry.

#include "joblist/joblist.h"

#include <QStringList>

inline QStringList entryTexts(const joblist::JobList &jobs)
{
    QStringList texts;
    texts.reserve(jobs.count());
    for (int position = 1; position <= jobs.count(); ++position)
        texts << jobs.text(position);
    return texts;
}
