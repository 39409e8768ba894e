// SPDX-License-Identifier: GPL-3.0-or-later
// The print run through the real engine onto the print test rig's queue:
// documents (and printed pages) per second for small and medium documents
// and for a real manual nobody here wrote (the git-doc package's HTML pages),
// with 1, 2 and 4 pages working at once; the same run started from the real
// window's Print button; whether every job is a vector PDF in list order;
// and the resident memory of the whole process tree (the engine's helper
// processes included) over a long run.
//
// Needs CUPS_SERVER and TAVIMARK_RIG pointing at a running rig
// (scripts/bench.sh starts and stops one, and installs git-doc).
// TAVIMARK_BENCH_ONLY=options measures the printer options' cost alone,
// TAVIMARK_BENCH_ONLY=following the cost of following jobs to the printer's
// answer, and the requests that puts to the scheduler;
// TAVIMARK_BENCH_ONLY=headings the page headings' cost in rate, processor
// time and bytes, under Latin titles and under Hebrew ones;
// TAVIMARK_BENCH_ONLY=settling the run's rate with settling on and off;
// TAVIMARK_BENCH_ONLY=combine one job for a run (--combine) against one job
// per entry and the engine alone, bookmarks' cost, and the peak memory of
// combining 2,000 documents; TAVIMARK_BENCH_ONLY=engine the engine alone beside the
// program's own command line; TAVIMARK_BENCH_ONLY=renderers the rates and
// the memory with one and two pages.
#include "common.h"
#include "commandlinerun.h"
#include "documents.h"
#include "support/printrig.h"
#include "standins.h"

#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "core/desktop.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/printers.h"
#include "printing/printrun.h"
#include "printing/runtoend.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <array>
#include <map>
#include <memory>

namespace {

using bench::mediumDocument;
using bench::smallDocument;
using bench::writeDocuments;

// The git manual's pages, copied under a folder of the run's own so that
// each measured run's jobs can be told apart by their titles.
QStringList gitManual(const QString &folder, int count)
{
    const QDir manual(QStringLiteral("/usr/share/doc/git-doc"));
    QStringList names = manual.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    names = names.mid(0, count);
    QDir().mkpath(folder);
    QStringList paths;
    for (const QString &name : names) {
        QFile::copy(manual.filePath(name), folder + u'/' + name);
        paths << folder + u'/' + name;
    }
    // The pages' style sheets and images sit beside them.
    for (const QString &extra : manual.entryList({QStringLiteral("*.css"), QStringLiteral("*.png")}, QDir::Files))
        QFile::copy(manual.filePath(extra), folder + u'/' + extra);
    return paths;
}

// The captured jobs whose titles start with `prefix`, in queue order, once
// all `count` are there, with their titles.
QList<std::pair<QString, QString>> waitForJobs(const QString &prefix, int count)
{
    QElapsedTimer waited;
    waited.start();
    QStringList files;
    while (waited.elapsed() < 120'000) {
        files = rig::jobFiles(rig::sharedFolder(), prefix);
        if (files.size() >= count)
            break;
        QThread::msleep(100);
    }
    QList<std::pair<QString, QString>> found;
    for (const QString &file : files)
        found.append({file, rig::titleOf(file)});
    return found;
}

struct JobCheck {
    int vectorWithText = 0;
    int inOrder = 0;
    int pages = 0;
};

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every job must be a PDF whose text pdftotext finds, titled with its entry,
// in the entries' order.
JobCheck checkJobs(const QStringList &entries, const QString &prefix, const QString &heading)
{
    JobCheck check;
    const auto jobs = waitForJobs(prefix, int(entries.size()));
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        const auto &[file, title] = jobs.at(i);
        if (i < entries.size() && title == entries.at(i))
            ++check.inOrder;
        QFile pdf(file);
        if (!pdf.open(QIODevice::ReadOnly) || !pdf.read(5).startsWith("%PDF-"))
            continue;
        if (heading.isEmpty() || run(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}).contains(heading))
            ++check.vectorWithText;
        static const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
        check.pages += pagesLine.match(run(QStringLiteral("pdfinfo"), {file})).captured(1).toInt();
    }
    return check;
}

// A run without a window: the job list, the pages and the print thread,
// put together and driven as the command line does.
class Runner {
public:
    Runner()
        : m_assembled(printing::assembleRun(m_jobs, platform::engineRenderers(), platform::makePrinterSink(),
                                            printing::RunSettings()))
    {
        QObject::connect(&m_sampler, &QTimer::timeout, [this] { m_peakMB = std::max(m_peakMB, bench::treeResidentMB()); });
        m_sampler.start(250);
    }

    void setRenderers(int renderers) { update(&printing::RunSettings::renderers, renderers); }
    void setHeadings(bool headings) { update(&printing::RunSettings::headings, headings); }
    void setPrinter(const core::PrinterSettings &printer) { update(&printing::RunSettings::printer, printer); }
    void setFollow(bool follow) { update(&printing::RunSettings::follow, follow); }
    void setSettle(bool settle) { update(&printing::RunSettings::settle, settle); }

