// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One document's PDF as the print thread changes it: read once, given
// forms over its pages, pages left out and bookmarks, then written once.
// A change that leaves the engine's objects as they are (forms, bookmarks)
// is appended to the engine's bytes as an update, so it costs what it adds;
// leaving pages out writes the file anew, once, with everything else.
//
// Nothing of qpdf shows here: callers hand in texts, bytes and plain
// structs, so no other library includes it.

#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace printing {

// What is laid over every page: a form drawn with a content stream in the
// page's viewed space (points, origin at the bottom left, upright however
// the page is turned), writing in one font; and, where `drawn` holds a PDF
// with one page for each page, that page as a second form on top.
struct PageOverlay {
    QByteArray fontName;  // the name the contents write with, "/Hd"
    QByteArray font;      // the font's dictionary, as PDF text
    std::vector<QByteArray> contents;  // one for each page
    QByteArray drawn;  // empty when there is nothing drawn
    // Applied to every embedded TrueType font program of `drawn`: the
    // program to embed instead, or nothing to keep it as it is.
    std::function<std::optional<QByteArray>(const QByteArray &)> trimFont;
};

// One bookmark of a document's outline: its text, its depth (1 for the top
// level; a deeper one nests under the one before it of a lower depth), and
// where it points: a named destination of the document.
struct Bookmark {
    QString title;
    int level = 1;
    QByteArray destination;
};

// A bookmark's text as a bookmark shows it: one line, no control
// characters, no lone surrogates, at most MostBookmarkCharacters.
QString bookmarkText(const QString &text);
constexpr qsizetype MostBookmarkCharacters = 300;
// More bookmarks than that in one document are left out.
constexpr int MostBookmarks = 10'000;

class PdfDocument {
public:
    // `pdf` read; nothing when it is no PDF qpdf can read, or has no pages.
    static std::optional<PdfDocument> read(const QByteArray &pdf);
    PdfDocument(PdfDocument &&) noexcept;
    PdfDocument &operator=(PdfDocument &&) noexcept;
    ~PdfDocument();

    // Its pages, as read (pages left out still count).
    int pageCount() const;
    // The pages still kept.
    int keptPageCount() const;
    // Each page's size as a reader sees it, rotation and user unit applied,
    // in points; nothing when a page has no usable size.
    std::optional<std::vector<QSizeF>> viewedPageSizes() const;

    // Lays `overlay` over the pages; false when its drawn PDF cannot be
    // read or has another number of pages.
    bool layOver(PageOverlay overlay);
    // Keeps only the pages, numbered from 1 as read, for which `keep` holds.
    void keepPages(const std::function<bool(int page)> &keep);
    // Gives the document an outline of these bookmarks, in this order.
    // Bookmarks whose destination the document does not have, or whose page
    // was left out, are left out.
    void setBookmarks(std::vector<Bookmark> bookmarks);

    // The document with every change; nothing when it cannot be written.
    std::optional<QByteArray> bytes();

    // Where each named destination points: the page (0-based, as read) and
    // how far from the page's top, in points. For tests and tools.
    struct Place {
        int page = 0;
        double fromTop = 0;
    };
    std::optional<Place> destination(const QByteArray &name) const;

    // The outline the document holds, depth-first: each item's depth, text
    // and page (0-based; -1 when it points nowhere readable).
    struct OutlineItem {
        int level = 1;
        QString title;
        int page = -1;
    };
    std::vector<OutlineItem> outline() const;

    struct Impl;

private:
    explicit PdfDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

// How many pages `pdf` has; 0 when it cannot be read.
int pdfPageCount(const QByteArray &pdf);

} // namespace printing
