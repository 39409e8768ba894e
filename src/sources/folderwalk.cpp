#include "folderwalk.h"
#include "paths.h"

#include <QFile>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <vector>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(Q_OS_LINUX)
#include <sys/vfs.h>
#endif

namespace sources {

namespace {

// ---- names -------------------------------------------------------------

bool isDotOrDotDot(const char *name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

bool isHidden(const char *name) { return name[0] == '.'; }

// The number of UTF-16 units of the character that starts at `at`.
qsizetype charUnits(QStringView text, qsizetype at)
{
    if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return 2;
    return 1;
}

// Both sides are case-folded already. The classic greedy match: on a
// mismatch, the last `*` takes one more character and the rest is tried
// again, which is linear for the usual "*.ext".
bool wildcardMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starAt = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == u'*') {
            starAt = p++;
            starName = n;
        } else if (p < pattern.size() && pattern.at(p) == u'?') {
            ++p;
            n += charUnits(name, n);
        } else if (p < pattern.size() && pattern.at(p) == name.at(n)) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            starName += charUnits(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == u'*')
        ++p;
    return p == pattern.size();
}

// Names within one folder are ordered by their case-folded text; the bytes
// settle ties (names that differ only in case, or in undecodable bytes),
// so the order never depends on the file system's.
struct SortedName {
    QString key;
    QByteArray bytes;
    bool operator<(const SortedName &other) const
    {
        if (const int byKey = key.compare(other.key); byKey != 0)
            return byKey < 0;
        return bytes < other.bytes;
    }
};

QString sortKey(const char *name) { return QFile::decodeName(name).toCaseFolded(); }

// ---- directory searches ------------------------------------------------

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
using Directory = std::unique_ptr<DIR, DirCloser>;

// Reads the next entry other than "." and ".."; nullptr at the end, with
// `failed` set when the end is a read error rather than the last name.
const dirent *nextEntry(DIR *dir, bool &failed)
{
    for (;;) {
        errno = 0;
        const dirent *entry = readdir(dir);
        if (!entry) {
            failed = errno != 0;
            return nullptr;
        }
        if (!isDotOrDotDot(entry->d_name))
            return entry;
    }
}

// What an entry leads to, links followed. The entry's own type, when the
// file system gives one, saves a query for plain files and folders; the
// identity of a folder is always queried, because the walk needs it.
enum class Kind { File, Folder, Other, Broken, Unreadable };

Kind kindOf(int dirFd, const char *name, unsigned char type, struct stat *info)
{
    struct stat local;
    struct stat *target = info ? info : &local;
    if (type == DT_REG && !info)
        return Kind::File;
    if (type != DT_REG && type != DT_DIR && type != DT_LNK && type != DT_UNKNOWN)
        return Kind::Other;
    if (fstatat(dirFd, name, target, 0) != 0) {
        // A link whose target is gone (or a loop of links) leads nowhere; a
        // folder that cannot be queried is one the walk has to skip.
        if (type == DT_LNK || errno == ELOOP)
            return Kind::Broken;
        struct stat own;
        if (type == DT_UNKNOWN && fstatat(dirFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(own.st_mode))
            return S_ISLNK(own.st_mode) ? Kind::Broken : Kind::Other;
        return Kind::Unreadable;
    }
    if (S_ISDIR(target->st_mode))
        return Kind::Folder;
    return S_ISREG(target->st_mode) ? Kind::File : Kind::Other;
}

struct Subfolder {
    SortedName name;
    quint64 device;
    quint64 inode;
};

// ---- file systems ------------------------------------------------------

// File systems whose folders are the kernel's view of itself, not files:
// they hold links out to every process's folders, and trees that change
// while they are read. Known by the type the kernel reports, since any of
// them can be mounted anywhere.
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

// Whether the folder `name` in the folder open as `dirFd` lies on one of
// them; nothing when that cannot be told.
std::optional<bool> isPseudoFileSystemAt(int dirFd, const char *name)
{
    const int fd = openat(dirFd, name, O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    const bool pseudo = isPseudoFileSystem(fd);
    close(fd);
    return pseudo;
}
#else
bool isPseudoFileSystem(int) { return false; }
std::optional<bool> isPseudoFileSystemAt(int, const char *) { return false; }
#endif

// The file system a walk started on. A walk keeps out of pseudo file systems
// unless it started on one, and then keeps to that one: from there, links
// lead to every process's folders and to the whole machine.
struct Home {
    quint64 device = 0;
    bool pseudo = false;
};

// A folder still to be read, with the file system its walk started on;
// a starting folder learns its own when it is read.
struct Pending {
    QByteArray folder;
    std::optional<Home> home;
};

// What the subfolder `name`, which lies on `device`, of the folder open as
// `dirFd`, which lies on `here`, is to a walk from `home`: a folder to
// enter, or something it passes over, or one it cannot tell about. Only a
// folder on a device of its own needs a look at its file system.
Kind folderKind(int dirFd, const char *name, quint64 device, quint64 here, const Home &home)
{
    if (device == home.device)
        return Kind::Folder;
    if (home.pseudo)
        return Kind::Other;
    if (device == here)
        return Kind::Folder;
    const std::optional<bool> pseudo = isPseudoFileSystemAt(dirFd, name);
    if (!pseudo)
        return Kind::Unreadable;
    return *pseudo ? Kind::Other : Kind::Folder;
}

// Appends the subfolders of one folder to `found`, in name order, each
// folder once per walk and none on a file system the walk keeps out of.
// False when the yield said stop.
//
// The walk yields while it works: once for every name it reads and once for
// every entry it takes a closer look at, so a folder of a hundred thousand
// names still leaves the window its turns (the yield itself decides how
// often a turn is really handed over).
bool collectFolder(const Pending &pending, FolderWalk &walk, QList<Pending> &found)
{
    const QByteArray &folder = pending.folder;
    const Directory dir(opendir(folder.constData()));
    if (!dir) {
        walk.unreadable(folder);
        return walk.yield();
    }
    const int dirFd = dirfd(dir.get());
    struct stat own {};
    if (fstat(dirFd, &own) == 0)
        walk.firstVisit(own.st_dev, own.st_ino);
    const Home home = pending.home.value_or(Home{quint64(own.st_dev), isPseudoFileSystem(dirFd)});

    // Plain files and hidden entries need nothing more; only folders, links
    // and entries of unknown type need a closer look.
    struct Candidate {
        QByteArray name;
        unsigned char type;
    };
    std::vector<Candidate> candidates;
    bool failed = false;
    while (const dirent *entry = nextEntry(dir.get(), failed)) {
        if (!walk.yield())
            return false;
        if (!isHidden(entry->d_name) && (entry->d_type == DT_DIR || entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN))
            candidates.push_back({QByteArray(entry->d_name), entry->d_type});
    }
    if (failed) {
        walk.unreadable(folder);
        return walk.yield();
    }

    std::vector<Subfolder> subfolders;
    for (const Candidate &candidate : candidates) {
        if (!walk.yield())
            return false;
        const char *name = candidate.name.constData();
        struct stat info;
        Kind kind = kindOf(dirFd, name, candidate.type, &info);
        if (kind == Kind::Folder)
            kind = folderKind(dirFd, name, quint64(info.st_dev), quint64(own.st_dev), home);
        switch (kind) {
        case Kind::Folder:
            subfolders.push_back({{sortKey(name), candidate.name}, quint64(info.st_dev), quint64(info.st_ino)});
            break;
        case Kind::Unreadable:
            walk.unreadable(folderPath(joinPath(folder, candidate.name)));
            break;
        case Kind::File:
        case Kind::Other:
        case Kind::Broken:
            break;
        }
    }
    std::sort(subfolders.begin(), subfolders.end(),
              [](const Subfolder &a, const Subfolder &b) { return a.name < b.name; });
    for (const Subfolder &subfolder : subfolders) {
        if (walk.firstVisit(subfolder.device, subfolder.inode))
            found.append({folderPath(joinPath(folder, subfolder.name.bytes)), home});
    }
    return true;
}

} // namespace

// ---- NamePattern ---------------------------------------------------------

NamePattern::NamePattern(const QString &pattern)
    : m_folded(pattern.toCaseFolded())
    , m_dotOptional(m_folded.endsWith(u".*"))
{
    const qsizetype dot = m_folded.lastIndexOf(u'.');
    if (dot < 0)
        return;
    const QStringView extension = QStringView(m_folded).sliced(dot + 1);
    const bool wildcard = extension.contains(u'*') || extension.contains(u'?');
    if (!wildcard && extension.toUcs4().size() == 3) {
        m_stem = m_folded.left(dot);
        m_shortExtension = extension.toString();
    }
}

bool NamePattern::matches(QStringView name) const
{
    const QString folded = name.toString().toCaseFolded();
    if (wildcardMatch(m_folded, folded))
        return true;
    if (m_dotOptional && wildcardMatch(QStringView(m_folded).chopped(2), folded))
        return true;
    return matchesLongerExtension(folded);
}

bool NamePattern::matchesLongerExtension(QStringView folded) const
{
    if (m_shortExtension.isEmpty())
        return false;
    const qsizetype dot = folded.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = folded.sliced(dot + 1);
    return extension.size() > m_shortExtension.size() && extension.startsWith(m_shortExtension)
        && wildcardMatch(m_stem, folded.first(dot));
}

// ---- FolderWalk ----------------------------------------------------------

bool FolderWalk::yield()
{
    if (!m_stopped && m_yield && !m_yield())
        m_stopped = true;
    return !m_stopped;
}

bool FolderWalk::firstVisit(quint64 device, quint64 inode)
{
    return m_visited.emplace(device, inode).second;
}

void FolderWalk::unreadable(const QByteArray &folder)
{
    if (!m_unreadableSeen.contains(folder)) {
        m_unreadableSeen.insert(folder);
        m_unreadable.append(folder);
    }
}

// ---- the walk --------------------------------------------------------------

QByteArray folderPath(const QByteArray &folder)
{
    if (folder.isEmpty())
        return folder;
    return joinPath(trimTrailingSeparators(folder), QByteArray());
}

// The design recurses once per level and hands every folder up through each
// level above it; walking the levels in a loop gives the same order without
// copying deep folders once per level or nesting calls as deep as the tree.
bool CollectSubFolders(QList<QByteArray> &folders, bool descend, FolderWalk &walk)
{
    QList<Pending> level;
    level.reserve(folders.size());
    for (const QByteArray &folder : std::as_const(folders))
        level.append({folderPath(folder), std::nullopt});

    QList<QByteArray> collected;
    do {
        QList<Pending> next;
        for (const Pending &folder : std::as_const(level)) {
            if (!collectFolder(folder, walk, next))
                return false;
        }
        for (const Pending &folder : std::as_const(next))
            collected.append(folder.folder);
        level = std::move(next);
    } while (descend && !level.isEmpty());
    folders += collected;
    return true;
}

std::optional<QList<QByteArray>> ListFolderFiles(const QByteArray &folder, const NamePattern &pattern)
{
    const QByteArray path = folderPath(folder);
    const Directory dir(opendir(path.constData()));
    if (!dir)
        return std::nullopt;
    const int dirFd = dirfd(dir.get());
    std::vector<SortedName> matches;
    bool failed = false;
    while (const dirent *entry = nextEntry(dir.get(), failed)) {
        if (entry->d_type == DT_DIR)
            continue;
        QString key = sortKey(entry->d_name);
        if (!pattern.matches(key) || kindOf(dirFd, entry->d_name, entry->d_type, nullptr) != Kind::File)
            continue;
        matches.push_back({std::move(key), QByteArray(entry->d_name)});
    }
    if (failed)
        return std::nullopt;
    std::sort(matches.begin(), matches.end());
    QList<QByteArray> names;
    names.reserve(qsizetype(matches.size()));
    for (SortedName &match : matches)
        names.append(std::move(match.bytes));
    return names;
}

QString displayFolder(const QByteArray &folder)
{
    return QFile::decodeName(trimTrailingSeparators(folder));
}

} // namespace sources
