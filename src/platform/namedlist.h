#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Messages about what could not be done name the first twenty things and
// count the rest, so that a run over thousands still fits on the screen.
constexpr qsizetype NamedInMessage = 20;

// One line per name, then "... and N more." when there were more.
inline QString namedList(const QStringList &names)
{
    QStringList lines = names.mid(0, NamedInMessage);
    if (names.size() > NamedInMessage)
        lines << u"... and " + QString::number(names.size() - NamedInMessage) + u" more.";
    return lines.join(u'\n');
}

} // namespace platform
