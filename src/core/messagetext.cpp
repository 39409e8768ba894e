// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagetext.h"

#include <QCoreApplication>

namespace core {

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
        named << QCoreApplication::translate("core", "... and %n more.", nullptr, int(lines.size() - NamedInMessage));
    return named.join(u'\n');
}

QString entryCount(qsizetype count)
{
    // The English words are the sources' own, so they hold with no
    // translation loaded; one is counted apart for that reason.
    return count == 1 ? QCoreApplication::translate("core", "1 entry")
                      : QCoreApplication::translate("core", "%n entries", nullptr, int(count));
}

namespace {

// The marks that turn the direction of text: embeddings and overrides,
// isolates, and the single marks. In a name they can make a line show its
// parts in another order than they have, so a line for people or scripts
// takes them no more than a line break.
bool turnsDirection(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

} // namespace

QString oneLine(QString text)
{
    // All of these lie in the first range of UTF-16 units, so no surrogate
    // pair is ever touched.
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control || turnsDirection(c.unicode()))
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

} // namespace core
