// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reasontext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// The one place that turns file names into job list entries and entries into
// the addresses the browser engine loads. A file name is bytes; a name that
// is not valid text in the system's encoding cannot travel as a plain path
// in a QString without losing bytes, so it travels as a file URL whose
// escapes spell those bytes, and comes back out of it byte for byte.
namespace core {

// The job list text for the local file `path`: the path itself where it is
// valid text, else a file URL whose escapes spell its bytes.
QString entryText(const QByteArray &path);

// The job list text for a local file URL (from a drop, say): the same rule
// as above, applied to the URL's bytes.
QString entryTextForUrl(const QUrl &localFile);

// The job list text for an address given as bytes (a command-line argument):
// its UTF-8 as text, and every byte that is not part of valid UTF-8 as an
// escape ("%E9"), so that the address the engine loads holds those very
// bytes, and two addresses that differ in them stay two.
QString addressText(QByteArrayView bytes);

// What the engine loads for an entry, and, for local files, the file's name
// as the file system spells it (empty for anything else).
struct EntryAddress {
    QUrl url;
    QByteArray localName;
};

// A local path becomes a file URL; anything else is taken as an address, as
// a browser's address bar takes it.
EntryAddress addressOf(const QString &entry);

// Why the engine must not be handed an entry, in words for the user; empty
// when it is a document address. Only documents are entries: a web page
// (http, https), a local file, a data address or an empty page. Anything
// else would not open a document of its own: a script address runs inside
// whatever document the page holds, and the browser's own pages and
// resources are not the user's documents. Addresses that could never load
// (an invalid one, one holding a NUL, one longer than the engine takes) are
// refused here at once rather than left to wait out their time bound.
QString documentAddressProblem(const QString &entry);

// What documentAddressProblem() says of a script address, a browser page and
// the like.
inline const QString NotADocumentAddress = core::reasonText(QT_TRANSLATE_NOOP("Reason", "not a document address"));

// A short name for the document behind an entry when it has no title of its
// own: the file's name, or the last part of the address.
QString documentName(const QString &entry);

} // namespace core
