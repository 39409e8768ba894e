// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <QUrl>

#include <functional>
#include <optional>

// What lets pages behind a sign-in print as the signed-in user sees them:
// cookies from a browser's export, a netrc file's user names and passwords,
// headers a proxy would add, and a profile folder that keeps what a site set.
// These are secrets: nothing here is ever written to a report, a journal or
// a page; messages name the file and the line, never what it holds.
namespace core {

// One cookie of a cookies.txt file, as browsers export it.
struct CookieLine {
    QString domain;          // without the leading dot
    bool includeSubdomains = false;
    QString path;
    bool secure = false;
    bool httpOnly = false;
    qint64 expires = 0;      // seconds since 1970; 0 for a cookie of the session
    QByteArray name;
    QByteArray value;
};

// A file's cookies, or why it cannot be read; expired cookies are left out.
struct CookieFile {
    QList<CookieLine> cookies;
    QString error;  // empty when the file was read whole
};

// Reads FILE in the cookies.txt format: seven fields a line separated by
// tabs, "#HttpOnly_" before the domain of a cookie scripts may not read,
// other lines beginning with "#" and blank lines ignored. A line that is not
// a cookie (binary bytes, missing fields) stops the reading with its number,
// since a file that is only partly understood would sign in as someone else
// or not at all without saying so. `now` is the time expiry is judged at.
CookieFile readCookieFile(const QString &path, qint64 now);

// One machine of a netrc file; an empty `machine` is the "default" entry.
struct NetrcEntry {
    QString machine;
    QString login;
    QString password;
};

struct NetrcFile {
    QList<NetrcEntry> entries;
    QString error;  // empty when it was read
    bool readableByOthers = false;
};

// Reads a netrc file as its readers do: tokens separated by blanks and line ends,
// "machine NAME", "default", "login", "password" and "account" each followed
// by a value, a "macdef" skipped to the next empty line, a value in double
// quotes, a backslash in it taking the next character as it is.
NetrcFile readNetrc(const QString &path);

// The entry for `host`: its own machine, else the default; nothing when
// neither names a login or a password.
std::optional<NetrcEntry> netrcEntryFor(const QList<NetrcEntry> &entries, const QString &host);

// A header given as "Name: value".
struct ExtraHeader {
    QByteArray name;
    QByteArray value;
};

// The header `text` names, or why it cannot be sent (in words for the
// user, naming the header but never its value).
struct ParsedHeader {
    std::optional<ExtraHeader> header;
    QString error;
};
ParsedHeader parseHeader(const QString &text);

// A user name and password for one site's sign-in.
struct Credentials {
    QString user;
    QString password;
};

// What the user, or a file, answers a site that asks for a user name and
// password: credentials, or nothing; `refused` when the user said no, so
// that the entry fails with that reason and not as the server's refusal.
struct SignInAnswer {
    std::optional<Credentials> credentials;
    bool refused = false;
    // The user is being asked about this site right now, for another page:
    // this one tries again once the answer is in.
    bool pending = false;
};
// Asked with the page's address and the realm the server names.
using SignInAsker = std::function<SignInAnswer(const QUrl &url, const QString &realm)>;

// What an entry fails with when the user turned the site's sign-in down.
QString signInRefused();

// Everything a run signs in with.
struct SignIn {
    QList<CookieLine> cookies;
    QList<ExtraHeader> headers;
    // The hosts the headers go to: those of the list's own entries. Nothing
    // else a page loads (a third party's script, a picture from elsewhere)
    // sees them.
    QSet<QString> headerHosts;
    QList<NetrcEntry> netrc;
    // Who answers a site's request for a password; without one, the netrc
    // entries for the site's host do, and nothing else.
    SignInAsker ask;
    // A folder that keeps the engine's profile (cookies, storage) from one
    // run to the next; empty for a profile that keeps nothing.
    QString profileFolder;
};

// The text of `address` with its user name and password taken out, for
// anything a person or a file gets to see.
QString withoutUserInfo(const QString &address);

} // namespace core
