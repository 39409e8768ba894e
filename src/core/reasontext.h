// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Why an entry did not print, or printed only in part, is kept in English
// wherever it is recorded (the job list, the journal, --json), so that what
// scripts read never depends on the user's language. It is worded in the
// user's language only where a person reads it: the marks' tooltips, the
// closing message and the command line's lines on standard error.
namespace core {

// A reason as it is recorded: `english`, whose text lupdate finds because the
// caller writes it as QT_TRANSLATE_NOOP("Reason", "...").
inline QString reasonText(const char *english)
{
    return QString::fromUtf8(english);
}

// `reason` in the user's language, as far as the translations know it:
// - a whole reason the translations hold;
// - one with a name in quotes where a translation has "%1"
//   ('the element "#rows" never appeared');
// - one whose first number stands where a translation has %1
//   ("3 requests still open", "still loading after 30 s");
// - one made of a known beginning and another reason after ": " or in
//   brackets ("the printer refused it: ...", "it could not be loaded (...)"),
//   the rest worded the same way;
// - one whose last word stands where a translation has %1 ("the server
//   answered with HTTP status 404").
// Whatever the translations do not hold stays as it is: the print system's
// and the server's own words among them.
QString shownReason(const QString &reason);

} // namespace core
