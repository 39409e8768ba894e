// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/eventyield.h"

#include <QString>
#include <QStringList>

// Reading URL list files and cutting them into tokens. A list file is plain
// text holding addresses separated by line breaks, tabs and spaces; every
// token becomes one job list entry. Nothing here touches a window: the
// caller decides where the tokens go and how the event loop gets its turns.
namespace sources {

// A list file's whole text, or why it has none.
struct ListFileText {
    QString text;
    // Why the file could not be used, in words for the user; empty when read.
    QString failure;

    bool isRead() const { return failure.isEmpty(); }
};

// Files beyond this size are refused rather than read: decoding and cutting a
// file costs a few times its size in memory, and a list of many millions of
// addresses this large is far more likely a wrongly chosen file.
inline constexpr qint64 MaxListFileBytes = qint64(1) << 30;

// Reads the whole file at `path` as text. The encoding is taken from a
// byte-order mark (UTF-8, UTF-16 or UTF-32, either byte order); without one
// the bytes are UTF-8 when they are valid UTF-8 and Windows-1252 otherwise.
// The mark itself is never part of the text. A missing path, a folder or
// other non-regular file, an unreadable file and a file with NUL bytes (not
// text, unless its mark says UTF-16 or UTF-32) give a failure instead.
ListFileText ReadWholeFile(const QString &path);

// Replaces, in place, every character that cannot stand in an address or a
// path as it is by a space, and returns `text`. Kept are the ASCII letters
// and digits, the unreserved and reserved characters of URLs, "%" and the
// backslash, and every non-ASCII character except the C1 control characters
// and the byte-order mark U+FEFF. Of those it replaces, the signs quotes,
// "<", ">", "{", "}", "|", "^" and "`" may yet stand in a list's address
// (see LoadTextFile).
QString &RemoveSpace(QString &text);

// The maximal non-empty runs of `text` that hold no space, tab or carriage
// return, in text order. A line feed separates only directly after a carriage
// return (the second half of CR LF); anywhere else it stays in its token.
QStringList ExtractWords(const QString &text);

// Whether `text` comes back out of a list file as it is: one token, with no
// separator in it and no opening mark at its start. An empty text never
// does.
bool isWholeToken(QStringView text);

// The entry a list file's token becomes: the token itself, except for a
// local file URL (no host, query or fragment) whose file's entry could not
// stand in a list as it is (a name with spaces, say). That token becomes
// the file's own entry, as picking the file would give it, so a list can
// name any local file. Every other file URL is kept as written.
QString listEntry(const QString &token);

// The tokens of one list file's text, in order. Separators are the
// characters RemoveSpace replaces, except the signs: a line feed on its own,
// the other control characters, spaces, tabs and carriage returns. A run
// between separators that holds no sign is a token. One that opens with a
// quote or "<" and holds addresses each enclosed in a pair ("a","b" or
// <a><b>) gives the parts between the marks. Any other run is one token,
// signs and all (without a pair of marks enclosing it whole): a line is one
// address, and cut at a sign it would name some other page. It yields while it cuts, before it takes each token, so the
// window keeps its turns through a list of a million addresses; the caller's
// yield decides how often a turn is really handed over. When a yield reports
// that the program is closing, the cut stops there and only the tokens taken
// before it are returned. `yield` may be empty, for callers without an event
// loop.
QStringList LoadTextFile(const QString &text, const core::Yield &yield = {});

} // namespace sources
