// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <optional>

namespace platform {

// Where a file lives: its device, and its number there.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
};

// What a folder's entry says of itself; most file systems give it with the
// name, for free.
enum class EntryType { File, Folder, Link, Unknown, Other };

// What an entry leads to, links followed.
enum class EntryKind { File, Folder, Other, Broken, Unreadable };

// One folder open for reading its names, closed when it goes. Names are
// bytes, as the file system holds them.
class FolderReader {
public:
    explicit FolderReader(const QByteArray &path);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    bool isOpen() const { return m_stream != nullptr; }
    // The open folder's own identity; nothing when it cannot be queried.
    std::optional<FileIdentity> identity() const;
    // Whether the open folder lies on a file system that is the kernel's
    // view of itself (proc, sysfs, cgroup, ...), not files: such trees hold
    // links out to every process's folders and change while they are read.
    bool onPseudoFileSystem() const;

    struct Entry {
        const char *name;  // valid until the next call of next()
        EntryType type;
    };
    // The next entry other than "." and ".."; nothing at the end, when
    // failed() tells a read error from the last name.
    std::optional<Entry> next();
    bool failed() const { return m_failed; }

    // What the entry `name` leads to. A plain file needs no query unless
    // its identity is asked for; a folder's identity goes to `identity`.
    EntryKind kindOf(const char *name, EntryType type, FileIdentity *identity = nullptr) const;
    // Whether the folder `name` lies on a pseudo file system; nothing when
    // that cannot be told.
    std::optional<bool> pseudoFileSystemAt(const char *name) const;

private:
    // The system's directory stream, kept opaque here so that no reader of
    // this header needs a system header.
    void *m_stream = nullptr;
    bool m_failed = false;
};

} // namespace platform
