// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Many documents made into one PDF, in the order they are added, without
// holding them in memory: each document's objects are written to the
// combined file as it comes, renumbered, and only where each object and page
// landed is kept until the end, when the page tree, the bookmarks and the
// cross-references close the file. Each document gets a bookmark of its own
// (its title) with its own bookmarks beneath.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QTemporaryDir;

namespace printing {

class PdfCombiner {
public:
    // Writes the combined file in a new temporary folder under `folder`.
    explicit PdfCombiner(const QString &folder);
    ~PdfCombiner();
    PdfCombiner(const PdfCombiner &) = delete;
    PdfCombiner &operator=(const PdfCombiner &) = delete;

    // Whether the combined file could be made.
    bool usable() const;
    // Adds `pdf` with its bookmark `title`; with `evenPages`, a blank page
    // follows a document of an odd number of pages when another document
    // comes after it, so that the next one starts on a sheet of its own when
    // printed on both sides. False, and nothing of it added, when the
    // document cannot be read; a file that can no longer be written makes
    // the combiner unusable.
    bool add(const QByteArray &pdf, const QString &title, bool evenPages);
    // Adds `pdf` before every document added, as the combined file's first
    // pages, with its bookmark first; with `evenPages`, followed by a blank
    // page when its pages are odd. For what can be made only once the
    // documents are in (a contents page). Pages counts it; starts() does not.
    bool addFront(const QByteArray &pdf, const QString &title, bool evenPages);
    int documents() const { return m_documents; }
    // Each document added, by its bookmark's title, with the page it starts
    // on (1 for the first), counting blank pages but not those added in front.
    struct Start {
        QString title;
        int page = 0;
    };
    const std::vector<Start> &starts() const { return m_starts; }
    // The pages so far, blank ones included.
    int pages() const { return m_pages; }

    // Closes the combined file; its path, or nothing when it cannot be
    // written (or nothing was added); once closed, the same path again.
    std::optional<QString> combine();

    struct Writer;

private:
    bool addPages(const QByteArray &pdf, const QString &title, bool evenPages, bool front);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Writer> m_writer;
    int m_documents = 0;
    int m_pages = 0;
    int m_lastBlank = 0;  // the blank page the last document gets if another follows
    std::optional<QString> m_combined;
    std::vector<Start> m_starts;
    int m_frontPages = 0;
};

} // namespace printing
