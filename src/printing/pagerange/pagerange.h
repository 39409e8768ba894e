// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Printing only some pages of each document: the pages a user chose, and the
// PDF of one document cut down to them. The cut comes after the headings are
// drawn, so a page keeps the document's own numbering ("Page 3 of 12" stays
// when pages 3-5 are chosen).
//
// No engine, no widgets, no print system: how the pages are chosen on the
// command line or in a dialog, and what becomes of a document with none of
// them, is the caller's business.

#include <QByteArray>
#include <QList>
#include <QString>

#include <limits>
#include <optional>

namespace printing {

class PdfDocument;

// The pages a user chose, spelled as IPP's page-ranges and lp's
// "-o page-ranges=" spell them: "1-3,7", and "5-" for page 5 to the end.
struct PageRanges {
    // The last of a range that runs to the end of every document.
    static constexpr int ToTheEnd = std::numeric_limits<int>::max();

    struct Range {
        int first = 1;  // 1-based, inclusive
        int last = ToTheEnd;
    };
    // In the order the user wrote them; they may overlap or run backwards.
    QList<Range> ranges;

    // As the user wrote it, tidied: "1-3,7", "4" for "4-4", "5-".
    QString text() const;
    bool contains(int page) const;
};

// The ranges in `text`: comma-separated pages ("2") and ranges ("1-3", "5-"),
// with blanks allowed around the numbers, dashes and commas. Nothing when the
// text is empty or malformed: a page 0, a sign, a range whose first page
// comes after its last, an empty item, a number too large for an int.
std::optional<PageRanges> parsePageRanges(const QString &text);

// The outcome of selectPages: the cut-down PDF, or why there is none.
struct SelectedPages {
    QByteArray pdf;   // empty on failure
    QString failure;  // empty on success; worded to follow "<document>: "

    bool ok() const { return failure.isEmpty(); }
};

// `pdf` with only the pages in `ranges`, in document order, each once; still
// a vector PDF, its streams copied as they are. When every page is chosen the
// bytes come back untouched. Fails with "no page of it is in the range
// <ranges.text()>" when no page is chosen, and with a short reason when
// `pdf` cannot be read. Safe to call from any thread.
SelectedPages selectPages(const QByteArray &pdf, const PageRanges &ranges);

// Leaves out of `document` every page not in `ranges`.
void keepRanges(PdfDocument &document, const PageRanges &ranges);

// How many pages `pdf` has; 0 when it cannot be read.
int pageCount(const QByteArray &pdf);

} // namespace printing