    // Prints `entries` in one run; returns documents per second.
    double print(const QStringList &entries)
    {
        for (const QString &entry : entries)
            m_jobs.add(entry);
        QElapsedTimer clock;
        clock.start();
        const QString message = printing::closingMessage(printing::runToEnd(printRun()));
        const double seconds = clock.nsecsElapsed() / 1e9;
        m_lastSeconds = seconds;
        while (m_jobs.count() > 0)
            m_jobs.remove(m_jobs.count());
        if (message != u"Done. Print jobs sent to printer.")
            std::printf("# run message: %s\n", qPrintable(message.left(300)));
        return entries.size() / seconds;
    }

    double lastSeconds() const { return m_lastSeconds; }

    // Waits until the print system has answered about every job the runs
    // took; returns the seconds that took.
    double waitForAnswers()
    {
        QElapsedTimer clock;
        clock.start();
        printing::waitForAnswers(printRun(), std::chrono::minutes(2));
        return clock.nsecsElapsed() / 1e9;
    }

    printing::PrintRun &printRun() { return *m_assembled.run; }
    double peakMB() const { return std::max(m_peakMB, bench::treeResidentMB()); }
    void resetPeak() { m_peakMB = 0; }

private:
    template <typename Value>
    void update(Value printing::RunSettings::*setting, const Value &value)
    {
        printing::RunSettings settings = printRun().settings();
        settings.*setting = value;
        printRun().setSettings(settings);
    }

    joblist::JobList m_jobs;
    printing::AssembledRun m_assembled;
    QTimer m_sampler;
    double m_peakMB = 0;
    double m_lastSeconds = 0;
};

// The requests the rig's scheduler logged between a run's start and its
// end: every one, and those that follow jobs (Get-Jobs, and the
// CUPS-Get-Printers asked to tell a job on a stopped queue). A scheduler
// whose log has grown too large starts a new one, keeping the old one as
// access_log.O.
class AccessLog {
public:
    struct Counts {
        int all = 0;
        int following = 0;
    };

    explicit AccessLog(printing::PrintRun &run)
        : m_path(rig::sharedFolder() + u"/log/access_log")
    {
        QObject::connect(&run, &printing::PrintRun::started, &m_context, [this] { m_offset = QFileInfo(m_path).size(); });
        QObject::connect(&run, &printing::PrintRun::finished, &m_context, [this] { m_last = countSince(m_offset); });
    }

    Counts lastRun() const { return m_last; }

private:
    static QByteArray from(const QString &path, qint64 offset)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
            return {};
        return file.readAll();
    }

    Counts countSince(qint64 offset) const
    {
        const bool started = QFileInfo(m_path).size() < offset;
        const QByteArray added = started ? from(m_path + u".O", offset) + from(m_path, 0) : from(m_path, offset);
        Counts counts;
        for (const QByteArray &line : added.split('\n')) {
            if (line.isEmpty())
                continue;
            ++counts.all;
            if (line.contains(" Get-Jobs ") || line.contains(" CUPS-Get-Printers "))
                ++counts.following;
        }
        return counts;
    }

    QString m_path;
    qint64 m_offset = 0;
    Counts m_last;
    QObject m_context;  // ends the connections with the log's life
};

// Following every job to the printer's answer against not following, on
// the same small documents, alternating; and the scheduler's requests per
// second while the followed runs print. Each followed run's jobs are all
// answered before the next run starts, so that no run pays for another's.
void measureFollowing(Runner &runner, const QString &folder, int renderers)
{
    runner.setRenderers(renderers);
    AccessLog log(runner.printRun());
    constexpr int Rounds = 4;
    double followed = 0;
    double unfollowed = 0;
    double requests = 0;
    double followRequests = 0;
    double quietRequests = 0;
    double answeredAfter = 0;
    // Every job on the rig prints: any other final answer is a wrong one.
    int printed = 0;
    int otherwise = 0;
    QObject context;
    QObject::connect(&runner.printRun(), &printing::PrintRun::entryAnswered, &context,
                     [&](int, const QString &, const printing::JobAnswer &answer) {
                         if (answer.state == printing::JobAnswer::State::Printed)
                             ++printed;
                         else if (answer.final() && ++otherwise == 1)
                             std::printf("# the first job answered otherwise: %s\n", qPrintable(answer.reason));
                     });
    // Each in turn goes first, so that neither gets the quieter moments.
    for (int round = 1; round <= Rounds; ++round) {
        const QString r = QString::number(round);
        const auto printUnfollowed = [&] {
            runner.setFollow(false);
            unfollowed += runner.print(writeDocuments(folder + u"/unfollowed" + r, QStringLiteral("u"), 200, smallDocument)) / Rounds;
            quietRequests += log.lastRun().all / runner.lastSeconds() / Rounds;
        };
        const auto printFollowed = [&] {
            runner.setFollow(true);
            followed += runner.print(writeDocuments(folder + u"/followed" + r, QStringLiteral("f"), 200, smallDocument)) / Rounds;
            requests += log.lastRun().all / runner.lastSeconds() / Rounds;
            followRequests += log.lastRun().following / runner.lastSeconds() / Rounds;
            answeredAfter += runner.waitForAnswers() / Rounds;
        };
        if (round % 2 == 1) {
            printUnfollowed();
            printFollowed();
        } else {
            printFollowed();
            printUnfollowed();
        }
    }
    runner.setFollow(true);
    bench::figure("small_docs_per_s_not_followed", unfollowed, "docs/s");
    bench::figure("small_docs_per_s_followed", followed, "docs/s");
    bench::figure("followed_share_of_not_followed", unfollowed > 0 ? followed / unfollowed : 0, "ratio");
    bench::figure("scheduler_requests_per_s_not_followed", quietRequests, "requests/s");
    bench::figure("scheduler_requests_per_s_followed", requests, "requests/s");
    bench::figure("following_requests_per_s_followed", followRequests, "requests/s");
    bench::figure("last_answer_after_run_end_s", answeredAfter, "s");
    bench::figure("followed_jobs_answered_printed", printed, "jobs");
    bench::figure("followed_jobs_answered_otherwise", otherwise, "jobs");
}

