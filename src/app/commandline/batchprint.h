// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace app {

struct CommandLine;

// Prints the command line's entries with no window: the same run as the
// window's (one engine, the same time bound, the same outcome per entry),
// reporting one line per entry on `log` as it finishes and a summary at the
// end. With --json, each entry's object and the summary object go to `out`;
// with --journal, the run keeps its journal and leaves out what it says is
// done. Needs an application object on any platform, offscreen included.
// Returns the exit status (see ExitStatus).
int printFromCommandLine(const CommandLine &line, std::FILE *log = stderr, std::FILE *out = stdout);

// Writes the printers, one a line with the default marked, on `out`, as
// --list-printers asks; problems go to `log`. Returns the exit status.
int printPrinterList(std::FILE *out, std::FILE *log);

} // namespace app
