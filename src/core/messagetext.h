// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// How the program's messages quote what they are about, so that a message
// about thousands of entries, or about one entry a megabyte long, still fits
// on the screen.
namespace core {

// Messages name the first twenty things and count the rest.
inline constexpr qsizetype NamedInMessage = 20;
// The longest an entry may stand in a message, in characters.
inline constexpr qsizetype QuotedLength = 200;

// `text` with its middle replaced by an ellipsis when it is longer than
// `length` characters; both ends are kept, since a path's start says where
// and its end says which file. Never splits a surrogate pair.
QString shortenMiddle(const QString &text, qsizetype length = QuotedLength);

// "1 entry", "2 entries".
QString entryCount(qsizetype count);

// One line per name, then "... and N more." when there were more than
// twenty. Callers shorten what they quote (see quoted()).
QString namedList(const QStringList &lines);

// An entry, a path or an address as a message quotes it: shortened in the
// middle to at most QuotedLength characters.
inline QString quoted(const QString &text) { return shortenMiddle(text, QuotedLength); }

// A reason another part of the system worded, ready to stand in brackets or
// after a colon: without surrounding blanks and without a final full stop,
// so that no message ends up with doubled punctuation.
QString quotedReason(const QString &reason);

// `text` on one line: every control character (C0, DEL and C1, tabs and line
// breaks among them) and every mark that turns the direction of text becomes
// a space. A file name may hold any of them, and a job title, a heading or a
// line for scripts to read must neither break apart nor show its parts out of
// order.
QString oneLine(QString text);

} // namespace core
