// SPDX-License-Identifier: GPL-3.0-or-later
#include "batchprint.h"
#include "batchreport.h"
#include "commandline.h"
#include "jobsearch.h"
#include "journal.h"

#include <QCoreApplication>

#include "joblist/joblist.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/foldersink.h"
#include "core/entryaddress.h"
#include "core/messagetext.h"
#include "platform/printers/jobhistory.h"
#include "platform/printers/printers.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"
#include "printing/runtoend.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

using core::oneLine;
using printing::EntryOutcome;
using printing::JobAnswer;
using printing::RunReport;

void say(std::FILE *log, const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), log);
    std::fflush(log);
}

std::unique_ptr<core::PrintSink> sinkFor(const CommandLine &line)
{
    if (!line.outputFolder.isEmpty())
        return std::make_unique<platform::FolderSink>(line.outputFolder);
    return platform::makePrinterSink();
}

// The queue the run prints on, as --json and the journal name it: the one
// chosen, else the print system's default; none for --output, or when nobody
// can tell.
QString printerName(const CommandLine &line)
{
    if (!line.outputFolder.isEmpty())
        return {};
    if ((!line.json && line.journal.isEmpty()) || !line.printer.printer.isEmpty())
        return line.printer.printer;
    for (const platform::PrinterName &printer : platform::listPrinters().value_or(QList<platform::PrinterName>()))
        if (printer.isDefault)
            return printer.name;
    return {};
}

// How the run reports, but for the printer's name, which may take a
// question to the print system and is asked only when there is a run.
ReportSettings reportSettingsFor(const CommandLine &line, std::FILE *log, std::FILE *out, Journal *journal)
{
    ReportSettings settings;
    settings.log = log;
    settings.json = line.json ? out : nullptr;
    settings.journal = journal;
    settings.writesFiles = !line.outputFolder.isEmpty();
    settings.waits = line.wait;
    return settings;
}

QStringList textsOf(const joblist::JobList &jobs)
{
    QStringList texts;
    texts.reserve(jobs.count());
    for (int position = 1; position <= jobs.count(); ++position)
        texts << jobs.text(position);
    return texts;
}

// Puts the entries the journal does not account for into `jobs`, reporting
// the others; returns their places in the whole list.
QList<int> entriesToPrint(const QStringList &entries, const Journal *journal, bool resendUncertain, BatchReport &report,
                          joblist::JobList &jobs)
{
    QList<int> indexes;
    for (int index = 1; index <= entries.size(); ++index) {
        const JournalVerdict verdict = journal ? journal->verdict(index) : JournalVerdict();
        const bool again = verdict.state == JournalVerdict::State::ToPrint
            || (verdict.state == JournalVerdict::State::Uncertain && resendUncertain);
        if (!again) {
            report.skipped(index, verdict);
            continue;
        }
        jobs.add(entries.at(index - 1));
        indexes << index;
    }
    return indexes;
}

// Waits, after the run, for the printer's final answer about every job it
// took, or until `seconds` have passed.
void waitForAnswers(printing::PrintRun &run, BatchReport &report, double seconds)
{
    if (!report.awaiting())
        return;
    // The report waits for every job the print system took; the run follows
    // only those it can (one the print system gave no number, say). With
    // nothing followed no answer is coming, and the entries stand as they are
    // rather than wait out the time to end as unanswered.
    const bool answered = printing::waitForAnswers(run, std::chrono::milliseconds(qint64(seconds * 1000)),
                                                   [&report] { return report.awaiting(); });
    report.waitEnded(answered || !report.awaiting());
}

// The hosts of the list's own entries: the only ones its headers go to.
QSet<QString> hostsOf(const QStringList &entries)
{
    QSet<QString> hosts;
    for (const QString &entry : entries) {
        const QUrl url = core::addressOf(entry).url;
        if (url.scheme() == u"http" || url.scheme() == u"https")
            hosts.insert(url.host().toLower());
    }
    return hosts;
}

// The netrc file the run reads: the one named, else ~/.netrc where there is
// one. A file others can read is read all the same, as netrc readers do,
// but said.
QString readNetrcInto(const CommandLine &line, std::FILE *log, core::SignIn &signIn)
{
    QString path = line.netrcFile;
    if (path.isEmpty()) {
        path = QDir::homePath() + u"/.netrc";
        if (!QFileInfo::exists(path))
            return {};
    }
    const core::NetrcFile netrc = core::readNetrc(path);
    if (!netrc.error.isEmpty())
        return netrc.error;
    if (netrc.readableByOthers)
        say(log, u"tavimark: "
                + QCoreApplication::translate("SignIn", "the netrc file %1 can be read by other users; "
                                                        "make it private with chmod 600").arg(path));
    signIn.netrc = netrc.entries;
    return {};
}

