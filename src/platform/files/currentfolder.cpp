#include "currentfolder.h"

#include <cerrno>
#include <vector>

#include <unistd.h>

namespace platform {

std::optional<QByteArray> currentFolder()
{
    // Any buffer may be too small for a deep folder; only a folder that is
    // gone or unreadable is a reason to give up.
    std::vector<char> buffer(1024);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.data());
}

} // namespace platform