QString label(const char *name, int renderers)
{
    return QString::fromLatin1(name) + u"_k" + QString::number(renderers);
}

void figure(const QString &name, double value, const char *unit)
{
    bench::figure(qPrintable(name), value, unit);
}

// The captured jobs' mean size, in bytes.
double meanJobBytes(const QString &prefix, int count)
{
    const auto jobs = waitForJobs(prefix, count);
    double bytes = 0;
    for (const auto &job : jobs)
        bytes += double(QFileInfo(job.first).size());
    return jobs.isEmpty() ? 0 : bytes / double(jobs.size());
}

// The page headings' cost: the same small documents with and without them,
// at the default number of pages, in rounds that alternate which goes
// first; the rate, the processor time of the whole process tree, and the
// bytes of each job as the printer gets it. The figures start with
// `prefix`; `make` writes the documents.
void measureHeadings(Runner &runner, const QString &folder, int renderers, const QString &prefix,
                     QString (*make)(int))
{
    runner.setRenderers(renderers);
    constexpr int Rounds = 4;
    constexpr int Count = 200;
    struct Cost {
        double rate = 0;
        double cpuMs = 0;
        double bytes = 0;
    };
    Cost with;
    Cost without;
    for (int round = 1; round <= Rounds; ++round) {
        for (const bool headings : round % 2 == 1 ? std::array{false, true} : std::array{true, false}) {
            runner.setHeadings(headings);
            const QString set = folder + u'/' + prefix + (headings ? u"hon" : u"hoff") + QString::number(round);
            Cost &cost = headings ? with : without;
            const bench::TreeCpu cpu = bench::treeCpu();
            cost.rate += runner.print(writeDocuments(set, QStringLiteral("s"), Count, make)) / Rounds;
            cost.cpuMs += bench::cpuSecondsSince(cpu) * 1000 / Count / Rounds;
            cost.bytes += meanJobBytes(set, Count) / Rounds;
        }
    }
    runner.setHeadings(true);
    figure(prefix + u"docs_per_s_without_headings", without.rate, "docs/s");
    figure(prefix + u"docs_per_s_with_headings", with.rate, "docs/s");
    figure(prefix + u"headings_share_of_without", without.rate > 0 ? with.rate / without.rate : 0, "ratio");
    figure(prefix + u"cpu_ms_per_doc_without_headings", without.cpuMs, "ms");
    figure(prefix + u"cpu_ms_per_doc_with_headings", with.cpuMs, "ms");
    figure(prefix + u"job_bytes_without_headings", without.bytes, "bytes");
    figure(prefix + u"job_bytes_with_headings", with.bytes, "bytes");
    figure(prefix + u"job_bytes_headings_add", without.bytes > 0 ? (with.bytes / without.bytes - 1) * 100 : 0, "%");
}

// The headings on Latin titles, written in the standard font, and on
// Hebrew ones, drawn in a font embedded in each job.
void measureHeadings(Runner &runner, const QString &folder, int renderers)
{
    measureHeadings(runner, folder, renderers, QStringLiteral("small_"), smallDocument);
    measureHeadings(runner, folder, renderers, QStringLiteral("small_hebrew_title_"), bench::smallHebrewTitledDocument);
}

