// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfile.h"

#include "core/entryaddress.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace sources {

namespace {

ListFileText failed(QString why)
{
    return {QString(), std::move(why)};
}

// The decoder drops a byte-order mark at the start; a second one is content.
QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding);
    return decoder(bytes);
}

bool isWide(QStringConverter::Encoding encoding)
{
    return encoding != QStringConverter::Utf8;
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes it
// leaves undefined map to the C1 controls of the same value, as the Windows
// converter does; RemoveSpace turns those into spaces.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString fromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = (code >= 0x80 && code < 0xA0) ? Cp1252High[code - 0x80] : char16_t(code);
    }
    return text;
}

// The text of a list file's bytes; nothing when they are not text.
std::optional<QString> decodeListText(QByteArrayView bytes)
{
    // Only a mark counts: the UTF-32 and UTF-16 marks in either byte order
    // (UTF-32 LE before UTF-16 LE, whose mark it starts with), and UTF-8's.
    const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes);
    if (marked && isWide(*marked))
        return decodeWith(*marked, bytes);
    // Outside the wide encodings a NUL byte means a program, an image or
    // an archive; its "tokens" would flood the list with garbage.
    if (bytes.contains('\0'))
        return std::nullopt;
    if (marked || bytes.isValidUtf8())
        return decodeWith(QStringConverter::Utf8, bytes);
    return fromWindows1252(bytes);
}

constexpr std::array<bool, 128> makeAsciiKeepSet()
{
    std::array<bool, 128> keep{};
    for (char c = 'A'; c <= 'Z'; ++c)
        keep[c] = true;
    for (char c = 'a'; c <= 'z'; ++c)
        keep[c] = true;
    for (char c = '0'; c <= '9'; ++c)
        keep[c] = true;
    // Unreserved, then reserved (general and sub-delimiters), then the
    // escape sign and the separator of Windows paths.
    for (const char c : std::string_view("-._~" ":/?#[]@" "!$&'()*+,;=" "%\\"))
        keep[static_cast<unsigned char>(c)] = true;
    return keep;
}

constexpr std::array<bool, 128> AsciiKeepSet = makeAsciiKeepSet();

bool keeps(char16_t c)
{
    if (c < 0x80)
        return AsciiKeepSet[c];
    // C1 controls are control characters like their ASCII cousins. A mark
    // U+FEFF inside the text comes from lists joined end to end; left in, it
    // would glue itself invisibly to the next address.
    return c > 0x9F && c != 0xFEFF;
}

// The signs no address holds as they are. In a list they either enclose
// addresses ("...", <...>) or stand inside one, which the engine escapes
// when it loads it.
bool isSign(char16_t c)
{
    return c == u'"' || c == u'<' || c == u'>' || c == u'{' || c == u'}' || c == u'|' || c == u'^' || c == u'`';
}

bool holdsSign(QStringView word)
{
    return std::any_of(word.begin(), word.end(), [](QChar c) { return isSign(c.unicode()); });
}

// Whether `word` is a run of enclosed addresses, as "a","b" or <a><b>: it
// opens with a mark, every mark is closed by its partner, and no sign stands
// inside another pair or outside all of them.
bool isEnclosedRun(QStringView word)
{
    if (!word.startsWith(u'"') && !word.startsWith(u'<'))
        return false;
    char16_t closing = 0;  // the mark that closes the pair we are in; 0 outside
    for (const QChar character : word) {
        const char16_t c = character.unicode();
        if (!isSign(c))
            continue;
        if (closing == 0 && (c == u'"' || c == u'<'))
            closing = c == u'"' ? u'"' : u'>';
        else if (closing != 0 && c == closing)
            closing = 0;
        else
            return false;
    }
    return closing == 0;
}

// `word` without one pair of marks that encloses it whole.
QStringView withoutEnclosingPair(QStringView word)
{
    const bool quoted = word.size() >= 2 && word.startsWith(u'"') && word.endsWith(u'"');
    const bool bracketed = word.size() >= 2 && word.startsWith(u'<') && word.endsWith(u'>');
    return quoted || bracketed ? word.sliced(1, word.size() - 2) : word;
}

