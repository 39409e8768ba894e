#include "filesync.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace platform {

std::optional<QString> syncToDisk(QFileDevice &file)
{
    if (!file.flush())
        return file.errorString();
    const int handle = file.handle();
    if (handle < 0)
        return QStringLiteral("the file is not open");
    // A device (a terminal, /dev/null) cannot be synced and needs not be:
    // what it was given has gone where it goes.
    if (::fsync(handle) != 0 && errno != EINVAL && errno != EROFS)
        return QString::fromLocal8Bit(std::strerror(errno));
    return std::nullopt;
}

} // namespace platform
