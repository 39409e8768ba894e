#include "entryaddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {

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

EntryAddress addressOf(const QString &entry)
{
    if (QDir::isAbsolutePath(entry) && !entry.contains(u"://"))
        return {QUrl::fromLocalFile(entry), QFile::encodeName(entry)};
    const QUrl url = QUrl::fromUserInput(entry);
    if (!url.isLocalFile())
        return {url, {}};
    return {url, QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())};
}

QString documentName(const QString &entry)
{
    const EntryAddress address = addressOf(entry);
    if (!address.localName.isEmpty())
        return QFileInfo(QFile::decodeName(address.localName)).fileName();
    const QString name = address.url.fileName();
    return name.isEmpty() ? address.url.host() : name;
}

} // namespace platform
