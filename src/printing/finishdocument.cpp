// SPDX-License-Identifier: GPL-3.0-or-later
#include "finishdocument.h"

namespace printing {

namespace {

const QString Unreadable = QStringLiteral("its PDF could not be read");

} // namespace

PrintQueue::Finished finishDocument(const QByteArray &pdf, const DocumentFinish &finish)
{
    std::optional<PdfDocument> document = PdfDocument::read(pdf);
    if (!document) {
        if (finish.pages)
            return {{}, Unreadable};
        return {pdf, {}};
    }
    // The headings go on before the chosen pages are picked, so that a page
    // keeps the number it has in its whole document.
    if (finish.headings)
        addHeadersAndFooters(*document, *finish.headings);
    if (finish.pages) {
        keepRanges(*document, *finish.pages);
        if (document->keptPageCount() == 0)
            return {{}, u"no page of it is in the range " + finish.pages->text()};
    }
    if (!finish.bookmarks.empty())
        document->setBookmarks(finish.bookmarks);
    std::optional<QByteArray> bytes = document->bytes();
    if (!bytes)
        return finish.pages ? PrintQueue::Finished{{}, Unreadable} : PrintQueue::Finished{pdf, {}};
    PrintQueue::Finished finished{std::move(*bytes), {}};
    if (finish.countPages)
        finished.pages = document->keptPageCount();
    return finished;
}

} // namespace printing
