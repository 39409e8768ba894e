// SPDX-License-Identifier: GPL-3.0-or-later
#include "jobtitle.h"

#include "messagetext.h"
#include "signin.h"

namespace core {

QByteArray jobTitle(const QString &text)
{
    // A print server shows job names to everyone who asks it.
    QByteArray title = oneLine(withoutUserInfo(text)).toUtf8();
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

} // namespace core
