// SPDX-License-Identifier: GPL-3.0-or-later
#include "runreport.h"

#include "core/messagetext.h"

namespace printing {

using core::entryCount;
using core::namedList;
using core::quoted;

namespace {

const QString AllSent = QStringLiteral("Done. Print jobs sent to printer.");
const QString SentButUnsure = QStringLiteral("Print jobs sent to printer.");
const QString NoFiles = QStringLiteral("No files added.");

QStringList lines(const QList<NamedEntry> &named, bool shorten)
{
    QStringList result;
    result.reserve(named.size());
    for (const NamedEntry &entry : named)
        result << (shorten ? quoted(entry.entry) : entry.entry) + u" (" + entry.reason + u')';
    return result;
}

QStringList lines(const QStringList &texts, bool shorten)
{
    if (!shorten)
        return texts;
    QStringList result;
    result.reserve(texts.size());
    for (const QString &text : texts)
        result << quoted(text);
    return result;
}

QString incompleteHeading(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 entry was printed before it finished loading:")
                      : QString::number(count) + u" entries were printed before they finished loading:";
}

// Entries whose jobs the queue may hold: printing them again could print
// them twice, so the user is told to look first.
QString mayHavePrintedHeading(qsizetype count)
{
    return count == 1 ? QStringLiteral("This entry may have printed; check the printer before printing it again:")
                      : u"These " + entryCount(count) + u" may have printed; check the printer before printing them again:";
}

QString finishedMessage(const RunReport &report, const QString &allSent = AllSent)
{
    QString message = report.notPrinted.isEmpty()
        ? (report.mayHavePrinted.isEmpty() ? allSent : SentButUnsure)
        : u"Print jobs sent to printer, except for " + entryCount(report.notPrinted.size())
            + u" that could not be printed:\n\n" + namedList(lines(report.notPrinted, true));
    if (!report.mayHavePrinted.isEmpty()) {
        message += u"\n\n" + mayHavePrintedHeading(report.mayHavePrinted.size()) + u"\n\n"
            + namedList(lines(report.mayHavePrinted, true));
    }
    if (!report.incomplete.isEmpty()) {
        message += u"\n\n" + incompleteHeading(report.incomplete.size()) + u"\n\n"
            + namedList(lines(report.incomplete, true));
    }
    return message;
}

QString printerFailedMessage(const RunReport &report)
{
    QString message = u"The printer stopped taking jobs (" + report.printerReason + u"), so printing was stopped.";
    message += u"\n\nSent to printer: " + entryCount(report.sent.size());
    if (!report.sent.isEmpty())
        message += u'\n' + namedList(lines(report.sent, true));
    if (!report.mayHavePrinted.isEmpty()) {
        message += u"\n\n" + mayHavePrintedHeading(report.mayHavePrinted.size()) + u'\n'
            + namedList(lines(report.mayHavePrinted, true));
    }
    const QStringList notSent = lines(report.notPrinted, true) + lines(report.notSent, true);
    message += u"\n\nNot sent: " + entryCount(notSent.size()) + u'\n' + namedList(notSent);
    return message;
}

// The entries the user's stop left out are named first, by name only, since
// they share one reason; what the run got to before follows as a finished
// run would word it, without claiming the run was done.
QString stoppedMessage(const RunReport &report)
{
    RunReport before = report;
    before.notPrinted.clear();
    QStringList stopped;
    for (const NamedEntry &entry : report.notPrinted) {
        if (entry.reason == stoppedReason())
            stopped << quoted(entry.entry);
        else
            before.notPrinted << entry;
    }
    QString message = u"Stopped. " + entryCount(stopped.size()) + (stopped.size() == 1 ? u" was" : u" were")
        + u" not printed";
    message += stopped.isEmpty() ? QStringLiteral(".") : u":\n\n" + namedList(stopped);
    if (!before.sent.isEmpty() || !before.notPrinted.isEmpty() || !before.mayHavePrinted.isEmpty())
        message += u"\n\n" + finishedMessage(before, SentButUnsure);
    return message;
}

} // namespace

QString closingMessage(const RunReport &report)
{
    switch (report.ending) {
    case RunReport::Ending::NothingToPrint:
        return NoFiles;
    case RunReport::Ending::PrinterUnusable:
    case RunReport::Ending::SettingRefused:
        return report.printerAdvice.isEmpty() ? report.printerReason
                                              : report.printerReason + u"\n\n" + report.printerAdvice;
    case RunReport::Ending::Finished:
        return finishedMessage(report);
    case RunReport::Ending::PrinterFailed:
        return printerFailedMessage(report);
    case RunReport::Ending::EngineFailed:
        return u"The browser engine failed, so printing was stopped. " + finishedMessage(report);
    case RunReport::Ending::Stopped:
        return stoppedMessage(report);
    }
    return {};
}

QString closingDetails(const RunReport &report)
{
    QStringList sections;
    if (report.ending == RunReport::Ending::PrinterFailed) {
        sections << u"Sent to printer:\n" + report.sent.join(u'\n');
        if (!report.mayHavePrinted.isEmpty())
            sections << u"May have printed:\n" + lines(report.mayHavePrinted, false).join(u'\n');
        sections << u"Not sent:\n" + (lines(report.notPrinted, false) + report.notSent).join(u'\n');
        return sections.join(u"\n\n");
    }
    if (!report.notPrinted.isEmpty())
        sections << u"Not printed:\n" + lines(report.notPrinted, false).join(u'\n');
    if (!report.mayHavePrinted.isEmpty())
        sections << u"May have printed:\n" + lines(report.mayHavePrinted, false).join(u'\n');
    if (!report.incomplete.isEmpty())
        sections << u"Printed before they finished loading:\n" + lines(report.incomplete, false).join(u'\n');
    return sections.join(u"\n\n");
}

} // namespace printing
