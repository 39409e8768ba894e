// SPDX-License-Identifier: GPL-3.0-or-later
#include "reasontext.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <optional>

namespace core {

namespace {

constexpr char Context[] = "Reason";

// The translation of `english`, or nothing when the translations lack it.
std::optional<QString> lookUp(const QString &english)
{
    const QByteArray key = english.toUtf8();
    const QString translated = QCoreApplication::translate(Context, key.constData());
    if (translated == english)
        return std::nullopt;
    return translated;
}

// "3 requests still open" as "%1 requests still open" with 3.
std::optional<QString> withNumber(const QString &reason)
{
    static const QRegularExpression number(QStringLiteral("\\d+(?:\\.\\d+)?"));
    const QRegularExpressionMatch match = number.match(reason);
    if (!match.hasMatch())
        return std::nullopt;
    QString pattern = reason;
    pattern.replace(match.capturedStart(), match.capturedLength(), QStringLiteral("%1"));
    const std::optional<QString> translated = lookUp(pattern);
    if (!translated)
        return std::nullopt;
    return translated->arg(match.captured());
}

// A known reason with another after it: "BEGINNING (REST)" first, since a
// beginning may itself hold a colon, then "BEGINNING: REST". The rest is
// worded on its own.
std::optional<QString> withRest(const QString &reason)
{
    const qsizetype bracket = reason.lastIndexOf(u" (");
    if (bracket > 0 && reason.endsWith(u')')) {
        const QString rest = reason.mid(bracket + 2, reason.size() - bracket - 3);
        if (const std::optional<QString> translated = lookUp(reason.left(bracket) + u" (%1)"))
            return translated->arg(shownReason(rest));
    }
    const qsizetype colon = reason.indexOf(u": ");
    if (colon > 0) {
        if (const std::optional<QString> translated = lookUp(reason.left(colon) + u": %1"))
            return translated->arg(shownReason(reason.mid(colon + 2)));
    }
    return std::nullopt;
}

// "no page of it is in the range 40-50" as "no page of it is in the range
// %1" with its last word.
std::optional<QString> withLastWord(const QString &reason)
{
    const qsizetype space = reason.lastIndexOf(u' ');
    if (space <= 0)
        return std::nullopt;
    const std::optional<QString> translated = lookUp(reason.left(space) + u" %1");
    if (!translated)
        return std::nullopt;
    return translated->arg(reason.mid(space + 1));
}

// 'the element "#rows" never appeared' as 'the element "%1" never appeared'
// with what stands between the first pair of quotes: a name the user gave.
std::optional<QString> withQuoted(const QString &reason)
{
    const qsizetype open = reason.indexOf(u'"');
    const qsizetype close = open < 0 ? -1 : reason.indexOf(u'"', open + 1);
    if (close < 0)
        return std::nullopt;
    const std::optional<QString> translated = lookUp(reason.left(open + 1) + u"%1" + reason.mid(close));
    if (!translated)
        return std::nullopt;
    return translated->arg(reason.mid(open + 1, close - open - 1));
}

} // namespace

QString shownReason(const QString &reason)
{
    if (reason.isEmpty())
        return reason;
    if (std::optional<QString> translated = lookUp(reason))
        return *translated;
    if (std::optional<QString> translated = withQuoted(reason))
        return *translated;
    if (std::optional<QString> translated = withNumber(reason))
        return *translated;
    if (std::optional<QString> translated = withRest(reason))
        return *translated;
    if (std::optional<QString> translated = withLastWord(reason))
        return *translated;
    return reason;
}

} // namespace core
