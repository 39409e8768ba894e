#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// The process's current folder as the file system spells it, whatever its
// length; nothing when it cannot be read (removed, or no permission).
std::optional<QByteArray> currentFolder();

} // namespace platform
