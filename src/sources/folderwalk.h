// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/eventyield.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringView>

#include <optional>
#include <set>
#include <utility>

// The walk through a folder tree behind "Add All HTML Files In Folder".
//
// Paths here are QByteArrays: the bytes the file system holds. A name need
// not be valid text in the system's encoding, and only bytes name such a
// file exactly; text is made from them only for the job list and messages.
// A folder path always ends in exactly one '/'.
namespace sources {

// Matches file names against a pattern such as "*.htm" the way the
// program's users know from their directory searches: `*` is any run of
// characters, `?` any one character, case is ignored, and a pattern ending
// in ".*" also matches names without that dot (so "*.*" matches every
// name). Every other character, brackets included, stands for itself.
//
// Those searches also matched a name by its short form, whose extension is
// cut to three characters, so "*.htm" found "page.html". A pattern whose
// extension (what follows its last dot) is exactly three characters without
// a wildcard therefore also matches a name whose own extension begins with
// them, when the rest of the name matches the rest of the pattern.
class NamePattern {
public:
    explicit NamePattern(const QString &pattern);
    bool matches(QStringView name) const;

private:
    bool matchesLongerExtension(QStringView folded) const;

    QString m_folded;
    bool m_dotOptional = false;
    // Set only where the longer-extension rule applies.
    QString m_stem;
    QString m_shortExtension;
};

// What one walk shares between its steps: the yield, which folders it has
// already taken (by identity, so a folder reached through a link loop or
// through two links is walked once), and the folders it could not read.
//
// The directory searches themselves keep no state here: each is a local of
// the call that runs it, so an action started during a yield cannot
// disturb a search in progress.
class FolderWalk {
public:
    explicit FolderWalk(core::Yield yield) : m_yield(std::move(yield)) { }

    // False once the yield has said stop; every later call says the same.
    bool yield();
    bool stopped() const { return m_stopped; }

    // True the first time a folder with this identity is offered.
    bool firstVisit(quint64 device, quint64 inode);

    // Records a folder that could not be read (vanished, no permission,
    // path too long); each folder once, in the order met.
    void unreadable(const QByteArray &folder);
    const QList<QByteArray> &unreadableFolders() const { return m_unreadable; }

private:
    core::Yield m_yield;
    bool m_stopped = false;
    std::set<std::pair<quint64, quint64>> m_visited;
    QSet<QByteArray> m_unreadableSeen;
    QList<QByteArray> m_unreadable;
};

// `folder` with exactly one '/' at its end ("/" stays "/").
QByteArray folderPath(const QByteArray &folder);

// Extends `folders` in place with the folders below them, breadth-first:
// first every folder one level down (each folder's subfolders in name
// order, the folders taken in list order), then, when `descend` is true,
// every deeper level in turn. Hidden folders (names beginning with ".") are
// not entered; links to folders are followed, but a folder already taken is
// not taken again. The kernel's pseudo file systems (proc, sysfs and the
// like) are not entered unless the walk starts on one, and a walk that does
// keeps to that one. Folders that cannot be read are skipped and recorded in
// `walk`. The walk yields while it reads, at least once for every name a
// folder holds; it returns false, with `folders` unchanged, as soon as the
// yield says stop.
bool CollectSubFolders(QList<QByteArray> &folders, bool descend, FolderWalk &walk);

// The names of the files in `folder` (with or without its final '/') that
// match `pattern`, hidden ones included, in a stable case-insensitive
// order. Folders are never listed, even when their names match, and
// neither are links that lead nowhere. Nothing when the folder cannot be
// read.
std::optional<QList<QByteArray>> ListFolderFiles(const QByteArray &folder, const NamePattern &pattern);

// `folder` as the user knows it: text, without its final '/' (but "/").
QString displayFolder(const QByteArray &folder);

} // namespace sources
