// SPDX-License-Identifier: GPL-3.0-or-later
#include "currentfolder.h"

#include <QList>

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

namespace {

QByteArray cleanAbsolute(const QByteArray &path)
{
    QList<QByteArray> kept;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept << part;
    }
    return '/' + kept.join('/');
}

} // namespace

std::optional<QByteArray> absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return cleanAbsolute(path);
    const std::optional<QByteArray> folder = currentFolder();
    if (!folder)
        return std::nullopt;
    return cleanAbsolute(*folder + '/' + path);
}

} // namespace platform
