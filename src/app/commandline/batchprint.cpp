// SPDX-License-Identifier: GPL-3.0-or-later
#include "batchprint.h"
#include "core/reasontext.h"
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
#include "printing/combinedrun.h"
#include "printing/combiningsink.h"
#include "printing/contentspage.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"
#include "printing/runtoend.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <variant>
#include <unistd.h>

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

// With --combine and --output, the folder the one file goes into, where the
// parts wait too, so that the file is put in place without a copy.
QString combinedFolder(const CommandLine &line)
{
    return line.outputFolder.isEmpty() ? QDir::tempPath() : QFileInfo(line.outputFolder).absolutePath();
}

std::shared_ptr<core::PrintSink> destinationFor(const CommandLine &line)
{
    if (!line.outputFolder.isEmpty())
        return std::make_shared<platform::FolderSink>(combinedFolder(line));
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
    // A combined run's one job is not followed.
    settings.waits = line.wait && !line.combine;
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

// The combined file put where --output names it, never over a file: a
// name taken gets a number, as the files of a folder do. The path written,
// or why none was.
std::variant<QString, QString> placeCombined(const QString &combined, const QString &wanted)
{
    const QFileInfo info(wanted);
    const QString stem = info.completeBaseName();
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    for (int number = 1; number <= 999; ++number) {
        const QString path =
            number == 1 ? info.absoluteFilePath() : info.absolutePath() + u'/' + stem + u'-' + QString::number(number) + extension;
        if (::link(QFile::encodeName(combined).constData(), QFile::encodeName(path).constData()) == 0)
            return std::variant<QString, QString>(std::in_place_index<0>, path);
        if (errno != EEXIST)
            return std::variant<QString, QString>(std::in_place_index<1>, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return std::variant<QString, QString>(std::in_place_index<1>, core::reasonText(QT_TRANSLATE_NOOP("Reason", "every name for it is taken")));
}

// The one job of a combined run: the combined document handed to the
// printer, or put in place as the file --output names.
core::SinkAnswer sendCombined(const CommandLine &line, const std::optional<QString> &combined, int pages,
                              core::PrintSink &destination, const QString &firstEntry)
{
    if (!combined)
        return {core::SinkAnswer::Kind::PrinterFailed, core::reasonText(QT_TRANSLATE_NOOP("Reason", "the combined document could not be written"))};
    QFile file(*combined);
    if (!file.open(QIODevice::ReadOnly))
        return {core::SinkAnswer::Kind::PrinterFailed, core::reasonText(QT_TRANSLATE_NOOP("Reason", "the combined document could not be read"))};
    if (!line.outputFolder.isEmpty()) {
        const auto placed = placeCombined(*combined, line.outputFolder);
        if (placed.index() == 1)
            return {core::SinkAnswer::Kind::PrinterFailed, std::get<1>(placed)};
        core::SinkAnswer answer{core::SinkAnswer::Kind::Taken, {}};
        answer.bytes = file.size();
        answer.pages = pages;
        answer.file = std::get<0>(placed);
        return answer;
    }
    core::AbandonFlag never;
    core::StopToken stop(never, printing::PrintQueue::DefaultBound);
    return printing::sendCombinedFile(*combined, pages, destination, {firstEntry}, stop);
}

// A contents page that cannot be made is named; the documents go out
// without it.
void addContentsPage(printing::CombiningSink &combiner, const printing::PrintRun &run,
                     const core::RendererFactory &renderers, BatchReport &report)
{
    // A page of the run's own profile: a profile folder serves one at a time.
    const std::unique_ptr<core::DocumentRenderer> renderer = renderers();
    const QString problem = printing::addContents(combiner, *renderer, run.pageLayout(), run.settings().readiness());
    if (!problem.isEmpty())
        report.note(QCoreApplication::translate("app::BatchPrint", "tavimark: no contents page: %1").arg(problem));
}

int printCombined(const CommandLine &line, const QStringList &entries, bool problems, Journal *journal,
                  BatchReport &report, joblist::JobList &jobs, const core::SignIn &signIn)
{
    std::shared_ptr<core::PrintSink> destination = destinationFor(line);
    auto combining = std::make_unique<printing::CombiningSink>(destination, combinedFolder(line),
                                                                !line.outputFolder.isEmpty());
    printing::CombiningSink &combiner = *combining;
    const core::RendererFactory renderers = platform::engineRenderers(signIn);
    const printing::AssembledRun assembled =
        printing::assembleRun(jobs, renderers, std::move(combining), runSettingsFor(line));
    printing::PrintRun &run = *assembled.run;
    // Nothing is with the printer until the one job goes: the entries are
    // told once it has.
    std::vector<std::pair<int, EntryOutcome>> settled;
    QObject::connect(&run, &printing::PrintRun::entryFinished, &run,
                     [&report, &run, &settled](int step, int, const QString &, const EntryOutcome &outcome) {
                         report.paperIs(core::paperName(run.pageLayout().pageSize()));
                         settled.emplace_back(step, outcome);
                     });
    RunReport ran = printing::runToEnd(run);
    QList<int> added;
    for (const auto &[step, outcome] : settled) {
        if (outcome.result == EntryOutcome::Result::Sent || outcome.result == EntryOutcome::Result::SentIncomplete)
            added << report.indexOf(step);
    }
    core::SinkAnswer job{core::SinkAnswer::Kind::LeftOut, {}};
    if (!added.isEmpty()) {
        const QString first = entries.value(added.first() - 1);
        if (line.contents)
            addContentsPage(combiner, run, renderers, report);
        const std::optional<QString> combined = combiner.combined();
        if (journal && combined) {
            // Every entry of the job is on record as going out in it, under
            // the job's own name, before it goes.
            const qint64 bytes = QFileInfo(*combined).size();
            for (const int index : added) {
                if (const std::optional<QString> problem = journal->submitting(index, bytes, first)) {
                    job = {core::SinkAnswer::Kind::PrinterFailed, *problem};
                    break;
                }
            }
        }
        if (job.kind == core::SinkAnswer::Kind::LeftOut)
            job = sendCombined(line, combined, combiner.pages(), *destination, first);
    }
    for (const auto &[step, outcome] : settled)
        report.entryFinished(step, printing::asTheJob(outcome, job));
    if (job.kind == core::SinkAnswer::Kind::PrinterFailed && !added.isEmpty()) {
        ran.ending = RunReport::Ending::PrinterFailed;
        ran.printerReason = core::quotedReason(job.reason);
    }
    if (journal)
        journal->sync();
    return report.summarise(ran, problems);
}

int printEntries(const CommandLine &line, const QStringList &entries, bool problems, Journal *journal, BatchReport &report,
                 const core::SignIn &signIn)
{
    joblist::JobList jobs;
    const QList<int> indexes = entriesToPrint(entries, journal, line.resendUncertain, report, jobs);
    report.printing(indexes);
    if (indexes.isEmpty())
        return report.summarise(RunReport(), problems);
    if (line.combine)
        return printCombined(line, entries, problems, journal, report, jobs, signIn);

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
