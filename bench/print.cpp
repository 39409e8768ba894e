// The print run through the real engine onto the print test rig's queue:
// documents per second for small and medium documents, bytes per job, the
// peak resident memory of the whole process tree (the engine's helper
// processes included), the raster path through QPrinter for comparison, and
// whether memory stays flat over a long run.
//
// Needs CUPS_SERVER and TAVIMARK_RIG pointing at a running rig
// (scripts/bench.sh starts and stops one).
#include "common.h"
#include "standins.h"

#include "joblist/joblist.h"
#include "platform/desktop.h"
#include "platform/documentprinter.h"
#include "platform/eventyield.h"
#include "platform/mousepointer.h"
#include "printing/printrun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <map>

namespace {

// Resident memory of this process and every process below it, in megabytes.
double treeResidentMB()
{
    std::multimap<qint64, qint64> children;  // parent -> child
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::map<qint64, double> rssKb;
    for (const QString &name : pids) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        if (!isPid)
            continue;
        QFile status(u"/proc/" + name + u"/status");
        if (!status.open(QIODevice::ReadOnly))
            continue;
        qint64 parent = -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("PPid:"))
                parent = line.mid(5).trimmed().toLongLong();
            else if (line.startsWith("VmRSS:"))
                rssKb[pid] = line.mid(6).trimmed().split(' ').first().toDouble();
        }
        children.emplace(parent, pid);
    }
    double total = 0;
    QList<qint64> pending{QCoreApplication::applicationPid()};
    while (!pending.isEmpty()) {
        const qint64 pid = pending.takeLast();
        total += rssKb[pid];
        const auto [first, last] = children.equal_range(pid);
        for (auto it = first; it != last; ++it)
            pending << it->second;
    }
    return total / 1024.0;
}

QString paragraphs(int count, int seed)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += u"<p>Paragraph " + QString::number(i + 1) + u" of document " + QString::number(seed)
            + u": the quick brown fox jumps over the lazy dog, and then it sits down for a rest in "
              u"the warm afternoon sun while the dog, unimpressed, goes back to sleep.</p>";
    return text;
}

QString smallDocument(int n)
{
    return u"<!doctype html><html><head><meta charset=\"utf-8\"><title>Small " + QString::number(n)
        + u"</title><style>body{font-family:sans-serif} h1{color:#124}</style></head><body><h1>Small document "
        + QString::number(n) + u"</h1>" + paragraphs(4, n) + u"</body></html>";
}

// About five printed A4 pages: text, a 30-row table with backgrounds, and
// an inline drawing.
QString mediumDocument(int n)
{
    QString table = QStringLiteral("<table border=1 cellspacing=0 cellpadding=4><tr style=\"background:#dde\">"
                                   "<th>Row</th><th>Item</th><th>Quantity</th><th>Price</th></tr>");
    for (int row = 1; row <= 30; ++row)
        table += u"<tr><td>" + QString::number(row) + u"</td><td>Item " + QString::number(row * 7 % 31)
            + u"</td><td>" + QString::number(row * 3) + u"</td><td>" + QString::number(row * 2.5, 'f', 2)
            + u"</td></tr>";
    table += u"</table>";
    const QString svg = QStringLiteral(
        "<svg width=\"400\" height=\"200\" xmlns=\"http://www.w3.org/2000/svg\">"
        "<rect x=\"10\" y=\"10\" width=\"380\" height=\"180\" fill=\"#eef\" stroke=\"#336\"/>"
        "<circle cx=\"100\" cy=\"100\" r=\"60\" fill=\"#c33\"/><polyline points=\"200,180 250,40 300,150 350,60\" "
        "fill=\"none\" stroke=\"#393\" stroke-width=\"4\"/><text x=\"200\" y=\"30\">Figure</text></svg>");
    return u"<!doctype html><html><head><meta charset=\"utf-8\"><title>Medium " + QString::number(n)
        + u"</title><style>body{font-family:serif} td{font-size:11pt}</style></head><body><h1>Medium document "
        + QString::number(n) + u"</h1>" + paragraphs(25, n) + table + svg + paragraphs(25, n + 1000)
        + u"</body></html>";
}

QStringList writeDocuments(const QString &folder, const QString &stem, int count, QString (*make)(int))
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString path = folder + u'/' + stem + QString::number(i) + u".htm";
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(make(i).toUtf8());
        paths << path;
    }
    return paths;
}

QString rigJobs() { return qEnvironmentVariable("TAVIMARK_RIG") + u"/jobs"; }

// The captured jobs whose titles start with `prefix`, once all `count` are there.
QStringList waitForJobs(const QString &prefix, int count)
{
    QElapsedTimer waited;
    waited.start();
    QStringList found;
    while (waited.elapsed() < 120'000) {
        found.clear();
        const QDir jobs(rigJobs());
        for (const QString &pdf : jobs.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
            QFile title(jobs.filePath(pdf.chopped(4) + u".title"));
            if (title.open(QIODevice::ReadOnly) && QString::fromUtf8(title.readAll()).startsWith(prefix))
                found << jobs.filePath(pdf);
        }
        if (found.size() >= count)
            break;
        QThread::msleep(100);
    }
    return found;
}

struct JobCheck {
    double bytesPerJob = 0;
    int vectorWithText = 0;
};

