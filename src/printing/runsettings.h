#pragma once

#include <chrono>

namespace printing {

// How a print run goes about its work.
struct RunSettings {
    // The most one document may take to load and render. One still loading
    // then is printed as it stands; one whose page no longer answers (a
    // script without end) is given up a few seconds later.
    static constexpr std::chrono::milliseconds DefaultDocumentBound{30'000};

    // Documents prepared at once, each in a page and a renderer process of
    // its own, while the first of them goes to the printer. 1 makes loading
    // and printing strictly alternate.
    int renderers = defaultRenderers();
    std::chrono::milliseconds documentBound = DefaultDocumentBound;
    int copies = 1;
    // Whether every page carries the document's title, its address, the page
    // number and the date.
    bool headings = true;

    // One renderer per processor core, at least two (loading one document
    // while the one before becomes a PDF already pays on one core) and at
    // most eight (beyond that, memory grows and nothing gets faster).
    static int defaultRenderers();
    static constexpr int MaxRenderers = 8;

    // The defaults, with TAVIMARK_RENDERERS (1 to 8), TAVIMARK_HEADERS (0
    // turns the page headings off) and TAVIMARK_TIMEOUT (the bound, in
    // seconds) from the environment.
    static RunSettings fromEnvironment();
};

} // namespace printing
