// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Many documents made into one PDF, in the order they are added, without
// holding them all in memory: each document goes to a file of its own as it
// comes, and the files are merged a bounded batch at a time, each batch into
// a file again, then the batches into the one result. Each document gets a
// bookmark of its own (its title) with its own bookmarks beneath.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QTemporaryDir;

namespace printing {

class PdfCombiner {
public:
    // Keeps its parts in a new temporary folder under `folder`.
    explicit PdfCombiner(const QString &folder);
    ~PdfCombiner();
    PdfCombiner(const PdfCombiner &) = delete;
    PdfCombiner &operator=(const PdfCombiner &) = delete;

    // Whether the parts' folder could be made.
    bool usable() const;
    // Adds `pdf` with its bookmark `title`; with `evenPages`, a blank page
    // follows a document of an odd number of pages when another document
    // comes after it, so that the next one
    // starts on a sheet of its own when printed on both sides. False when the
    // document cannot be read or its part cannot be written.
    bool add(const QByteArray &pdf, const QString &title, bool evenPages);
    int documents() const { return m_parts; }
    // The pages so far, blank ones included; where each document starts.
    int pages() const { return m_pages; }

    // Merges what was added into a file `name` in the parts' folder; its
    // path, or nothing when it cannot be written (or nothing was added).
    std::optional<QString> combine();

    // How many documents are merged at once: enough that the batches of a
    // run of 2,000 documents are few, few enough that a batch's parsed
    // objects stay small.
    static constexpr int Batch = 64;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    int m_parts = 0;
    int m_pages = 0;
    int m_lastBlank = 0;  // the blank page the last document gets if another follows
};

} // namespace printing
