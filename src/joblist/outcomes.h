// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "entrystore.h"

#include <QString>

namespace joblist {

class JobList;

// What the last print run made of the list, for the list's own menu: taking
// out what need not print again, and the outcomes as a table to paste
// elsewhere. The menu itself is the window's.

// Whether the entry's job printed or is with the printer, so that printing
// it again would print it twice. Failed and uncertain entries (not printed,
// aborted, may have printed, answer unknown) and unmarked ones are not.
bool reachedPrinter(Mark mark);

// Whether any entry reached the printer.
bool anyReachedPrinter(const JobList &jobs);

// Removes every entry that reached the printer, so that the next run prints
// only the others; returns how many went.
int removeEntriesThatReachedPrinter(JobList &jobs);

// One line per entry, top first: the entry, its outcome in the words its
// tooltip uses ("" when it carries no mark) and the reason, separated by
// tabs, each line ended by a line feed. A tab or a line break inside a cell
// becomes a space, so that every entry stays one row of three cells.
QString outcomeTable(const JobList &jobs);

} // namespace joblist
