// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The contents page of a combined run: a small HTML page listing the
// documents with the page each starts on, made into PDF by the same engine
// as the documents and put in front of them. The numbers are known only
// once every document is in, and the contents' own pages shift them: it is
// made again until its length holds.

#include "combiningsink.h"

#include "core/documentrenderer.h"

#include <QPageLayout>
#include <QString>

#include <vector>

namespace printing {

// The page listing `starts`, each number moved on by `shift` (the pages in
// front of the first document). Titles are the documents' own, escaped.
QString contentsHtml(const std::vector<PdfCombiner::Start> &starts, int shift);

// Renders the contents of what `sink` has combined with `renderer` on
// `layout`'s pages and puts it in front; why not, when it cannot be made.
QString addContents(CombiningSink &sink, core::DocumentRenderer &renderer, const QPageLayout &layout,
                    const core::Readiness &readiness);

} // namespace printing