// Hands the tokens of one word (a run without separators) to `take`; false
// once `take` said stop. Enclosed addresses are taken out of their marks;
// any other word is one address, signs and all: cut at a sign, it would
// name some other page.
template <typename Take>
bool takeWord(QStringView word, Take take)
{
    if (!holdsSign(word))
        return take(word);
    if (!isEnclosedRun(word)) {
        const QStringView address = withoutEnclosingPair(word);
        return address.isEmpty() || take(address);
    }
    for (const QStringView part : word.tokenize(u'"')) {
        for (const QStringView piece : part.tokenize(u'<')) {
            for (const QStringView token : piece.tokenize(u'>', Qt::SkipEmptyParts)) {
                if (!take(token))
                    return false;
            }
        }
    }
    return true;
}

// Whether `c` separates tokens, given the character before it. Called once
// per character of lists of many megabytes, hence the early answer for the
// characters above the space, which are nearly all of them.
inline bool breaksAt(char16_t c, char16_t previous)
{
    if (c > u' ')
        return false;
    return c == u' ' || c == u'\t' || c == u'\r' || (c == u'\n' && previous == u'\r');
}

// Hands each maximal non-empty run of `text` without a separator to `take`,
// in text order, until `take` returns false. `breaks(c, previous)` says
// whether `c` separates, given the character before it.
template <typename Breaks, typename Take>
void cutWords(const QString &text, Breaks breaks, Take take)
{
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = begin + text.size();
    const auto word = [](const char16_t *from, const char16_t *to) {
        return QStringView(from, to - from);
    };
    const char16_t *token = nullptr;
    char16_t previous = 0;
    for (const char16_t *c = begin; c != end; ++c) {
        const bool separates = breaks(*c, previous);
        previous = *c;
        if (separates && token) {
            if (!take(word(token, c)))
                return;
            token = nullptr;
        } else if (!separates && !token) {
            token = c;
        }
    }
    if (token)
        take(word(token, end));
}

} // namespace

ListFileText ReadWholeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failed(QCoreApplication::translate("sources", "not found"));
    // Folders, pipes and devices are refused: a pipe or a device could be
    // read without end.
    if (!info.isFile())
        return failed(QCoreApplication::translate("sources", "not a file"));
    if (info.size() > MaxListFileBytes)
        return failed(QCoreApplication::translate("sources", "too large for a list file"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(QCoreApplication::translate("sources", "cannot be read: %1").arg(file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(QCoreApplication::translate("sources", "cannot be read: %1").arg(file.errorString()));
    file.close();

    std::optional<QString> text = decodeListText(bytes);
    if (!text)
        return failed(QCoreApplication::translate("sources", "not a text file"));
    return {std::move(*text), QString()};
}

QString &RemoveSpace(QString &text)
{
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *const end = begin + text.size();
    for (char16_t *c = begin; c != end; ++c) {
        if (!keeps(*c))
            *c = u' ';
    }
    return text;
}

QStringList ExtractWords(const QString &text)
{
    QStringList words;
    cutWords(text, breaksAt, [&words](QStringView word) {
        words.append(word.toString());
        return true;
    });
    return words;
}

bool isWholeToken(QStringView text)
{
    if (text.isEmpty() || text.startsWith(u'"') || text.startsWith(u'<'))
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return keeps(c.unicode()) || isSign(c.unicode()); });
}

QString listEntry(const QString &token)
{
    if (!token.startsWith(u"file:", Qt::CaseInsensitive))
        return token;
    const QUrl url(token);
    if (!url.isValid() || !url.isLocalFile() || !url.host().isEmpty() || url.hasQuery() || url.hasFragment()
        || !url.path().startsWith(u'/'))
        return token;
    QString entry = core::entryTextForUrl(url);
    return isWholeToken(entry) ? token : entry;
}

QStringList LoadTextFile(const QString &text, const core::Yield &yield)
{
    // One pass over a text of many megabytes: every character that is not
    // kept and is no sign separates.
    const auto separates = [](char16_t c, char16_t) { return !keeps(c) && !isSign(c); };
    // The window gets its turns while the tokens are cut, one yield before
    // each token is taken; a yield that says stop ends the cut there.
    QStringList tokens;
    const auto take = [&tokens, &yield](QStringView token) {
        if (yield && !yield())
            return false;
        tokens.append(token.toString());
        return true;
    };
    cutWords(text, separates, [&take](QStringView word) { return takeWord(word, take); });
    return tokens;
}

} // namespace sources
