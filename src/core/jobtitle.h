// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace core {

// The most a print system keeps of a job's name, in bytes of UTF-8.
inline constexpr qsizetype MaxJobTitleBytes = 255;

// A job title the print queue shows as given: control characters (tabs and
// line breaks in a file's name, say) become spaces, which queues would
// otherwise refuse and replace with a name of their own; a title too long
// keeps its end, where a path holds the file's own name, behind an ellipsis,
// cut on a character boundary.
QByteArray jobTitle(const QString &text);

} // namespace core
