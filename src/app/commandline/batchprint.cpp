#include "batchprint.h"
#include "commandline.h"

#include "joblist/joblist.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/foldersink.h"
#include "core/messagetext.h"
#include "platform/printers/printers.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"

#include <QEventLoop>

namespace app {

namespace {

using platform::entryCount;
using platform::oneLine;
using printing::EntryOutcome;
using printing::RunReport;

void say(std::FILE *log, const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), log);
    std::fflush(log);
}

QString outcomeWords(const EntryOutcome &outcome)
{
    switch (outcome.result) {
    case EntryOutcome::Result::Sent:
        return QStringLiteral("sent");
    case EntryOutcome::Result::SentIncomplete:
        return u"sent (printed before it finished loading: " + outcome.reason + u')';
    case EntryOutcome::Result::MayHavePrinted:
        return u"may have printed (" + outcome.reason + u')';
    case EntryOutcome::Result::NotPrinted:
        break;
    }
    return u"not printed (" + outcome.reason + u')';
}

QString step(int index, int total)
{
    return u'[' + QString::number(index) + u'/' + QString::number(total) + u"] ";
}

std::unique_ptr<platform::PrintSink> sinkFor(const CommandLine &line)
{
    if (!line.outputFolder.isEmpty())
        return std::make_unique<platform::FolderSink>(line.outputFolder);
    return platform::makePrinterSink();
}

QString mayHavePrintedCount(const RunReport &report)
{
    if (report.mayHavePrinted.isEmpty())
        return {};
    return u", " + QString::number(report.mayHavePrinted.size()) + u" may have printed";
}

// The summary, and the entries a failed printer kept from printing.
int summarise(const RunReport &report, int total, bool problems, std::FILE *log)
{
    switch (report.ending) {
    case RunReport::Ending::NothingToPrint:
        say(log, QStringLiteral("tavimark: nothing to print"));
        return NothingDone;
    case RunReport::Ending::PrinterUnusable:
        say(log, u"tavimark: " + oneLine(report.printerReason));
        return NothingDone;
    case RunReport::Ending::SettingRefused:
        say(log, u"tavimark: " + oneLine(report.printerReason));
        return UsageError;
    case RunReport::Ending::PrinterFailed: {
        // The first entry not sent has had its line already.
        int index = total - int(report.notSent.size()) + 1;
        for (const QString &entry : report.notSent.mid(1))
            say(log, step(++index, total) + u"not printed (not sent: the printer stopped taking jobs): " + oneLine(entry));
        say(log, u"tavimark: the printer stopped taking jobs (" + report.printerReason + u"); "
                     + QString::number(report.sent.size()) + u" of " + entryCount(total) + u" sent"
                     + mayHavePrintedCount(report));
        return NothingDone;
    }
    case RunReport::Ending::Finished:
        break;
    }
    QString summary = u"tavimark: " + QString::number(report.sent.size()) + u" of " + entryCount(total) + u" sent";
    if (!report.notPrinted.isEmpty())
        summary += u", " + QString::number(report.notPrinted.size()) + u" not printed";
    summary += mayHavePrintedCount(report);
    if (!report.incomplete.isEmpty())
        summary += u", " + QString::number(report.incomplete.size()) + u" printed before they finished loading";
    say(log, summary);
    return report.notPrinted.isEmpty() && report.mayHavePrinted.isEmpty() && !problems ? AllPrinted : SomeNotPrinted;
}

} // namespace

int printFromCommandLine(const CommandLine &line, std::FILE *log)
{
    joblist::JobList jobs;
    const QStringList problems = addEntries(line.sources, jobs);
    for (const QString &problem : problems)
        say(log, u"tavimark: cannot use " + oneLine(problem));
    if (jobs.count() == 0) {
        say(log, QStringLiteral("tavimark: nothing to print"));
        return NothingDone;
    }
    const int total = jobs.count();

    const printing::AssembledRun assembled = printing::assembleRun(jobs, platform::engineRenderers(), sinkFor(line),
                                                                   runSettingsFor(line));
    printing::PrintRun &run = *assembled.run;
    QObject::connect(&run, &printing::PrintRun::entryFinished, &run,
                     [log](int index, int count, const QString &text, const EntryOutcome &outcome) {
                         say(log, step(index, count) + outcomeWords(outcome) + u": " + oneLine(text));
                     });
    QEventLoop loop;
    RunReport report;
    QObject::connect(&run, &printing::PrintRun::finished, &loop, [&](const RunReport &finished) {
        report = finished;
        loop.quit();
    });
    run.run();
    if (run.running())
        loop.exec();
    return summarise(report, total, !problems.isEmpty(), log);
}

int listPrinters(std::FILE *out, std::FILE *log)
{
    const std::optional<QList<platform::PrinterName>> printers = platform::listPrinters();
    if (!printers) {
        say(log, QStringLiteral("tavimark: the print system cannot be reached"));
        return NothingDone;
    }
    if (printers->isEmpty())
        say(log, QStringLiteral("tavimark: no printer is set up"));
    for (const platform::PrinterName &printer : *printers)
        say(out, printer.isDefault ? printer.name + u" (default)" : printer.name);
    return AllPrinted;
}

} // namespace app
