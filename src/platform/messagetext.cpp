#include "messagetext.h"

namespace platform {

QString shortenMiddle(const QString &text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    const QChar ellipsis(0x2026);
    qsizetype head = (length - 1) / 2;
    qsizetype tailStart = text.size() - (length - 1 - head);
    if (head > 0 && text.at(head - 1).isHighSurrogate())
        --head;
    if (tailStart < text.size() && text.at(tailStart).isLowSurrogate())
        ++tailStart;
    return text.left(head) + ellipsis + text.mid(tailStart);
}

QString namedList(const QStringList &lines)
{
    QStringList named = lines.mid(0, NamedInMessage);
    if (lines.size() > NamedInMessage)
        named << u"... and " + QString::number(lines.size() - NamedInMessage) + u" more.";
    return named.join(u'\n');
}

QString entryCount(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 entry") : QString::number(count) + u" entries";
}

QString oneLine(QString text)
{
    // All controls lie in the first range of UTF-16 units, so no surrogate
    // pair is ever touched.
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return text;
}

QString quotedReason(const QString &reason)
{
    QString quoted = reason.trimmed();
    while (quoted.endsWith(u'.') && !quoted.endsWith(u"..."))
        quoted.chop(1);
    return quoted;
}

} // namespace platform
