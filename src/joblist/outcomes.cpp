// SPDX-License-Identifier: GPL-3.0-or-later
#include "outcomes.h"
#include "joblist.h"
#include "marks.h"

#include "core/reasontext.h"

namespace joblist {

namespace {

bool breaksTable(QChar c)
{
    return c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
        || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

QString cell(QString text)
{
    for (QChar &c : text) {
        if (breaksTable(c))
            c = u' ';
    }
    return text;
}

} // namespace

bool reachedPrinter(Mark mark)
{
    switch (mark) {
    case Mark::Printed:
    case Mark::PrintedIncomplete:
    case Mark::Sent:
    case Mark::Held:
        return true;
    case Mark::None:
    case Mark::Pending:
    case Mark::Printing:
    case Mark::NotPrinted:
    case Mark::MayHavePrinted:
    case Mark::Aborted:
    case Mark::AnswerUnknown:
        break;
    }
    return false;
}

bool anyReachedPrinter(const JobList &jobs)
{
    for (int position = 1; position <= jobs.count(); ++position) {
        if (reachedPrinter(jobs.mark(position)))
            return true;
    }
    return false;
}

int removeEntriesThatReachedPrinter(JobList &jobs)
{
    return jobs.removeIf([](const Entry &entry) { return reachedPrinter(entry.mark); });
}

QString outcomeTable(const JobList &jobs)
{
    QString table;
    for (int position = 1; position <= jobs.count(); ++position) {
        table += cell(jobs.text(position)) + u'\t' + cell(markToolTip(jobs.mark(position), {})) + u'\t'
            + cell(core::shownReason(jobs.reason(position))) + u'\n';
    }
    return table;
}

} // namespace joblist
