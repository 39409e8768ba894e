// SPDX-License-Identifier: GPL-3.0-or-later
// What the headers and footers cost. The input is what the print run hands
// over: PDFs the real engine printed from documents on disk, one of one page
// and one of five. Figures:
//  - the time of one call, on the clock and in CPU time of the calling thread,
//    and the bytes it adds; for a small document also under a Hebrew and a
//    Chinese title, which are drawn in fonts embedded in the job;
//  - documents per second through the engine alone (load, then print to PDF,
//    as the run does) and with the headings added, both on the run's own
//    thread and on a worker thread beside it, and the ratio to the rate
//    without headings (the run must keep at least 90%).
// The print system is left out, so the rates are higher than a run's and the
// ratios are the harder test.
#include "common.h"

#include "platform/engine/enginerenderer.h"
#include "printing/headerfooter/headerfooter.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <algorithm>
#include <ctime>
#include <map>

#include <unistd.h>

namespace {

// The layout the run prints with: A4, margins of 10 mm.
const QPageLayout PrintLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                              QPageLayout::Millimeter);

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A document of `sections` sections of text with a small table in each;
// about seven sections fill an A4 page.
QString document(int number, int sections)
{
    QString html = u"<!doctype html><html><head><meta charset=\"utf-8\"><title>Report " + QString::number(number)
        + u"</title><style>body{font-family:sans-serif} td{padding:2px 6px;border:1px solid #888}"
          u"</style></head><body><h1>Report " + QString::number(number) + u"</h1>";
    for (int s = 1; s <= sections; ++s) {
        html += u"<h2>Part " + QString::number(s) + u"</h2><p>Every part of this report says the same thing "
                u"in different numbers, which is what reports are for: " + QString::number(number * s)
            + u" items were counted, checked and put in the table below.</p><table><tr>";
        for (int c = 1; c <= 6; ++c)
            html += u"<td>" + QString::number(s * c) + u"</td>";
        html += u"</tr></table>";
    }
    return html + u"</body></html>";
}

QStringList writeDocuments(const QString &folder, int count, int sections)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString path = folder + u"/report" + QString::number(i) + u".htm";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(document(i, sections).toUtf8());
        paths << path;
    }
    return paths;
}

// Loads and prints one document as the run does, waiting for each step.
class Engine {
public:
    Engine()
        : m_page(&m_profile)
    {
    }

    QByteArray print(const QString &path)
    {
        QEventLoop loop;
        bool loaded = false;
        const auto connection = QObject::connect(&m_page, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
            loaded = ok;
            loop.quit();
        });
        m_page.load(QUrl::fromLocalFile(path));
        loop.exec();
        QObject::disconnect(connection);
        if (!loaded)
            return {};
        QByteArray pdf;
        m_page.printToPdf(
            [&](const QByteArray &bytes) {
                pdf = bytes;
                loop.quit();
            },
            PrintLayout);
        loop.exec();
        return pdf;
    }

private:
    QWebEngineProfile m_profile;
    QWebEnginePage m_page;
};

printing::PageHeadings headingsFor(const QString &path)
{
    return {QFileInfo(path).completeBaseName(), path, printing::runStartText(QDateTime::currentDateTime())};
}

