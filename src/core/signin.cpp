// SPDX-License-Identifier: GPL-3.0-or-later
#include "signin.h"
#include "reasontext.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace core {

namespace {

// Far beyond any browser's export; a file past it is not a cookies file, and
// reading it whole would only cost memory.
constexpr qint64 MaxCookieFileBytes = 64 * 1024 * 1024;
constexpr qint64 MaxCookieLineBytes = 64 * 1024;
constexpr qint64 MaxNetrcBytes = 1024 * 1024;

bool isTrueFalse(const QByteArray &field)
{
    return field == "TRUE" || field == "FALSE";
}

// A cookie's name or value travels in a Cookie header: no separators of the
// header, no control bytes.
bool fitsAHeader(const QByteArray &bytes)
{
    return std::none_of(bytes.cbegin(), bytes.cend(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f || c == ';';
    });
}

// The cookie a line holds, or nothing when it holds none.
std::optional<CookieLine> cookieIn(QByteArray line)
{
    CookieLine cookie;
    static constexpr QByteArrayView HttpOnly = "#HttpOnly_";
    if (line.startsWith(HttpOnly)) {
        cookie.httpOnly = true;
        line.remove(0, HttpOnly.size());
    }
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 7 || !isTrueFalse(fields[1]) || !isTrueFalse(fields[3]) || !fields[2].startsWith('/'))
        return std::nullopt;
    bool ok = false;
    cookie.expires = fields[4].toLongLong(&ok);
    if (!ok || cookie.expires < 0)
        return std::nullopt;
    const QString domain = QString::fromUtf8(fields[0]);
    static const QRegularExpression hostName(QStringLiteral("^\\.?[A-Za-z0-9_-]+(\\.[A-Za-z0-9_-]+)*\\.?$"));
    if (!hostName.match(domain).hasMatch() || fields[5].isEmpty() || !fitsAHeader(fields[5]) || !fitsAHeader(fields[6])
        || !fitsAHeader(fields[2]))
        return std::nullopt;
    cookie.includeSubdomains = fields[1] == "TRUE" || domain.startsWith(u'.');
    cookie.domain = domain.startsWith(u'.') ? domain.mid(1) : domain;
    cookie.path = QString::fromUtf8(fields[2]);
    cookie.secure = fields[3] == "TRUE";
    cookie.name = fields[5];
    cookie.value = fields[6];
    return cookie;
}

bool isComment(const QByteArray &line)
{
    return line.startsWith('#') && !line.startsWith("#HttpOnly_");
}

QString lineProblem(const char *text, qint64 number, const QString &path)
{
    return QCoreApplication::translate("SignIn", text).arg(number).arg(path);
}

} // namespace

CookieFile readCookieFile(const QString &path, qint64 now)
{
    CookieFile result;
    QFile file(path);
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.error = QCoreApplication::translate("SignIn", "the cookies file %1 is not a regular file").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QCoreApplication::translate("SignIn", "the cookies file %1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > MaxCookieFileBytes) {
        result.error = QCoreApplication::translate("SignIn", "the cookies file %1 is too large to be a cookies file").arg(path);
        return result;
    }
    for (qint64 number = 1; !file.atEnd(); ++number) {
        QByteArray line = file.readLine(MaxCookieLineBytes);
        if (!line.endsWith('\n') && !file.atEnd()) {
            return {{}, lineProblem(QT_TRANSLATE_NOOP("SignIn", "line %1 of the cookies file %2 is too long to be a cookie"), number, path)};
        }
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || isComment(line))
            continue;
        const std::optional<CookieLine> cookie = cookieIn(line);
        if (!cookie) {
            return {{}, lineProblem(QT_TRANSLATE_NOOP("SignIn", "line %1 of the cookies file %2 is not a cookie"), number, path)};
        }
        if (cookie->expires == 0 || cookie->expires > now)
            result.cookies << *cookie;
    }
    return result;
}

namespace {

// The tokens of a netrc file, each with the line it starts on.
struct NetrcToken {
    QString text;
    int line = 0;
};

class NetrcReader {
public:
    explicit NetrcReader(const QByteArray &bytes)
        : m_bytes(bytes)
    {
    }

    std::optional<NetrcToken> next()
    {
        skipBlanks();
        if (m_at >= m_bytes.size())
            return std::nullopt;
        NetrcToken token{{}, m_line};
        QByteArray text;
        if (m_bytes[m_at] == '"') {
            for (++m_at; m_at < m_bytes.size() && m_bytes[m_at] != '"'; ++m_at) {
                if (m_bytes[m_at] == '\\' && m_at + 1 < m_bytes.size())
                    ++m_at;
                text += m_bytes[m_at];
            }
            ++m_at;
        } else {
            while (m_at < m_bytes.size() && !isBlank(m_bytes[m_at]))
                text += m_bytes[m_at++];
        }
        token.text = QString::fromUtf8(text);
        return token;
    }

    // A macro's definition runs to the next empty line.
    void skipMacro()
    {
        const qsizetype end = m_bytes.indexOf("\n\n", m_at);
        const qsizetype stop = end < 0 ? m_bytes.size() : end + 2;
        m_line += int(QByteArrayView(m_bytes).sliced(m_at, stop - m_at).count('\n'));
        m_at = stop;
    }

private:
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
    void skipBlanks()
    {
        while (m_at < m_bytes.size() && isBlank(m_bytes[m_at])) {
            if (m_bytes[m_at] == '\n')
                ++m_line;
            ++m_at;
        }
    }

