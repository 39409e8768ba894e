// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Builds folder trees on disk for the folder walk's tests, with raw byte
// names where a test needs names that are not valid text.

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foldertree {

inline QByteArray bytes(const QString &path) { return QFile::encodeName(path); }

// Creates a file (empty) at `path`, given as bytes; false on failure.
inline bool touch(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Each item is relative to `root`: "a/b/" makes folders, "a/b/c.htm" a file
// (its folders made as needed).
inline bool make(const QByteArray &root, const QByteArrayList &items)
{
    for (const QByteArray &item : items) {
        const QByteArray path = root + '/' + item;
        qsizetype slash = root.size();
        while ((slash = path.indexOf('/', slash + 1)) > 0) {
            if (::mkdir(path.left(slash).constData(), 0755) != 0 && errno != EEXIST)
                return false;
        }
        if (!item.endsWith('/') && !touch(path))
            return false;
    }
    return true;
}

inline bool link(const QByteArray &target, const QByteArray &at)
{
    return ::symlink(target.constData(), at.constData()) == 0;
}

} // namespace foldertree
