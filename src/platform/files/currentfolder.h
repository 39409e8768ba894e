// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// The process's current folder as the file system spells it, whatever its
// length; nothing when it cannot be read (removed, or no permission).
std::optional<QByteArray> currentFolder();

// `path` made absolute against the current folder, and tidied as
// QDir::cleanPath tidies text ("." parts and doubled separators dropped,
// ".." taking the part before it), byte for byte, so a name that is no text
// keeps its bytes. Nothing when `path` is relative and the current folder
// cannot be read: resolving it against anything else would name another
// file.
std::optional<QByteArray> absolutePath(const QByteArray &path);

} // namespace platform