    QByteArray m_bytes;
    qsizetype m_at = 0;
    int m_line = 1;
};

bool hasControlBytes(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

} // namespace

NetrcFile readNetrc(const QString &path)
{
    NetrcFile result;
    QFile file(path);
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile()) {
        result.error = QCoreApplication::translate("SignIn", "the netrc file %1 is not a regular file").arg(path);
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = QCoreApplication::translate("SignIn", "the netrc file %1 cannot be read: %2").arg(path, file.errorString());
        return result;
    }
    if (file.size() > MaxNetrcBytes) {
        result.error = QCoreApplication::translate("SignIn", "the netrc file %1 is too large to be a netrc file").arg(path);
        return result;
    }
    result.readableByOthers = file.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther);
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0')) {
        result.error = QCoreApplication::translate("SignIn", "the netrc file %1 is not text").arg(path);
        return result;
    }
    NetrcReader reader(bytes);
    NetrcEntry *current = nullptr;
    while (const std::optional<NetrcToken> token = reader.next()) {
        const QString &keyword = token->text;
        if (keyword == u"default") {
            result.entries.append(NetrcEntry());
            current = &result.entries.last();
            continue;
        }
        if (keyword == u"macdef") {
            reader.next();
            reader.skipMacro();
            continue;
        }
        static const std::array<QStringView, 4> valued{u"machine", u"login", u"password", u"account"};
        if (std::find(valued.cbegin(), valued.cend(), QStringView(keyword)) == valued.cend()) {
            result.error = lineProblem(QT_TRANSLATE_NOOP("SignIn", "line %1 of the netrc file %2 holds a word netrc files do not know"), token->line, path);
            return result;
        }
        const std::optional<NetrcToken> value = reader.next();
        if (!value || value->text.isEmpty() || hasControlBytes(value->text)) {
            result.error = lineProblem(QT_TRANSLATE_NOOP("SignIn", "line %1 of the netrc file %2 names no value after a keyword"), token->line, path);
            return result;
        }
        if (keyword == u"machine") {
            result.entries.append(NetrcEntry{value->text, {}, {}});
            current = &result.entries.last();
        } else if (!current) {
            result.error = lineProblem(QT_TRANSLATE_NOOP("SignIn", "line %1 of the netrc file %2 names a login or password before any machine"),
                                       token->line, path);
            return result;
        } else if (keyword == u"login") {
            current->login = value->text;
        } else if (keyword == u"password") {
            current->password = value->text;
        }
    }
    return result;
}

std::optional<NetrcEntry> netrcEntryFor(const QList<NetrcEntry> &entries, const QString &host)
{
    if (host.isEmpty())
        return std::nullopt;
    const auto usable = [](const NetrcEntry &entry) { return !entry.login.isEmpty() || !entry.password.isEmpty(); };
    for (const NetrcEntry &entry : entries) {
        if (!entry.machine.isEmpty() && entry.machine.compare(host, Qt::CaseInsensitive) == 0)
            return usable(entry) ? std::optional(entry) : std::nullopt;
    }
    for (const NetrcEntry &entry : entries) {
        if (entry.machine.isEmpty())
            return usable(entry) ? std::optional(entry) : std::nullopt;
    }
    return std::nullopt;
}

namespace {

// Headers that belong to one connection, or that the engine must set itself:
// one given here would break the request or the connection it travels on.
bool reservedHeader(const QByteArray &name)
{
    static const std::array<QByteArrayView, 10> reserved{"host", "content-length", "connection", "keep-alive",
                                                         "proxy-authenticate", "proxy-authorization", "proxy-connection",
                                                         "te", "trailer", "transfer-encoding"};
    const QByteArray lower = name.toLower();
    return lower == "upgrade" || std::find(reserved.cbegin(), reserved.cend(), QByteArrayView(lower)) != reserved.cend();
}

bool isToken(const QByteArray &name)
{
    static const QRegularExpression token(QStringLiteral("^[!#$%&'*+.^_`|~0-9A-Za-z-]+$"));
    return token.match(QString::fromLatin1(name)).hasMatch();
}

} // namespace

ParsedHeader parseHeader(const QString &text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0)
        return {std::nullopt, QCoreApplication::translate("SignIn", "--header wants \"Name: value\"")};
    const QByteArray name = text.left(colon).trimmed().toUtf8();
    const QString value = text.mid(colon + 1).trimmed();
    if (!isToken(name))
        return {std::nullopt, QCoreApplication::translate("SignIn", "--header wants a header name of letters, digits and -, not %1").arg(text.left(colon))};
    if (reservedHeader(name))
        return {std::nullopt, QCoreApplication::translate("SignIn", "--header cannot set %1: the browser engine sets it for each connection")
                                  .arg(QString::fromLatin1(name))};
    const bool printable = std::all_of(value.cbegin(), value.cend(), [](QChar c) {
        return c == u'\t' || (c.unicode() >= 0x20 && c.unicode() < 0x7f);
    });
    if (value.isEmpty() || !printable)
        return {std::nullopt, QCoreApplication::translate("SignIn", "--header %1 wants a value of printable ASCII on one line").arg(QString::fromLatin1(name))};
    return {ExtraHeader{name, value.toLatin1()}, {}};
}

QString signInRefused()
{
    return core::reasonText(QT_TRANSLATE_NOOP("Reason", "sign-in refused"));
}

QString withoutUserInfo(const QString &address)
{
    static const QRegularExpression userInfo(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*://)[^/?#]*@"));
    QString text = address;
    return text.replace(userInfo, QStringLiteral("\\1"));
}

} // namespace core
