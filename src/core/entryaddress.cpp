// SPDX-License-Identifier: GPL-3.0-or-later
#include "entryaddress.h"
#include "reasontext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUtf8StringView>

namespace core {

QString entryText(const QByteArray &path)
{
    QString text = QFile::decodeName(path);
    if (QFile::encodeName(text) == path)
        return text;
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/")).toString();
}

QString entryTextForUrl(const QUrl &localFile)
{
    return entryText(QByteArray::fromPercentEncoding(localFile.path(QUrl::FullyEncoded).toLatin1()));
}

namespace {

// How many bytes the valid UTF-8 sequence at the start of `bytes` takes; 0
// when none starts there (a stray or cut sequence, an overlong form, an
// encoded surrogate, a code point past U+10FFFF).
qsizetype utf8SequenceLength(QByteArrayView bytes)
{
    for (qsizetype length = 1; length <= 4 && length <= bytes.size(); ++length) {
        if (QUtf8StringView(bytes.first(length)).isValidUtf8())
            return length;
    }
    return 0;
}

} // namespace

QString addressText(QByteArrayView bytes)
{
    if (QUtf8StringView(bytes).isValidUtf8())
        return QString::fromUtf8(bytes);
    QByteArray kept;
    kept.reserve(bytes.size() * 3);
    while (!bytes.isEmpty()) {
        const qsizetype length = utf8SequenceLength(bytes);
        if (length > 0) {
            kept += bytes.first(length);
            bytes = bytes.sliced(length);
            continue;
        }
        kept += '%' + QByteArray::number(static_cast<unsigned char>(bytes.front()), 16).toUpper().rightJustified(2, '0');
        bytes = bytes.sliced(1);
    }
    return QString::fromUtf8(kept);
}

EntryAddress addressOf(const QString &entry)
{
    if (QDir::isAbsolutePath(entry) && !entry.contains(u"://"))
        return {QUrl::fromLocalFile(entry), QFile::encodeName(entry)};
    const QUrl url = QUrl::fromUserInput(entry);
    if (!url.isLocalFile())
        return {url, {}};
    return {url, QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())};
}

namespace {

// The engine drops longer addresses without a word.
constexpr qsizetype MaxAddressLength = 2 * 1024 * 1024;

bool holdsEscapedNul(QStringView text)
{
    return text.contains(u"%00");
}

// The common entries, a local path or a web address, pass without a parse:
// a list of a million addresses is checked as it is read.
bool plainlyADocument(QStringView entry)
{
    if (entry.size() > MaxAddressLength || holdsEscapedNul(entry))
        return false;
    if (entry.startsWith(u'/'))
        return true;
    return entry.startsWith(u"http://", Qt::CaseInsensitive) || entry.startsWith(u"https://", Qt::CaseInsensitive);
}

bool isDocumentScheme(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (scheme == u"http" || scheme == u"https" || scheme == u"file" || scheme == u"data")
        return true;
    return scheme == u"about" && url.path() == u"blank";
}

} // namespace

QString documentAddressProblem(const QString &entry)
{
    if (entry.contains(QChar(0)))
        return core::reasonText(
            QT_TRANSLATE_NOOP("Reason", "the address holds a NUL character, which no document's address can"));
    if (plainlyADocument(entry))
        return {};
    const EntryAddress address = addressOf(entry);
    if (!address.url.isValid() || address.url.isEmpty())
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "not a valid address"));
    if (!isDocumentScheme(address.url))
        return NotADocumentAddress;
    const QByteArray encoded = address.url.toEncoded();
    if (encoded.size() > MaxAddressLength)
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the address is too long to load"));
    // A NUL spelled %00 never reaches a server or a file system either.
    if (address.url.scheme() != u"data" && holdsEscapedNul(QString::fromLatin1(encoded)))
        return core::reasonText(
            QT_TRANSLATE_NOOP("Reason", "the address holds a NUL character (%00), which no document's address can"));
    return {};
}

QString documentName(const QString &entry)
{
    const EntryAddress address = addressOf(entry);
    if (!address.localName.isEmpty())
        return QFileInfo(QFile::decodeName(address.localName)).fileName();
    const QString name = address.url.fileName();
    return name.isEmpty() ? address.url.host() : name;
}

} // namespace core
