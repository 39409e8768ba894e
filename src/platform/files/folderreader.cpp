// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderreader.h"

#include <algorithm>
#include <iterator>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#endif

namespace platform {

namespace {

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

EntryType typeOf(unsigned char type)
{
    switch (type) {
    case DT_REG: return EntryType::File;
    case DT_DIR: return EntryType::Folder;
    case DT_LNK: return EntryType::Link;
    case DT_UNKNOWN: return EntryType::Unknown;
    default: return EntryType::Other;
    }
}

// Known by the type the kernel reports, since any of them can be mounted
// anywhere.
#if defined(Q_OS_LINUX)
bool isPseudoFileSystem(int fd)
{
    static constexpr unsigned long PseudoTypes[] = {
        0x9fa0,      // proc
        0x62656572,  // sysfs
        0x64626720,  // debugfs
        0x74726163,  // tracefs
        0x73636673,  // securityfs
        0x27e0eb,    // cgroup
        0x63677270,  // cgroup2
        0x1cd1,      // devpts
        0xcafe4a11,  // bpf
        0x62656570,  // configfs
        0x6165676c,  // pstore
        0xde5e81e4,  // efivarfs
        0x65735543,  // fusectl
        0xf97cff8c,  // selinuxfs
        0x42494e4d,  // binfmt_misc
        0x19800202,  // mqueue
        0x6e736673,  // nsfs
    };
    struct statfs info;
    if (fstatfs(fd, &info) != 0)
        return false;
    const auto type = static_cast<unsigned long>(info.f_type);
    return std::find(std::begin(PseudoTypes), std::end(PseudoTypes), type) != std::end(PseudoTypes);
}
#else
bool isPseudoFileSystem(int) { return false; }
#endif

DIR *stream(void *opaque) { return static_cast<DIR *>(opaque); }

} // namespace

FolderReader::FolderReader(const QByteArray &path)
    : m_stream(opendir(path.constData()))
{
}

FolderReader::~FolderReader()
{
    if (m_stream)
        closedir(stream(m_stream));
}

std::optional<FileIdentity> FolderReader::identity() const
{
    struct stat own {};
    if (!m_stream || fstat(dirfd(stream(m_stream)), &own) != 0)
        return std::nullopt;
    return FileIdentity{quint64(own.st_dev), quint64(own.st_ino)};
}

bool FolderReader::onPseudoFileSystem() const
{
    return m_stream && isPseudoFileSystem(dirfd(stream(m_stream)));
}

std::optional<FolderReader::Entry> FolderReader::next()
{
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(stream(m_stream));
        if (!entry) {
            m_failed = errno != 0;
            return std::nullopt;
        }
        if (!isDotOrDotDot(entry->d_name))
            return Entry{entry->d_name, typeOf(entry->d_type)};
    }
}

EntryKind FolderReader::kindOf(const char *name, EntryType type, FileIdentity *identity) const
{
    if (type == EntryType::File && !identity)
        return EntryKind::File;
    if (type == EntryType::Other)
        return EntryKind::Other;
    const int dirFd = dirfd(stream(m_stream));
    struct stat target;
    if (fstatat(dirFd, name, &target, 0) != 0) {
        // A link whose target is gone (or a loop of links) leads nowhere; a
        // folder that cannot be queried is one a walk has to skip.
        if (type == EntryType::Link || errno == ELOOP)
            return EntryKind::Broken;
        struct stat own;
        if (type == EntryType::Unknown && fstatat(dirFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(own.st_mode))
            return S_ISLNK(own.st_mode) ? EntryKind::Broken : EntryKind::Other;
        return EntryKind::Unreadable;
    }
    if (S_ISDIR(target.st_mode)) {
        if (identity)
            *identity = {quint64(target.st_dev), quint64(target.st_ino)};
        return EntryKind::Folder;
    }
    return S_ISREG(target.st_mode) ? EntryKind::File : EntryKind::Other;
}

std::optional<bool> FolderReader::pseudoFileSystemAt(const char *name) const
{
#if defined(Q_OS_LINUX)
    const int fd = openat(dirfd(stream(m_stream)), name, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const bool pseudo = isPseudoFileSystem(fd);
    close(fd);
    return pseudo;
#else
    Q_UNUSED(name)
    return false;
#endif
}

} // namespace platform