// The engine alone: `pages` pages load the documents and make their PDFs,
// each taking the next document as soon as it is free; nothing goes to a
// printer and no headings are drawn. No run can be faster than this.
bench::Span engineAlone(const QStringList &entries, int pages)
{
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(core::PrintMarginMm, core::PrintMarginMm, core::PrintMarginMm,
                                       core::PrintMarginMm),
                             QPageLayout::Millimeter);
    const core::RendererFactory make = platform::engineRenderers();
    std::vector<std::unique_ptr<core::DocumentRenderer>> renderers;
    bench::Span span;
    int next = 0;
    int done = 0;
    QElapsedTimer clock;
    QEventLoop loop;
    const auto start = [&](core::DocumentRenderer &renderer) {
        if (next < entries.size()) {
            core::Readiness readiness;
            readiness.bound = std::chrono::seconds(60);
            renderer.render(quint64(next), entries.at(next), layout, readiness);
            ++next;
        }
    };
    for (int i = 0; i < pages; ++i) {
        renderers.push_back(make());
        core::DocumentRenderer &renderer = *renderers.back();
        QObject::connect(&renderer, &core::DocumentRenderer::rendered, &loop,
                         [&](quint64, const core::RenderedDocument &document) {
                             const double now = clock.nsecsElapsed() / 1e9;
                             if (document.state != core::RenderedDocument::State::Complete)
                                 std::printf("# the engine alone: %s\n", qPrintable(document.failure));
                             if (++done == 1)
                                 span.first = now;
                             span.last = now;
                             span.entries = done;
                             if (done == entries.size())
                                 loop.quit();
                             else
                                 start(renderer);
                         });
    }
    clock.start();
    for (auto &renderer : renderers)
        start(*renderer);
    if (!entries.isEmpty())
        loop.exec();
    return span;
}

// Processor seconds the rig's scheduler has used, with those of the
// backends it has run and waited for: what the print system takes of the
// same two cores.
double schedulerCpuSeconds()
{
    QFile pidFile(rig::sharedFolder() + u"/cupsd.pid");
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    return bench::cpuSeconds(bench::statFields(u"/proc/" + QString::fromLatin1(pidFile.readAll().trimmed()) + u"/stat"),
                             11, 14);
}

// The engine alone beside the program's own command line, with and without
// its headings, on the same small documents, in rounds that alternate which
// goes first: the share of the engine's limit the program reaches, with the
// print system and without it (the jobs saved to files). Beside the rates,
// where the processor time goes: the engine's, the command line's whole
// tree, and the print system's for each job.
void measureEngineShare(const QString &folder, int renderers)
{
    engineAlone(writeDocuments(folder + u"/enginewarm", QStringLiteral("w"), 8, smallDocument), renderers);
    constexpr int Rounds = 3;
    constexpr int Count = 200;
    double engine = 0;
    double engineCpu = 0;
    double commandLine = 0;
    double commandLinePlain = 0;
    double commandLineToFiles = 0;
    double commandLineCpu = 0;
    double schedulerCpu = 0;
    const QString program = QStringLiteral(TAVIMARK_BINARY);
    for (int round = 1; round <= Rounds; ++round) {
        const QString r = QString::number(round);
        const auto alone = [&] {
            const QStringList entries = writeDocuments(folder + u"/engine" + r, QStringLiteral("e"), Count, smallDocument);
            const bench::TreeCpu cpu = bench::treeCpu();
            engine += engineAlone(entries, renderers).rate() / Rounds;
            engineCpu += bench::cpuSecondsSince(cpu) * 1000 / Count / Rounds;
        };
        const auto fromCommandLine = [&] {
            const QStringList entries = writeDocuments(folder + u"/cli" + r, QStringLiteral("c"), Count, smallDocument);
            const double scheduler = schedulerCpuSeconds();
            const auto span = bench::printFromCommandLine(program, entries);
            commandLineCpu += span ? span->cpuSeconds * 1000 / Count / Rounds : 0;
            waitForJobs(folder + u"/cli" + r, Count);
            schedulerCpu += (schedulerCpuSeconds() - scheduler) * 1000 / Count / Rounds;
            commandLine += span ? span->rate() / Rounds : 0;
            const auto plain = bench::printFromCommandLine(
                program, writeDocuments(folder + u"/cliplain" + r, QStringLiteral("p"), Count, smallDocument),
                {QStringLiteral("--no-headers")});
            commandLinePlain += plain ? plain->rate() / Rounds : 0;
            // The same run with no print system to share the processors
            // with: each job's PDF, headings and all, saved in a folder.
            const QString saved = folder + u"/clifiles" + r;
            QDir().mkpath(saved);
            const auto files = bench::printFromCommandLine(
                program, writeDocuments(folder + u"/clisource" + r, QStringLiteral("f"), Count, smallDocument),
                {QStringLiteral("--output"), saved});
            commandLineToFiles += files ? files->rate() / Rounds : 0;
        };
        if (round % 2 == 1) {
            alone();
            fromCommandLine();
        } else {
            fromCommandLine();
            alone();
        }
    }
    figure(label("engine_alone_small_docs_per_s", renderers), engine, "docs/s");
    figure(QStringLiteral("command_line_small_docs_per_s"), commandLine, "docs/s");
    figure(QStringLiteral("command_line_no_headings_small_docs_per_s"), commandLinePlain, "docs/s");
    figure(QStringLiteral("command_line_share_of_engine"), engine > 0 ? commandLine / engine : 0, "ratio");
    figure(QStringLiteral("command_line_no_headings_share_of_engine"), engine > 0 ? commandLinePlain / engine : 0, "ratio");
    figure(QStringLiteral("command_line_to_files_small_docs_per_s"), commandLineToFiles, "docs/s");
    figure(QStringLiteral("command_line_to_files_share_of_engine"), engine > 0 ? commandLineToFiles / engine : 0, "ratio");
    figure(QStringLiteral("engine_alone_cpu_ms_per_doc"), engineCpu, "ms");
    figure(QStringLiteral("command_line_tree_cpu_ms_per_doc"), commandLineCpu, "ms");
    figure(QStringLiteral("print_system_cpu_ms_per_job"), schedulerCpu, "ms");
}

