// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/documentrenderer.h"
#include "core/printersettings.h"

#include <QString>

#include <chrono>

namespace printing {

// How a print run goes about its work.
struct RunSettings {
    // The most one document may take to load and render. One still loading
    // then is printed as it stands; one whose page no longer answers (a
    // script without end) is given up a few seconds later.
    static constexpr std::chrono::milliseconds DefaultDocumentBound{30'000};
    // What a user may set the bound to, in seconds: under a second leaves no
    // document time to load, and past a day a run waits on nothing useful.
    static constexpr int MinBoundSeconds = 1;
    static constexpr int MaxBoundSeconds = 24 * 3600;
    // Whether `seconds` is a bound a user may set: a finite number in range.
    static bool boundInRange(double seconds);

    // Documents prepared at once, each in a page and a renderer process of
    // its own, while the first of them goes to the printer. 1 makes loading
    // and printing strictly alternate.
    int renderers = defaultRenderers();
    std::chrono::milliseconds documentBound = DefaultDocumentBound;
    // What else a document waits for before it prints, within its bound: an
    // element matching a CSS selector (empty: none), and a delay after it
    // has settled. `settle` false prints each once it has loaded, only to
    // measure what settling costs.
    QString waitFor;
    std::chrono::milliseconds delay{0};
    bool settle = true;
    // When the run's documents count as ready to print.
    core::Readiness readiness() const;
    // Where the run prints, and how.
    core::PrinterSettings printer;
    // Whether every page carries the document's title, its address, the page
    // number and the date.
    bool headings = true;
    // Whether each document gets bookmarks from its headings h1 to h3. Only
    // worth it where a person opens the PDF: a printer shows no bookmarks.
    bool bookmarks = false;
    // Whether each job's pages are counted, for a report that names them;
    // counting reads every document once more.
    bool countPages = false;
    // Whether every job the print system takes is followed until the
    // printer has finished, held or given it up (see PrintRun).
    bool follow = true;

    // One renderer per processor core, at least two (loading one document
    // while the one before becomes a PDF already pays on one core) and at
    // most eight (beyond that, memory grows and nothing gets faster).
    static int defaultRenderers();
    static constexpr int MaxRenderers = 8;

    // The defaults, with TAVIMARK_RENDERERS (1 to 8), TAVIMARK_HEADERS (0
    // turns the page headings off) and TAVIMARK_TIMEOUT (the bound, in
    // seconds, within the range above; any other value leaves the default)
    // from the environment.
    static RunSettings fromEnvironment();
};

} // namespace printing
