// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Bookmarks come from a document's headings. The engine writes a named
// destination into its PDF for every element a link of the document points
// at, so just before a document is printed each heading h1 to h3 is given a
// name a link points at: its own id where it has a usable one of its own,
// else a new id (or, where its id is unusable or taken by an earlier
// element, an empty element inside it that carries the new one); the links
// sit in a hidden element, so nothing printed changes. The headings' texts
// and names come back for the outline.

#include "core/documentrenderer.h"

#include <QString>
#include <QVariant>

namespace platform {

// The script that names the headings and answers with them.
QString headingTargetsScript();

// The headings in the script's answer, in document order, checked and
// bounded however the page tampered with it.
QList<core::DocumentHeading> headingsFrom(const QVariant &answer);

} // namespace platform