// The end of the benchmark, of every section or of one alone: the run goes
// before the application, and pages still rendering do not hold up the exit.
int endEarly(std::unique_ptr<Runner> &runner)
{
    runner.reset();
    platform::endAtOnceIfPagesStillRender(0);
    return 0;
}

// The same run from the real window: Form1 on the offscreen platform, its
// Print button clicked, the closing message answered at once.
double printFromWindow(app::Form1 &window, bench::KeptMessages &messages, const QStringList &entries)
{
    for (const QString &entry : entries)
        window.jobs().add(entry);
    QEventLoop loop;
    const auto done = QObject::connect(&window.printRun(), &printing::PrintRun::finished, &loop, &QEventLoop::quit,
                                       Qt::QueuedConnection);
    QElapsedTimer clock;
    clock.start();
    window.Check2()->click();
    if (window.printRun().running())
        loop.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    QObject::disconnect(done);
    while (window.jobs().count() > 0)
        window.jobs().remove(window.jobs().count());
    if (messages.last != u"Done. Print jobs sent to printer.")
        std::printf("# window run message: %s\n", qPrintable(messages.last.left(300)));
    return entries.size() / seconds;
}

// The engine's start belongs to the window's first run, not to the
// documents measured after it.
void warmUp(Runner &runner, const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    runner.setRenderers(1);
    runner.print(writeDocuments(folder + u"/warm", QStringLiteral("w"), 8, smallDocument));
    figure(QStringLiteral("engine_start_and_8_docs_s"), clock.nsecsElapsed() / 1e9, "s");
}

// The printer options' cost: the same small documents on the queue that
// offers two-sided printing, A4 and monochrome, with those options and two
// copies and without any, alternating.
void measureOptions(Runner &runner, const QString &folder, int renderers)
{
    runner.setRenderers(renderers);
    core::PrinterSettings plain{QStringLiteral("Duplex"), 1, {}};
    core::PrinterSettings chosen{QStringLiteral("Duplex"), 2, {}};
    chosen.set(core::option::Sides, QStringLiteral("two-sided-long-edge"));
    chosen.set(core::option::Media, QStringLiteral("A4"));
    chosen.set(core::option::ColorMode, QStringLiteral("monochrome"));
    double with = 0;
    double without = 0;
    // Each pair in turn goes first, so that neither gets the quieter
    // moments, nor the scheduler's shorter job history.
    constexpr int Rounds = 4;
    for (int round = 1; round <= Rounds; ++round) {
        const QString r = QString::number(round);
        const auto printPlain = [&] {
            runner.setPrinter(plain);
            without += runner.print(writeDocuments(folder + u"/plain" + r, QStringLiteral("p"), 200, smallDocument)) / Rounds;
        };
        const auto printChosen = [&] {
            runner.setPrinter(chosen);
            with += runner.print(writeDocuments(folder + u"/chosen" + r, QStringLiteral("c"), 200, smallDocument)) / Rounds;
        };
        if (round % 2 == 1) {
            printPlain();
            printChosen();
        } else {
            printChosen();
            printPlain();
        }
    }
    runner.setPrinter({});
    figure(QStringLiteral("small_docs_per_s_without_options"), without, "docs/s");
    figure(QStringLiteral("small_docs_per_s_with_options"), with, "docs/s");
    figure(QStringLiteral("options_share_of_without"), without > 0 ? with / without : 0, "ratio");
}

// The 200 small documents printed with settling on and off, in alternating
// rounds so that neither gets the quieter moment: what waiting for pages to
// settle costs a whole run of static documents.
void measureSettling(Runner &runner, const QString &folder, int renderers)
{
    runner.setRenderers(renderers);
    const QString base = folder + u"/settling";
    double on = 0;
    double off = 0;
    constexpr int Rounds = 3;
    for (int round = 0; round < Rounds; ++round) {
        for (const bool settle : round % 2 == 0 ? std::array{false, true} : std::array{true, false}) {
            runner.setSettle(settle);
            const QString set = base + QString::number(round) + (settle ? u"on" : u"off");
            (settle ? on : off) += runner.print(writeDocuments(set, QStringLiteral("s"), 200, smallDocument));
        }
    }
    runner.setSettle(true);
    figure(QStringLiteral("run_small_docs_per_s_settling_off"), off / Rounds, "docs/s");
    figure(QStringLiteral("run_small_docs_per_s_settling_on"), on / Rounds, "docs/s");
    figure(QStringLiteral("run_settling_on_share_of_off"), off > 0 ? on / off : 0, "ratio");
}