int pageCount(const QByteArray &pdf, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("count.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    file.write(pdf);
    file.close();
    QProcess pdfinfo;
    pdfinfo.start(QStringLiteral("pdfinfo"), {path});
    pdfinfo.waitForFinished(30000);
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(pdfinfo.readAllStandardOutput()));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

struct CallCost {
    double wallMs = 0;
    double cpuMs = 0;
    qsizetype bytesAdded = 0;
};

CallCost measureCalls(const QByteArray &pdf, int calls,
                      const printing::PageHeadings &headings = headingsFor(QStringLiteral("/home/reader/reports/report1.htm")))
{
    qsizetype outSize = 0;
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = threadCpuMs();
    for (int i = 0; i < calls; ++i)
        outSize = printing::addHeadersAndFooters(pdf, headings).value_or(QByteArray()).size();
    return {clock.nsecsElapsed() / 1e6 / calls, (threadCpuMs() - cpuStart) / calls, outSize - pdf.size()};
}

enum class Headings { None, OnRunThread, OnWorkerThread };

struct RunCost {
    double docsPerSecond = 0;
    double cpuMsPerDoc = 0;  // of the whole process tree
};

// Documents through the engine, with the headings added as asked.
RunCost runCost(Engine &engine, const QStringList &documents, Headings headings)
{
    QThreadPool worker;
    worker.setMaxThreadCount(1);
    QAtomicInt stamped = 0;
    QElapsedTimer clock;
    clock.start();
    const bench::TreeCpu cpuStart = bench::treeCpu();
    for (const QString &path : documents) {
        const QByteArray pdf = engine.print(path);
        if (headings == Headings::OnRunThread) {
            if (printing::addHeadersAndFooters(pdf, headingsFor(path)))
                stamped.ref();
        } else if (headings == Headings::OnWorkerThread) {
            worker.start([pdf, path, &stamped] {
                if (printing::addHeadersAndFooters(pdf, headingsFor(path)))
                    stamped.ref();
            });
        }
    }
    worker.waitForDone();
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpuSeconds = bench::cpuSecondsSince(cpuStart);
    if (headings != Headings::None && stamped.loadRelaxed() != documents.size())
        std::printf("# only %d of %d documents got their headings\n", stamped.loadRelaxed(), int(documents.size()));
    return {documents.size() / seconds, cpuSeconds * 1e3 / documents.size()};
}

// The best of `rounds` for each way, the ways taken in turn so that a busy
// machine slows them alike. Where the machine has no core to spare, the rate
// follows the CPU time per document, so the share kept is also given by that.
void compareRates(Engine &engine, const QStringList &documents, const char *prefix, int rounds)
{
    RunCost plain;
    RunCost onRunThread;
    RunCost onWorker;
    const auto best = [](RunCost &kept, const RunCost &run) {
        kept.docsPerSecond = std::max(kept.docsPerSecond, run.docsPerSecond);
        kept.cpuMsPerDoc = kept.cpuMsPerDoc == 0 ? run.cpuMsPerDoc : std::min(kept.cpuMsPerDoc, run.cpuMsPerDoc);
    };
    for (int round = 0; round < rounds; ++round) {
        best(plain, runCost(engine, documents, Headings::None));
        best(onRunThread, runCost(engine, documents, Headings::OnRunThread));
        best(onWorker, runCost(engine, documents, Headings::OnWorkerThread));
    }
    const auto figure = [prefix](const char *name, double value, const char *unit) {
        bench::figure(QByteArray(QByteArray(prefix) + name).constData(), value, unit);
    };
    figure("_docs_per_s_without_headings", plain.docsPerSecond, "docs/s");
    figure("_docs_per_s_headings_on_run_thread", onRunThread.docsPerSecond, "docs/s");
    figure("_docs_per_s_headings_on_worker", onWorker.docsPerSecond, "docs/s");
    figure("_rate_kept_on_run_thread", 100 * onRunThread.docsPerSecond / plain.docsPerSecond, "%");
    figure("_rate_kept_on_worker", 100 * onWorker.docsPerSecond / plain.docsPerSecond, "%");
    figure("_run_cpu_ms_per_doc_without_headings", plain.cpuMsPerDoc, "ms");
    figure("_run_cpu_ms_per_doc_with_headings", onWorker.cpuMsPerDoc, "ms");
    figure("_rate_kept_when_cpu_bound", 100 * plain.cpuMsPerDoc / onWorker.cpuMsPerDoc, "%");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const QStringList small = writeDocuments(dir.filePath(QStringLiteral("small")), 60, 3);
    const QStringList medium = writeDocuments(dir.filePath(QStringLiteral("medium")), 12, 34);
    const QStringList longDocument = writeDocuments(dir.filePath(QStringLiteral("long")), 1, 700);

    Engine engine;
    const QByteArray smallPdf = engine.print(small.first());
    const QByteArray mediumPdf = engine.print(medium.first());
    const QByteArray longPdf = engine.print(longDocument.first());
    const int smallPages = pageCount(smallPdf, dir);
    const int mediumPages = pageCount(mediumPdf, dir);
    const int longPages = pageCount(longPdf, dir);
    bench::figure("small_doc_pages", smallPages, "pages");
    bench::figure("medium_doc_pages", mediumPages, "pages");
    bench::figure("long_doc_pages", longPages, "pages");
    if (smallPages < 1 || mediumPages < 1 || longPages < 1) {
        std::fprintf(stderr, "the engine did not print the documents\n");
        return 1;
    }

    measureCalls(smallPdf, 5);  // fonts found and cached once, as in a run's first document
    const CallCost smallCost = measureCalls(smallPdf, 200);
    bench::figure("small_doc_ms", smallCost.wallMs, "ms");
    bench::figure("small_doc_cpu_ms", smallCost.cpuMs, "ms");
    bench::figure("small_doc_bytes_added", double(smallCost.bytesAdded), "bytes");
    // Titles in other scripts are drawn by Qt with their fonts embedded.
    for (const auto &[script, title] : {std::pair{"hebrew", QStringLiteral("דוח שנתי")},
                                        std::pair{"chinese", QStringLiteral("年度报告")}}) {
        printing::PageHeadings headings = headingsFor(small.first());
        headings.title = title;
        measureCalls(smallPdf, 5, headings);
        const CallCost cost = measureCalls(smallPdf, 100, headings);
        bench::figure(QByteArray(QByteArray("small_doc_cpu_ms_") + script).constData(), cost.cpuMs, "ms");
        bench::figure(QByteArray(QByteArray("small_doc_bytes_added_") + script).constData(), double(cost.bytesAdded), "bytes");
    }
    const CallCost mediumCost = measureCalls(mediumPdf, 100);
    bench::figure("medium_doc_ms", mediumCost.wallMs, "ms");
    bench::figure("medium_doc_cpu_ms", mediumCost.cpuMs, "ms");
    bench::figure("medium_doc_bytes_added", double(mediumCost.bytesAdded), "bytes");
    bench::figure("medium_doc_pages_per_s", mediumPages / (mediumCost.wallMs / 1e3), "pages/s");
    const CallCost longCost = measureCalls(longPdf, 5);
    bench::figure("long_doc_ms", longCost.wallMs, "ms");
    bench::figure("long_doc_pages_per_s", longPages / (longCost.wallMs / 1e3), "pages/s");

    compareRates(engine, small, "small", 2);
    compareRates(engine, medium, "medium", 2);
    bench::figure("peak_rss_mb", bench::peakResidentMB(), "MB");
    return 0;
}
