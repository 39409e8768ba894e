// SPDX-License-Identifier: GPL-3.0-or-later
#include "runreport.h"

#include "core/messagetext.h"
#include "core/reasontext.h"

#include <QCoreApplication>

namespace printing {

using core::entryCount;
using core::namedList;
using core::quoted;

namespace {

QString words(const char *text, int count = -1)
{
    return QCoreApplication::translate("printing::RunReport", text, nullptr, count);
}

QString allSent()
{
    return words(QT_TRANSLATE_NOOP("printing::RunReport", "Done. Print jobs sent to printer."));
}
QString sentButUnsure()
{
    return words(QT_TRANSLATE_NOOP("printing::RunReport", "Print jobs sent to printer."));
}

QStringList lines(const QList<NamedEntry> &named, bool shorten)
{
    QStringList result;
    result.reserve(named.size());
    for (const NamedEntry &entry : named)
        result << (shorten ? quoted(entry.entry) : entry.entry) + u" (" + core::shownReason(entry.reason) + u')';
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
    // One is counted apart so that the English words hold with no
    // translation loaded.
    return count == 1
        ? words(QT_TRANSLATE_NOOP("printing::RunReport", "1 entry was printed before it finished loading:"))
        : words(QT_TRANSLATE_N_NOOP("printing::RunReport", "%n entries were printed before they finished loading:"),
                int(count));
}

// Entries whose jobs the queue may hold: printing them again could print
// them twice, so the user is told to look first.
QString mayHavePrintedHeading(qsizetype count)
{
    return count == 1
        ? words(QT_TRANSLATE_NOOP("printing::RunReport",
                                  "This entry may have printed; check the printer before printing it again:"))
        : words(QT_TRANSLATE_N_NOOP("printing::RunReport",
                                    "These %n entries may have printed; check the printer before printing them again:"),
                int(count));
}

QString exceptNotPrinted(qsizetype count)
{
    return count == 1
        ? words(QT_TRANSLATE_NOOP("printing::RunReport",
                                  "Print jobs sent to printer, except for 1 entry that could not be printed:"))
        : words(QT_TRANSLATE_N_NOOP("printing::RunReport",
                                    "Print jobs sent to printer, except for %n entries that could not be printed:"),
                int(count));
}

QString stoppedHeading(qsizetype count)
{
    return count == 1
        ? words(QT_TRANSLATE_NOOP("printing::RunReport", "Stopped. 1 entry was not printed"))
        : words(QT_TRANSLATE_N_NOOP("printing::RunReport", "Stopped. %n entries were not printed"), int(count));
}

QString finishedMessage(const RunReport &report, const QString &whenAllSent = allSent())
{
    QString message = report.notPrinted.isEmpty()
        ? (report.mayHavePrinted.isEmpty() ? whenAllSent : sentButUnsure())
        : exceptNotPrinted(report.notPrinted.size()) + u"\n\n" + namedList(lines(report.notPrinted, true));
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
    QString message = words(QT_TRANSLATE_NOOP("printing::RunReport",
                                              "The printer stopped taking jobs (%1), so printing was stopped."))
                          .arg(core::shownReason(report.printerReason));
    message += u"\n\n"
        + words(QT_TRANSLATE_NOOP("printing::RunReport", "Sent to printer: %1")).arg(entryCount(report.sent.size()));
    if (!report.sent.isEmpty())
        message += u'\n' + namedList(lines(report.sent, true));
    if (!report.mayHavePrinted.isEmpty()) {
        message += u"\n\n" + mayHavePrintedHeading(report.mayHavePrinted.size()) + u'\n'
            + namedList(lines(report.mayHavePrinted, true));
    }
    const QStringList notSent = lines(report.notPrinted, true) + lines(report.notSent, true);
    message += u"\n\n" + words(QT_TRANSLATE_NOOP("printing::RunReport", "Not sent: %1")).arg(entryCount(notSent.size()))
        + u'\n' + namedList(notSent);
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
    QString message = stoppedHeading(stopped.size());
    message += stopped.isEmpty() ? QStringLiteral(".") : u":\n\n" + namedList(stopped);
    if (!before.sent.isEmpty() || !before.notPrinted.isEmpty() || !before.mayHavePrinted.isEmpty())
        message += u"\n\n" + finishedMessage(before, sentButUnsure());
    return message;
}

} // namespace

QString closingMessage(const RunReport &report)
{
    switch (report.ending) {
    case RunReport::Ending::NothingToPrint:
        return words(QT_TRANSLATE_NOOP("printing::RunReport", "No files added."));
    case RunReport::Ending::PrinterUnusable:
    case RunReport::Ending::SettingRefused:
        return report.printerAdvice.isEmpty() ? report.printerReason
                                              : report.printerReason + u"\n\n" + report.printerAdvice;
    case RunReport::Ending::Finished:
        return finishedMessage(report);
    case RunReport::Ending::PrinterFailed:
        return printerFailedMessage(report);
    case RunReport::Ending::EngineFailed:
        return words(QT_TRANSLATE_NOOP("printing::RunReport", "The browser engine failed, so printing was stopped."))
            + u' ' + finishedMessage(report);
    case RunReport::Ending::Stopped:
        return stoppedMessage(report);
    }
    return {};
}

QString closingDetails(const RunReport &report)
{
    QStringList sections;
    if (report.ending == RunReport::Ending::PrinterFailed) {
        sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "Sent to printer:")) + u'\n'
                + report.sent.join(u'\n');
        if (!report.mayHavePrinted.isEmpty())
            sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "May have printed:")) + u'\n'
                    + lines(report.mayHavePrinted, false).join(u'\n');
        sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "Not sent:")) + u'\n'
                + (lines(report.notPrinted, false) + report.notSent).join(u'\n');
        return sections.join(u"\n\n");
    }
    if (!report.notPrinted.isEmpty())
        sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "Not printed:")) + u'\n'
                + lines(report.notPrinted, false).join(u'\n');
    if (!report.mayHavePrinted.isEmpty())
        sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "May have printed:")) + u'\n'
                + lines(report.mayHavePrinted, false).join(u'\n');
    if (!report.incomplete.isEmpty())
        sections << words(QT_TRANSLATE_NOOP("printing::RunReport", "Printed before they finished loading:")) + u'\n'
                + lines(report.incomplete, false).join(u'\n');
    return sections.join(u"\n\n");
}

} // namespace printing