// Every job must be a PDF in which pdftotext finds the document's heading.
JobCheck checkJobs(const QStringList &files, const QString &heading)
{
    JobCheck check;
    qint64 bytes = 0;
    for (const QString &file : files) {
        QFile pdf(file);
        bytes += pdf.size();
        if (!pdf.open(QIODevice::ReadOnly) || !pdf.read(5).startsWith("%PDF-"))
            continue;
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        pdftotext.waitForFinished(30000);
        if (QString::fromUtf8(pdftotext.readAllStandardOutput()).contains(heading))
            ++check.vectorWithText;
    }
    check.bytesPerJob = files.isEmpty() ? 0 : double(bytes) / files.size();
    return check;
}

class Bench {
public:
    explicit Bench(platform::PrintPath path)
        : m_printer(platform::makeDocumentPrinter(path))
        , m_run({m_jobs, *m_printer, m_yield, m_pointer, m_messages, nullptr})
    {
        // The peak is sampled while the run goes on; the run yields often.
        QObject::connect(&m_sampler, &QTimer::timeout, [this] { m_peakMB = std::max(m_peakMB, treeResidentMB()); });
        m_sampler.start(250);
    }

    // Prints `entries` in one run; returns documents per second.
    double run(const QStringList &entries)
    {
        for (const QString &entry : entries)
            m_jobs.add(entry);
        QElapsedTimer clock;
        clock.start();
        m_run.Check2();
        const double seconds = clock.nsecsElapsed() / 1e9;
        while (m_jobs.count() > 0)
            m_jobs.remove(m_jobs.count());
        if (m_messages.last != u"Done. Print jobs sent to printer.")
            std::printf("# run message: %s\n", qPrintable(m_messages.last));
        return entries.size() / seconds;
    }

    printing::PrintRun &printRun() { return m_run; }
    double peakMB() const { return std::max(m_peakMB, treeResidentMB()); }

private:
    joblist::JobList m_jobs;
    platform::EventYield m_yield;
    bench::WindowPointer m_pointer;
    bench::KeptMessages m_messages;
    std::unique_ptr<platform::DocumentPrinter> m_printer;
    printing::PrintRun m_run;
    QTimer m_sampler;
    double m_peakMB = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || qEnvironmentVariableIsEmpty("TAVIMARK_RIG")) {
        std::fprintf(stderr, "bench_print needs a running print test rig (scripts/bench.sh starts one)\n");
        return 2;
    }
    const int longRun = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    const QStringList small = writeDocuments(dir.filePath(QStringLiteral("small")), QStringLiteral("s"), 200, smallDocument);
    const QStringList medium = writeDocuments(dir.filePath(QStringLiteral("medium")), QStringLiteral("m"), 20, mediumDocument);
    const QStringList warmUp = writeDocuments(dir.filePath(QStringLiteral("warm")), QStringLiteral("w"), 5, smallDocument);
    const QStringList raster = writeDocuments(dir.filePath(QStringLiteral("raster")), QStringLiteral("r"), 5, smallDocument);
    const QStringList many = writeDocuments(dir.filePath(QStringLiteral("long")), QStringLiteral("l"), longRun, smallDocument);

    {
        Bench bench(platform::PrintPath::Vector);
        // The engine's start belongs to the window's first run, not to the
        // documents measured here.
        QElapsedTimer clock;
        clock.start();
        bench.run(warmUp);
        bench::figure("engine_start_and_5_docs_s", clock.nsecsElapsed() / 1e9, "s");
        bench::figure("small_docs_per_s", bench.run(small), "docs/s");
        bench::figure("medium_docs_per_s", bench.run(medium), "docs/s");

        const JobCheck smallJobs = checkJobs(waitForJobs(dir.filePath(QStringLiteral("small")), small.size()),
                                             QStringLiteral("Small document"));
        const JobCheck mediumJobs = checkJobs(waitForJobs(dir.filePath(QStringLiteral("medium")), medium.size()),
                                              QStringLiteral("Medium document"));
        bench::figure("small_bytes_per_job", smallJobs.bytesPerJob, "bytes");
        bench::figure("medium_bytes_per_job", mediumJobs.bytesPerJob, "bytes");
        bench::figure("jobs_vector_with_text", smallJobs.vectorWithText + mediumJobs.vectorWithText, "jobs");
        bench::figure("jobs_expected", small.size() + medium.size(), "jobs");

        // Memory over a long run: the whole tree at the 100th and the last document.
        double at100 = 0;
        double atEnd = 0;
        QObject::connect(&bench.printRun(), &printing::PrintRun::entryFinished,
                         [&](int position, const QString &, printing::EntryResult, const QString &) {
                             if (position == 100)
                                 at100 = treeResidentMB();
                             if (position == longRun)
                                 atEnd = treeResidentMB();
                         });
        bench::figure("long_run_docs_per_s", bench.run(many), "docs/s");
        bench::figure("long_run_docs", longRun, "docs");
        bench::figure("tree_rss_at_doc_100_mb", at100, "MB");
        bench::figure("tree_rss_at_last_doc_mb", atEnd, "MB");
        bench::figure("tree_rss_growth_mb", atEnd - at100, "MB");
        bench::figure("peak_tree_rss_mb", bench.peakMB(), "MB");
    }
    {
        Bench bench(platform::PrintPath::Raster);
        bench.run(warmUp.mid(0, 1));
        bench::figure("raster_small_docs_per_s", bench.run(raster), "docs/s");
        const JobCheck rasterJobs = checkJobs(waitForJobs(dir.filePath(QStringLiteral("raster")), raster.size()),
                                              QStringLiteral("Small document"));
        bench::figure("raster_small_bytes_per_job", rasterJobs.bytesPerJob, "bytes");
        bench::figure("raster_jobs_with_text", rasterJobs.vectorWithText, "jobs");
    }
    return 0;
}
