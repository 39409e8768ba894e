// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What becomes of the engine's PDF of one document on the print thread
// before it goes out: the page headings, bookmarks from its headings, only
// the chosen pages, its pages counted. The PDF is read once and written
// once, however many of these the run asks for.

#include "printqueue.h"

#include "printing/headerfooter/headerfooter.h"
#include "printing/pagerange/pagerange.h"

#include <optional>
#include <vector>

namespace printing {

struct DocumentFinish {
    std::optional<PageHeadings> headings;
    std::optional<PageRanges> pages;  // all when none
    std::vector<Bookmark> bookmarks;
    bool countPages = false;

    bool anything() const { return headings || pages || !bookmarks.empty() || countPages; }
};

// `pdf` finished as `finish` says. A document whose headings cannot be laid
// goes out without them; one that cannot be read goes out as it came, unless
// pages are to be chosen from it.
PrintQueue::Finished finishDocument(const QByteArray &pdf, const DocumentFinish &finish);

} // namespace printing
