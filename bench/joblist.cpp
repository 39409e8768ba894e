// Appends a million entries of about 80 characters through the add operation
// into the live view, then removes a thousand from the middle, letting the
// view catch up after each removal as it would between two double-clicks.
#include "common.h"
#include "standins.h"

#include "joblist/joblist.h"
#include "joblist/joblistview.h"

#include <QApplication>

#include <algorithm>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1'000'000;
    const int removals = 1000;

    bench::ShownJobList list;
    joblist::JobList &jobs = list.jobs;
    joblist::JobListView &view = list.view;

    // Texts are made before the clock starts: the figure is the list's cost.
    QStringList texts;
    texts.reserve(entries);
    for (int i = 0; i < entries; ++i)
        texts << QStringLiteral("/home/user/Documents/reports/2026/quarterly/department-%1/report.html").arg(i, 8, 10, QChar(u'0'));

    QElapsedTimer clock;
    clock.start();
    for (const QString &text : texts)
        jobs.add(text);
    QCoreApplication::processEvents();
    const double appendSeconds = clock.nsecsElapsed() / 1e9;
    texts.clear();
    texts.squeeze();

    view.scrollTo(jobs.index(jobs.count() / 2, 0));
    QCoreApplication::processEvents();
    // Two figures per removal: the removal itself (model and view bookkeeping),
    // and the removal with the repaint of the rows on screen that follows it.
    std::vector<double> removalMs, withPaintMs;
    removalMs.reserve(removals);
    withPaintMs.reserve(removals);
    for (int i = 0; i < removals; ++i) {
        clock.restart();
        jobs.remove(jobs.count() / 2);
        removalMs.push_back(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        withPaintMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(removalMs.begin(), removalMs.end());
    std::sort(withPaintMs.begin(), withPaintMs.end());

    bench::figure("entries", entries, "entries");
    bench::figure("append_all_s", appendSeconds, "s");
    bench::figure("append_per_entry_us", appendSeconds * 1e6 / entries, "us");
    bench::figure("removal_median_ms", removalMs[removalMs.size() / 2], "ms");
    bench::figure("removal_max_ms", removalMs.back(), "ms");
    bench::figure("removal_and_repaint_median_ms", withPaintMs[withPaintMs.size() / 2], "ms");
    bench::figure("removal_and_repaint_max_ms", withPaintMs.back(), "ms");
    bench::figure("peak_rss_mb", bench::peakResidentMB(), "MB");
    return 0;
}
