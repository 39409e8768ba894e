// SPDX-License-Identifier: GPL-3.0-or-later
#include "filesync.h"
#include "core/reasontext.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace platform {

namespace {

QString systemWords(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Writes all of `bytes`, however many calls the system needs; the error
// number when it refuses the rest.
int writeAll(int handle, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(handle, bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : ENOSPC;
        done += written;
    }
    return 0;
}

} // namespace

std::optional<QString> appendToDisk(QFileDevice &file, const QByteArray &bytes, Sync sync)
{
    const int handle = file.handle();
    if (handle < 0)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the file is not open"));
    const off_t before = ::lseek(handle, 0, SEEK_END);
    if (const int error = writeAll(handle, bytes); error != 0) {
        // As far as it goes: a device such as /dev/full has no length to go
        // back to, and a cut record left behind is one a reader calls damaged.
        [[maybe_unused]] const int takenBack = before >= 0 ? ::ftruncate(handle, before) : 0;
        return systemWords(error);
    }
    if (sync == Sync::Later)
        return std::nullopt;
    // A device (a terminal, /dev/null) cannot be synced and need not be:
    // what it was given has gone where it goes.
    if (::fsync(handle) != 0 && errno != EINVAL && errno != EROFS)
        return systemWords(errno);
    return std::nullopt;
}

} // namespace platform