// Small and medium documents, and the real manual where it is installed,
// with `renderers` pages: their rates, whether their jobs are vector PDFs in
// list order, and the peak memory. Returns the rates by set.
std::map<QString, double> measureRates(Runner &runner, const QString &folder, int renderers, bool haveManual)
{
    std::map<QString, double> rates;
    runner.setRenderers(renderers);
    const QString k = QString::number(renderers);
    const QString base = folder + u'/';
    // Each figure is for pages already started, as in a long run.
    runner.print(writeDocuments(base + u"warm" + k, QStringLiteral("w"), 4 * renderers, smallDocument));
    const QStringList small = writeDocuments(base + u"small" + k, QStringLiteral("s"), 200, smallDocument);
    const QStringList medium = writeDocuments(base + u"medium" + k, QStringLiteral("m"), 20, mediumDocument);
    runner.resetPeak();
    rates[QStringLiteral("small")] = runner.print(small);
    rates[QStringLiteral("medium")] = runner.print(medium);
    figure(label("small_docs_per_s", renderers), rates[QStringLiteral("small")], "docs/s");
    figure(label("medium_docs_per_s", renderers), rates[QStringLiteral("medium")], "docs/s");
    const JobCheck smallJobs = checkJobs(small, base + u"small" + k, QStringLiteral("Small document"));
    const JobCheck mediumJobs = checkJobs(medium, base + u"medium" + k, QStringLiteral("Medium document"));
    figure(label("jobs_vector_with_text", renderers), smallJobs.vectorWithText + mediumJobs.vectorWithText, "jobs");
    figure(label("jobs_in_list_order", renderers), smallJobs.inOrder + mediumJobs.inOrder, "jobs");
    figure(label("jobs_expected", renderers), small.size() + medium.size(), "jobs");
    if (haveManual) {
        const QStringList manual = gitManual(base + u"git" + k, 100);
        QElapsedTimer clock;
        clock.start();
        const double docsPerSecond = runner.print(manual);
        const double seconds = clock.nsecsElapsed() / 1e9;
        const JobCheck manualJobs = checkJobs(manual, base + u"git" + k, {});
        rates[QStringLiteral("manual_pages")] = manualJobs.pages / seconds;
        figure(label("git_manual_docs_per_s", renderers), docsPerSecond, "docs/s");
        figure(label("git_manual_pages_per_s", renderers), manualJobs.pages / seconds, "pages/s");
        figure(label("git_manual_pages", renderers), manualJobs.pages, "pages");
        figure(label("git_manual_jobs_in_list_order", renderers), manualJobs.inOrder, "jobs");
    }
    figure(label("peak_tree_rss_mb", renderers), runner.peakMB(), "MB");
    return rates;
}

// How much faster more pages make each set than one.
void speedups(std::map<int, std::map<QString, double>> &rates, bool haveManual)
{
    const auto speedup = [&rates](int renderers, const QString &set) {
        return rates[1][set] > 0 ? rates[renderers][set] / rates[1][set] : 0.0;
    };
    for (const int renderers : {2, 4}) {
        figure(label("small_speedup_over_k1", renderers), speedup(renderers, QStringLiteral("small")), "x");
        figure(label("medium_speedup_over_k1", renderers), speedup(renderers, QStringLiteral("medium")), "x");
        if (haveManual)
            figure(label("git_manual_pages_speedup_over_k1", renderers), speedup(renderers, QStringLiteral("manual_pages")), "x");
    }
}

// The real window against the same run without it, at the default number
// of pages, alternating so that neither gets the quieter moment.
void measureWindow(Runner &runner, const QString &folder, int renderers)
{
    core::Desktop desktop = core::makeQtDesktop();
    auto kept = std::make_unique<bench::KeptMessages>();
    bench::KeptMessages &messages = *kept;
    desktop.messageBox = std::move(kept);
    app::Form1 window(std::move(desktop));
    printing::RunSettings settings = window.printRun().settings();
    settings.renderers = renderers;
    window.printRun().setSettings(settings);
    window.show();
    runner.setRenderers(renderers);
    const QString base = folder + u'/';
    printFromWindow(window, messages, writeDocuments(base + u"windowwarm", QStringLiteral("w"), 8, smallDocument));
    double withWindow = 0;
    double without = 0;
    for (int round = 1; round <= 2; ++round) {
        const QString r = QString::number(round);
        without += runner.print(writeDocuments(base + u"bare" + r, QStringLiteral("b"), 200, smallDocument));
        withWindow += printFromWindow(window, messages, writeDocuments(base + u"window" + r, QStringLiteral("f"), 200, smallDocument));
    }
    figure(label("window_small_docs_per_s", renderers), withWindow / 2, "docs/s");
    figure(label("no_window_small_docs_per_s", renderers), without / 2, "docs/s");
    figure(QStringLiteral("window_share_of_no_window"), without > 0 ? withWindow / without : 0, "ratio");
}

