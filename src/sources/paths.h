// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The two rules every action follows where a path meets a separator: a
// folder and a name are joined with exactly one separator, and a folder is
// named without the separators at its end (a root keeps its own). Each rule
// is written once and serves both forms a path takes here: text (QString),
// as dialogs give it, and bytes (QByteArray), as the file system holds it.
namespace sources {

#ifdef Q_OS_WIN
inline constexpr char16_t NativeSeparator = u'\\';
#else
inline constexpr char16_t NativeSeparator = u'/';
#endif

namespace pathdetail {

inline char16_t unit(QChar c) { return c.unicode(); }
inline char16_t unit(char c) { return static_cast<unsigned char>(c); }

inline QString separator(const QString &) { return QString(QChar(NativeSeparator)); }
inline QByteArray separator(const QByteArray &) { return QByteArray(1, char(NativeSeparator)); }

} // namespace pathdetail

// '/' separates everywhere, and so does the platform's own separator. A
// backslash is an ordinary character of a name where it is not the
// platform's separator.
constexpr bool isPathSeparator(char16_t c) { return c == u'/' || c == NativeSeparator; }

// Whether the first `length` units of `path` are a root whose separator is
// part of its name: "/", and on Windows a drive root such as "C:\".
template <typename Path>
bool isRootPath(const Path &path, qsizetype length)
{
    using pathdetail::unit;
    if (length == 1)
        return isPathSeparator(unit(path.at(0)));
#ifdef Q_OS_WIN
    if (length == 3) {
        const char16_t drive = unit(path.at(0));
        return ((drive >= u'A' && drive <= u'Z') || (drive >= u'a' && drive <= u'z')) && unit(path.at(1)) == u':'
            && isPathSeparator(unit(path.at(2)));
    }
#endif
    return false;
}

// `path` without the separators at its end; a root keeps its one ("/" stays
// "/", "//" becomes "/"). Nothing else in the path changes.
template <typename Path>
Path trimTrailingSeparators(Path path)
{
    qsizetype end = path.size();
    while (end > 1 && isPathSeparator(pathdetail::unit(path.at(end - 1))) && !isRootPath(path, end))
        --end;
    path.truncate(end);
    return path;
}

// Joins a folder and a name with exactly one separator between them. A
// folder that already ends in one (a root such as "/" or "C:\", or a folder
// given with its separator) gets none added; nothing else in either part is
// changed.
template <typename Path>
Path joinPath(const Path &folder, const Path &name)
{
    if (!folder.isEmpty() && isPathSeparator(pathdetail::unit(folder.back())))
        return folder + name;
    return folder + pathdetail::separator(folder) + name;
}

} // namespace sources
