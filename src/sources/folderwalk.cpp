// SPDX-License-Identifier: GPL-3.0-or-later
#include "folderwalk.h"
#include "paths.h"

#include "platform/files/folderreader.h"

#include <QFile>

#include <algorithm>
#include <memory>
#include <vector>


namespace sources {

namespace {

// ---- names -------------------------------------------------------------

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

using platform::EntryKind;
using platform::EntryType;
using platform::FileIdentity;
using platform::FolderReader;

struct Subfolder {
    SortedName name;
    FileIdentity identity;
};

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

// What the subfolder `name`, which lies on `device`, of the folder being
// read, which lies on `here`, is to a walk from `home`: a folder to enter,
// or something it passes over, or one it cannot tell about. Only a folder on
// a device of its own needs a look at its file system.
EntryKind folderKind(const FolderReader &reader, const char *name, quint64 device, quint64 here, const Home &home)
{
    if (device == home.device)
        return EntryKind::Folder;
    if (home.pseudo)
        return EntryKind::Other;
    if (device == here)
        return EntryKind::Folder;
    const std::optional<bool> pseudo = reader.pseudoFileSystemAt(name);
    if (!pseudo)
        return EntryKind::Unreadable;
    return *pseudo ? EntryKind::Other : EntryKind::Folder;
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
    FolderReader reader(folder);
    if (!reader.isOpen()) {
        walk.unreadable(folder);
        return walk.yield();
    }
    const FileIdentity own = reader.identity().value_or(FileIdentity{});
    if (reader.identity())
        walk.firstVisit(own.device, own.inode);
    const Home home = pending.home.value_or(Home{own.device, reader.onPseudoFileSystem()});

    // Plain files and hidden entries need nothing more; only folders, links
    // and entries of unknown type need a closer look.
    struct Candidate {
        QByteArray name;
        EntryType type;
    };
    std::vector<Candidate> candidates;
    while (const std::optional<FolderReader::Entry> entry = reader.next()) {
        if (!walk.yield())
            return false;
        if (!isHidden(entry->name)
            && (entry->type == EntryType::Folder || entry->type == EntryType::Link || entry->type == EntryType::Unknown))
            candidates.push_back({QByteArray(entry->name), entry->type});
    }
    if (reader.failed()) {
        walk.unreadable(folder);
        return walk.yield();
    }

    std::vector<Subfolder> subfolders;
    for (const Candidate &candidate : candidates) {
        if (!walk.yield())
            return false;
        const char *name = candidate.name.constData();
        FileIdentity identity;
        EntryKind kind = reader.kindOf(name, candidate.type, &identity);
        if (kind == EntryKind::Folder)
            kind = folderKind(reader, name, identity.device, own.device, home);
        switch (kind) {
        case EntryKind::Folder:
            subfolders.push_back({{sortKey(name), candidate.name}, identity});
            break;
        case EntryKind::Unreadable:
            walk.unreadable(folderPath(joinPath(folder, candidate.name)));
            break;
        case EntryKind::File:
        case EntryKind::Other:
        case EntryKind::Broken:
            break;
        }
    }
    std::sort(subfolders.begin(), subfolders.end(),
              [](const Subfolder &a, const Subfolder &b) { return a.name < b.name; });
    for (const Subfolder &subfolder : subfolders) {
        if (walk.firstVisit(subfolder.identity.device, subfolder.identity.inode))
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
    FolderReader reader(folderPath(folder));
    if (!reader.isOpen())
        return std::nullopt;
    std::vector<SortedName> matches;
    while (const std::optional<FolderReader::Entry> entry = reader.next()) {
        if (entry->type == EntryType::Folder)
            continue;
        QString key = sortKey(entry->name);
        if (!pattern.matches(key) || reader.kindOf(entry->name, entry->type) != EntryKind::File)
            continue;
        matches.push_back({std::move(key), QByteArray(entry->name)});
    }
    if (reader.failed())
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