// Memory over a long run at the default number of pages: the whole tree at
// the 100th and at the last document.
void measureLongRun(Runner &runner, const QString &folder, int renderers, int documents)
{
    runner.setRenderers(renderers);
    double at100 = 0;
    double atEnd = 0;
    const auto sample = QObject::connect(&runner.printRun(), &printing::PrintRun::entryFinished,
                                         [&](int step, int total) {
                                             if (step == 100)
                                                 at100 = bench::treeResidentMB();
                                             if (step == total)
                                                 atEnd = bench::treeResidentMB();
                                         });
    runner.resetPeak();
    figure(QStringLiteral("long_run_docs_per_s"),
           runner.print(writeDocuments(folder + u"/long", QStringLiteral("l"), documents, smallDocument)), "docs/s");
    QObject::disconnect(sample);
    figure(QStringLiteral("long_run_docs"), documents, "docs");
    figure(QStringLiteral("tree_rss_at_doc_100_mb"), at100, "MB");
    figure(QStringLiteral("tree_rss_at_last_doc_mb"), atEnd, "MB");
    figure(QStringLiteral("tree_rss_growth_mb"), atEnd - at100, "MB");
    figure(QStringLiteral("long_run_peak_tree_rss_mb"), runner.peakMB(), "MB");
}

} // namespace

// Until the rig has printed every job it took, or `ms` have passed.
void waitForEmptyQueue(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!rig::queueEmpty(qEnvironmentVariable("CUPS_SERVER")) && clock.elapsed() < ms)
        QThread::msleep(100);
}

// The whole run, from the program's start to its end, in documents a second.
std::optional<double> wholeRunRate(const QStringList &entries, const QStringList &options)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(TAVIMARK_BINARY), QStringList{QStringLiteral("--print")} + options + entries);
    if (!process.waitForFinished(10 * 60 * 1000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::printf("# the command line ended with status %d\n", process.exitCode());
        return std::nullopt;
    }
    return entries.size() / (clock.nsecsElapsed() / 1e9);
}

// The program's own peak memory (its main process, where documents are
// finished and combined), read while it runs: the high-water mark only grows.
double peakMemoryMB(const QStringList &entries, const QStringList &options)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStringLiteral(TAVIMARK_BINARY), QStringList{QStringLiteral("--print")} + options + entries);
    if (!process.waitForStarted())
        return -1;
    double peak = 0;
    const QString status = u"/proc/" + QString::number(process.processId()) + u"/status";
    while (!process.waitForFinished(50)) {
        QFile file(status);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peak = std::max(peak, line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0);
        }
    }
    return peak;
}