// What the run signs in with, or why it cannot start.
QString readSignIn(const CommandLine &line, const QStringList &entries, std::FILE *log, core::SignIn &signIn)
{
    if (!line.cookiesFile.isEmpty()) {
        core::CookieFile cookies = core::readCookieFile(line.cookiesFile, QDateTime::currentSecsSinceEpoch());
        if (!cookies.error.isEmpty())
            return cookies.error;
        signIn.cookies = std::move(cookies.cookies);
    }
    if (QString problem = readNetrcInto(line, log, signIn); !problem.isEmpty())
        return problem;
    signIn.headers = line.headers;
    signIn.headerHosts = hostsOf(entries);
    if (!line.profileFolder.isEmpty()) {
        if (!platform::makeProfileFolder(line.profileFolder))
            return QCoreApplication::translate("SignIn", "the profile folder %1 cannot be made").arg(line.profileFolder);
        signIn.profileFolder = QFileInfo(line.profileFolder).absoluteFilePath();
    }
    return {};
}

int printEntries(const CommandLine &line, const QStringList &entries, bool problems, Journal *journal, BatchReport &report,
                 const core::SignIn &signIn)
{
    joblist::JobList jobs;
    const QList<int> indexes = entriesToPrint(entries, journal, line.resendUncertain, report, jobs);
    report.printing(indexes);
    if (indexes.isEmpty())
        return report.summarise(RunReport(), problems);

    const printing::AssembledRun assembled = printing::assembleRun(jobs, platform::engineRenderers(signIn), sinkFor(line),
                                                                   runSettingsFor(line));
    printing::PrintRun &run = *assembled.run;
    if (journal) {
        run.setGate([journal, &report](int step, const QString &, qint64 bytes) -> std::optional<QString> {
            return journal->submitting(report.indexOf(step), bytes);
        });
    }
    QObject::connect(&run, &printing::PrintRun::entryFinished, &run,
                     [&report, &run](int step, int, const QString &, const EntryOutcome &outcome) {
                         report.paperIs(core::paperName(run.pageLayout().pageSize()));
                         report.entryFinished(step, outcome);
                     });
    QObject::connect(&run, &printing::PrintRun::entryAnswered, &run,
                     [&report](int step, const QString &, const JobAnswer &answer) { report.entryAnswered(step, answer); });
    const RunReport ran = printing::runToEnd(run);
    if (line.wait)
        waitForAnswers(run, report, line.waitSeconds);
    // The outcomes after the last job, on the disk too.
    if (journal)
        journal->sync();
    return report.summarise(ran, problems);
}

} // namespace

int printFromCommandLine(const CommandLine &line, std::FILE *log, std::FILE *out)
{
    // Before anything is read or printed, as every other usage error.
    if (!line.waitFor.isEmpty() && platform::engineRejectsSelector(line.waitFor)) {
        const QString error = QCoreApplication::translate("app::CommandLine", "--wait-for wants a CSS selector: \"%1\" is not one")
                                  .arg(oneLine(line.waitFor));
        say(log, usageErrorLine(error).trimmed());
        return UsageError;
    }
    joblist::JobList all;
    const QStringList problems = addEntries(line.sources, all);
    for (const QString &problem : problems)
        say(log, QCoreApplication::translate("app::BatchPrint", "tavimark: cannot use %1").arg(oneLine(problem)));
    if (all.count() == 0) {
        BatchReport nothing({}, reportSettingsFor(line, log, out, nullptr));
        RunReport empty;
        empty.ending = RunReport::Ending::NothingToPrint;
        const int status = nothing.summarise(empty, true);
        nothing.finalObject(status);
        return status;
    }
    const QStringList entries = textsOf(all);
    core::SignIn signIn;
    if (const QString problem = readSignIn(line, entries, log, signIn); !problem.isEmpty()) {
        say(log, u"tavimark: " + oneLine(problem));
        return UsageError;
    }
    std::optional<Journal> journal;
    if (!line.journal.isEmpty()) {
        journal.emplace();
        if (const std::optional<JournalProblem> problem = journal->open(line.journal, entries)) {
            say(log, u"tavimark: " + oneLine(problem->words));
            return problem->inUse ? JournalInUse : UsageError;
        }
    }
    ReportSettings settings = reportSettingsFor(line, log, out, journal ? &*journal : nullptr);
    settings.printer = printerName(line);
    if (journal) {
        journal->setQueue(settings.printer, platform::printSystemUser());
        // Before anything prints: a job in doubt that is in its queue must
        // not go out again, and one that is certainly not there must.
        settleDoubts(*journal, int(entries.size()));
    }
    // A user name and password in an address stay out of every line, object
    // and record the run writes.
    QStringList shown;
    for (const QString &entry : entries)
        shown << core::withoutUserInfo(entry);
    BatchReport report(shown, settings);
    const int status = printEntries(line, entries, !problems.isEmpty(), journal ? &*journal : nullptr, report, signIn);
    report.finalObject(status);
    return status;
}

int printPrinterList(std::FILE *out, std::FILE *log)
{
    const std::optional<QList<platform::PrinterName>> printers = platform::listPrinters();
    if (!printers) {
        say(log, QCoreApplication::translate("app::BatchPrint", "tavimark: the print system cannot be reached"));
        return NothingDone;
    }
    if (printers->isEmpty())
        say(log, QCoreApplication::translate("app::BatchPrint", "tavimark: no printer is set up"));
    for (const platform::PrinterName &printer : *printers)
        say(out, printer.isDefault ? printer.name + u" (default)" : printer.name);
    return AllPrinted;
}

} // namespace app
