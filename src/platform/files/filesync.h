#pragma once

#include <QFileDevice>
#include <QString>

#include <optional>

namespace platform {

// Hands everything written to `file` to the operating system and waits until
// it is on the disk, so that a record survives a crash or a power cut right
// after. Returns the system's words for what went wrong ("No space left on
// device"), nothing when all of it is stored.
std::optional<QString> syncToDisk(QFileDevice &file);

} // namespace platform
