#include "jobtitle.h"

namespace platform {

namespace {

// C0 and C1 controls and DEL; all of them lie in the first UTF-16 unit range,
// so no surrogate pair is ever touched.
bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F); }

QString withoutControls(QString text)
{
    for (QChar &c : text) {
        if (isControl(c))
            c = u' ';
    }
    return text;
}

} // namespace

QByteArray jobTitle(const QString &text)
{
    QByteArray title = withoutControls(text).toUtf8();
    if (title.trimmed().isEmpty())
        return QByteArrayLiteral("Tavimark document");
    if (title.size() <= MaxJobTitleBytes)
        return title;
    const QByteArray ellipsis = QStringLiteral("\u2026").toUtf8();
    qsizetype start = title.size() - (MaxJobTitleBytes - ellipsis.size());
    while (start < title.size() && (uchar(title.at(start)) & 0xC0) == 0x80)
        ++start;
    return ellipsis + title.mid(start);
}

} // namespace platform
