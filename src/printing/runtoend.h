// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "runreport.h"

#include <chrono>
#include <functional>

namespace printing {

class PrintRun;

// For a program with no window (the command line, the benchmarks), whose
// only work is the run: each waits in an event loop of its own, which is
// what drives the run, so no input is kept waiting.

// Runs `run` over its list to its end; returns how it went.
RunReport runToEnd(PrintRun &run);

// Waits, after the run, for the printer's final answer about every job the
// run follows, for at most `limit`, or until `awaited` (asked at each answer)
// says nothing is awaited any more. True when every job followed has its
// final answer, which it has at once when the run follows none.
bool waitForAnswers(PrintRun &run, std::chrono::milliseconds limit, const std::function<bool()> &awaited = {});

} // namespace printing
