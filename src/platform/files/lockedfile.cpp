// SPDX-License-Identifier: GPL-3.0-or-later
#include "lockedfile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

LockRefusal refusal(int error)
{
    return {LockRefusal::Kind::CannotOpen, QString::fromLocal8Bit(std::strerror(error))};
}

// A directory is left to open() to refuse, in the system's own words.
bool isOtherThanAFile(mode_t mode)
{
    return !S_ISREG(mode) && !S_ISDIR(mode);
}

int lockAlone(int handle)
{
    int locked = -1;
    do
        locked = ::flock(handle, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    return locked == 0 ? 0 : errno;
}

} // namespace

std::optional<LockRefusal> openLocked(const QString &path, QFile &file)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) == 0 && isOtherThanAFile(info.st_mode))
        return LockRefusal{LockRefusal::Kind::NotAFile, {}};
    // Not blocking, so that a fifo put there since the look above is not
    // waited on either; the look at the open file below then refuses it.
    const int handle = ::open(name.constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    if (handle < 0)
        return refusal(errno);
    const auto refuse = [handle](LockRefusal why) {
        ::close(handle);
        return why;
    };
    if (::fstat(handle, &info) != 0)
        return refuse(refusal(errno));
    if (!S_ISREG(info.st_mode))
        return refuse({LockRefusal::Kind::NotAFile, {}});
    if (const int error = lockAlone(handle); error != 0)
        return refuse(error == EWOULDBLOCK ? LockRefusal{LockRefusal::Kind::InUse, {}} : refusal(error));
    ::fcntl(handle, F_SETFL, ::fcntl(handle, F_GETFL) & ~O_NONBLOCK);
    // Records go to the system in one write each, past Qt's buffer, so a run
    // killed between two leaves no record half written.
    if (!file.open(handle, QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return refuse({LockRefusal::Kind::CannotOpen, file.errorString()});
    return std::nullopt;
}

} // namespace platform
