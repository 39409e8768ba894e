// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace platform {

// Whether appendToDisk waits for the disk.
enum class Sync { Now, Later };

// Adds `bytes` at the end of `file` (open for appending) and, with Sync::Now,
// waits until they are on the disk together with everything written before,
// so that a record survives a crash or a power cut right after. A write the
// disk could take only part of (it filled up) is taken back, so that the
// file never ends in a record cut short. Returns the system's words for what
// went wrong ("No space left on device"), nothing when all of it is stored.
std::optional<QString> appendToDisk(QFileDevice &file, const QByteArray &bytes, Sync sync = Sync::Now);

} // namespace platform