// One job for the whole run against one job per entry and against the
// engine alone, on the same 200 small documents into the rig, in rounds
// that alternate the order; bookmarks' cost on files written, with and
// without; the program's peak memory combining 2,000 small documents
// against one job each.
void measureCombine(const QString &folder, int renderers)
{
    engineAlone(writeDocuments(folder + u"/combinewarm", QStringLiteral("w"), 8, smallDocument), renderers);
    constexpr int Rounds = 3;
    constexpr int Count = 200;
    double engine = 0;
    double each = 0;
    double combined = 0;
    double eachSpan = 0;
    for (int round = 1; round <= Rounds; ++round) {
        const QString r = QString::number(round);
        const auto documents = [&](const QString &name) {
            return writeDocuments(folder + u'/' + name + r, name.left(1), Count, smallDocument);
        };
        const auto alone = [&] {
            const QStringList entries = documents(QStringLiteral("alone"));
            QElapsedTimer clock;
            clock.start();
            engineAlone(entries, renderers);
            engine += Count / (clock.nsecsElapsed() / 1e9) / Rounds;
        };
        const auto oneEach = [&] {
            const QStringList entries = documents(QStringLiteral("each"));
            QElapsedTimer clock;
            clock.start();
            const auto span = bench::printFromCommandLine(QStringLiteral(TAVIMARK_BINARY), entries);
            each += Count / (clock.nsecsElapsed() / 1e9) / Rounds;
            eachSpan += span ? span->rate() / Rounds : 0;
            waitForEmptyQueue(120'000);
        };
        const auto oneJob = [&] {
            combined += wholeRunRate(documents(QStringLiteral("job")), {QStringLiteral("--combine")}).value_or(0) / Rounds;
            waitForEmptyQueue(120'000);
        };
        if (round % 2 == 1) {
            alone();
            oneEach();
            oneJob();
        } else {
            oneJob();
            oneEach();
            alone();
        }
    }
    figure(QStringLiteral("combine_bench_documents"), Count, "docs");
    figure(label("engine_alone_whole_run_docs_per_s", renderers), engine, "docs/s");
    figure(QStringLiteral("one_job_each_whole_run_docs_per_s"), each, "docs/s");
    figure(QStringLiteral("one_job_each_first_to_last_docs_per_s"), eachSpan, "docs/s");
    figure(QStringLiteral("combined_whole_run_docs_per_s"), combined, "docs/s");
    figure(QStringLiteral("combined_share_of_engine"), engine > 0 ? combined / engine : 0, "ratio");
    figure(QStringLiteral("one_job_each_share_of_engine"), engine > 0 ? each / engine : 0, "ratio");

    // Bookmarks cost on the files a person keeps: the same documents, with
    // headings, written with and without them.
    double with = 0;
    double without = 0;
    for (int round = 1; round <= Rounds; ++round) {
        const QString r = QString::number(round);
        const auto toFiles = [&](const QString &name, const QStringList &options) {
            const QString out = folder + u"/out" + name + r;
            QDir().mkpath(out);
            const auto span = bench::printFromCommandLine(
                QStringLiteral(TAVIMARK_BINARY), writeDocuments(folder + u'/' + name + r, name.left(1), Count, smallDocument),
                QStringList{QStringLiteral("--output"), out} + options);
            return span ? span->rate() / Rounds : 0;
        };
        if (round % 2 == 1) {
            with += toFiles(QStringLiteral("marked"), {});
            without += toFiles(QStringLiteral("plain"), {QStringLiteral("--no-bookmarks")});
        } else {
            without += toFiles(QStringLiteral("plain"), {QStringLiteral("--no-bookmarks")});
            with += toFiles(QStringLiteral("marked"), {});
        }
    }
    figure(QStringLiteral("files_docs_per_s_with_bookmarks"), with, "docs/s");
    figure(QStringLiteral("files_docs_per_s_without_bookmarks"), without, "docs/s");
    figure(QStringLiteral("bookmarks_cost"), without > 0 ? (without - with) / without * 100 : 0, "%");

    constexpr int Many = 2000;
    const QStringList many = writeDocuments(folder + u"/many", QStringLiteral("m"), Many, smallDocument);
    figure(QStringLiteral("peak_memory_one_job_each_2000_mb"), peakMemoryMB(many, {}), "MB");
    waitForEmptyQueue(300'000);
    figure(QStringLiteral("peak_memory_combined_2000_mb"), peakMemoryMB(many, {QStringLiteral("--combine")}), "MB");
    waitForEmptyQueue(300'000);
}

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    platform::letHiddenPagesKeepTime();
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || qEnvironmentVariableIsEmpty("TAVIMARK_RIG")) {
        std::fprintf(stderr, "bench_print needs a running print test rig (scripts/bench.sh starts one)\n");
        return 2;
    }
    const int longRun = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    const int defaultRenderers = printing::RunSettings::defaultRenderers();
    QTemporaryDir dir;
    const QString folder = dir.path();
    const bool haveManual = QFileInfo::exists(QStringLiteral("/usr/share/doc/git-doc"));
    if (!haveManual)
        std::printf("# git-doc is not installed; the manual's figures are left out\n");
    figure(QStringLiteral("default_renderers"), defaultRenderers, "pages");

    // Destroyed before the application, so that its pages go before the
    // engine's profile does.
    auto ownRunner = std::make_unique<Runner>();
    Runner &runner = *ownRunner;
    warmUp(runner, folder);

    const QString only = qEnvironmentVariable("TAVIMARK_BENCH_ONLY");
    if (only.isEmpty() || only == u"options")
        measureOptions(runner, folder, defaultRenderers);
    if (only == u"options")
        return endEarly(ownRunner);
    if (only.isEmpty() || only == u"following")
        measureFollowing(runner, folder, defaultRenderers);
    if (only == u"following")
        return endEarly(ownRunner);
    if (only == u"headings") {
        measureHeadings(runner, folder, defaultRenderers);
        return endEarly(ownRunner);
    }
    if (only.isEmpty() || only == u"settling")
        measureSettling(runner, folder, defaultRenderers);
    if (only == u"settling")
        return endEarly(ownRunner);
    if (only == u"combine") {
        measureCombine(folder, defaultRenderers);
        return endEarly(ownRunner);
    }
    if (only.isEmpty() || only == u"engine")
        measureEngineShare(folder, defaultRenderers);
    if (only == u"engine")
        return endEarly(ownRunner);

    std::map<int, std::map<QString, double>> rates;
    for (const int renderers : {1, 2, 4}) {
        if (only == u"renderers" && renderers == 4)
            break;
        rates[renderers] = measureRates(runner, folder, renderers, haveManual);
    }
    if (only == u"renderers")
        return endEarly(ownRunner);
    speedups(rates, haveManual);
    measureHeadings(runner, folder, defaultRenderers);
    measureWindow(runner, folder, defaultRenderers);
    measureLongRun(runner, folder, defaultRenderers, longRun);
    return endEarly(ownRunner);
}
