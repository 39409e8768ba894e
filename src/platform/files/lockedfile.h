// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QString>

#include <optional>

namespace platform {

// Why a file could not be had for one process alone.
struct LockRefusal {
    enum class Kind {
        NotAFile,    // there is something else by that name (a fifo, a device, a socket)
        InUse,       // another process holds it
        CannotOpen,  // the system refused; `words` says why
    };
    Kind kind = Kind::CannotOpen;
    QString words;
};

// Opens `path` into `file` to read from its start and to add to, creating a
// file when there is none, and keeps it for this process alone while `file`
// stays open: anyone else asking the same is refused with InUse. The hold is
// the kernel's lock on the open file (flock), not a lock file beside it, so a
// process that dies in any way, kill -9 included, lets go of it at once and
// leaves nothing stale to clear by hand. The descriptor is not inherited by
// the processes the program starts, which would otherwise keep the hold past
// the program's end. Only a regular file is opened; anything else is refused
// without waiting on it (opening a fifo would wait for a writer).
std::optional<LockRefusal> openLocked(const QString &path, QFile &file);

} // namespace platform
