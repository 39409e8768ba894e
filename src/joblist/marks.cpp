// SPDX-License-Identifier: GPL-3.0-or-later
#include "marks.h"

namespace joblist {

QString markToolTip(Mark mark, const QString &reason)
{
    switch (mark) {
    case Mark::Printing:
        return QStringLiteral("Printing");
    case Mark::Printed:
        return QStringLiteral("Printed");
    case Mark::PrintedIncomplete:
        return reason.isEmpty() ? QStringLiteral("Printed before it finished loading")
                                : u"Printed before it finished loading: " + reason;
    case Mark::NotPrinted:
        return reason.isEmpty() ? QStringLiteral("Not printed") : u"Not printed: " + reason;
    case Mark::MayHavePrinted:
        return reason.isEmpty() ? QStringLiteral("May have printed") : u"May have printed: " + reason;
    case Mark::Sent:
        return QStringLiteral("Sent");
    case Mark::Held:
        return reason.isEmpty() ? QStringLiteral("Held") : u"Held: " + reason;
    case Mark::Aborted:
        return reason.isEmpty() ? QStringLiteral("The printer aborted it") : u"The printer aborted it: " + reason;
    case Mark::AnswerUnknown:
        return QStringLiteral("Sent; the printer's answer is unknown");
    case Mark::None:
    case Mark::Pending:
        break;
    }
    return {};
}

} // namespace joblist
