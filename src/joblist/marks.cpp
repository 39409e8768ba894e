// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks.h"

#include "core/reasontext.h"

#include <QCoreApplication>

namespace joblist {

namespace {

QString words(const char *text)
{
    return QCoreApplication::translate("joblist::Marks", text);
}

// "Outcome: reason", or the outcome alone when there is no reason.
QString withReason(const char *outcome, const char *outcomeWithReason, const QString &reason)
{
    return reason.isEmpty() ? words(outcome) : words(outcomeWithReason).arg(core::shownReason(reason));
}

} // namespace

QString markToolTip(Mark mark, const QString &reason)
{
    switch (mark) {
    case Mark::Printing:
        return words(QT_TRANSLATE_NOOP("joblist::Marks", "Printing"));
    case Mark::Printed:
        return words(QT_TRANSLATE_NOOP("joblist::Marks", "Printed"));
    case Mark::PrintedIncomplete:
        return withReason(QT_TRANSLATE_NOOP("joblist::Marks", "Printed before it finished loading"),
                          QT_TRANSLATE_NOOP("joblist::Marks", "Printed before it finished loading: %1"), reason);
    case Mark::NotPrinted:
        return withReason(QT_TRANSLATE_NOOP("joblist::Marks", "Not printed"),
                          QT_TRANSLATE_NOOP("joblist::Marks", "Not printed: %1"), reason);
    case Mark::MayHavePrinted:
        return withReason(QT_TRANSLATE_NOOP("joblist::Marks", "May have printed"),
                          QT_TRANSLATE_NOOP("joblist::Marks", "May have printed: %1"), reason);
    case Mark::Sent:
        return words(QT_TRANSLATE_NOOP("joblist::Marks", "Sent"));
    case Mark::Held:
        return withReason(QT_TRANSLATE_NOOP("joblist::Marks", "Held"), QT_TRANSLATE_NOOP("joblist::Marks", "Held: %1"),
                          reason);
    case Mark::Aborted:
        return withReason(QT_TRANSLATE_NOOP("joblist::Marks", "The printer aborted it"),
                          QT_TRANSLATE_NOOP("joblist::Marks", "The printer aborted it: %1"), reason);
    case Mark::AnswerUnknown:
        return words(QT_TRANSLATE_NOOP("joblist::Marks", "Sent; the printer's answer is unknown"));
    case Mark::None:
    case Mark::Pending:
        break;
    }
    return {};
}

} // namespace joblist
