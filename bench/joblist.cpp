// SPDX-License-Identifier: GPL-3.0-or-later
// Appends a million entries of about 80 characters through the add operation
// into a live view, then removes a thousand from the middle, letting the view
// catch up after each removal as it would between two double-clicks.
//
// The same run goes through the hand-written parts and through what Qt
// offers in their place, so that each one's figures say whether it is still
// needed for a million appends in 2 s and a removal under 1 ms:
//   (no prefix)           the job list's chunked store in the hand-written view
//   qlistview_            the same store in a QListView with uniform item
//                         sizes, its column title in a QHeaderView above it
//   stringlist_qlistview_ a plain QStringList-backed model in that QListView
//   store_chunks_         the chunked store alone, no model and no view
//   store_stringlist_     a QStringList alone
//   scattered_removal_    a hundred thousand entries, every other one
//                         printed, shown in the hand-written view: the time
//                         the list menu's "Remove printed entries" takes,
//                         the worst case for its removal in runs
// Each configuration runs in a process of its own, so that each peak memory
// figure is its own.
#include "common.h"
#include "standins.h"

#include "joblist/entrystore.h"
#include "joblist/joblist.h"
#include "joblist/outcomes.h"
#include "joblist/view/joblistview.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QHeaderView>
#include <QListView>
#include <QProcess>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A QListView lays out every row again after each removal, so its runs
// take fewer removals to finish in reasonable time.
constexpr int Removals = 1000;
constexpr int ListViewRemovals = 100;
constexpr int ScatteredEntries = 100'000;

QStringList makeTexts(int entries)
{
    QStringList texts;
    texts.reserve(entries);
    for (int i = 0; i < entries; ++i)
        texts << QStringLiteral("/home/user/Documents/reports/2026/quarterly/department-%1/report.html").arg(i, 8, 10, QChar(u'0'));
    return texts;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double maximum(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

void figure(const QByteArray &prefix, const char *name, double value, const char *unit)
{
    bench::figure(QByteArray(prefix + name).constData(), value, unit);
}

// The job list's interface over a plain QStringList, for comparison.
class StringListJobs final : public QAbstractListModel {
public:
    void add(const QString &text)
    {
        const int row = count();
        beginInsertRows({}, row, row);
        m_texts.append(text);
        endInsertRows();
    }
    void remove(int position)
    {
        beginRemoveRows({}, position - 1, position - 1);
        m_texts.removeAt(position - 1);
        endRemoveRows();
    }
    int count() const { return int(m_texts.size()); }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : count(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= count())
            return {};
        return m_texts.at(index.row());
    }
    QVariant headerData(int, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QStringLiteral("HTML File(s)");
        return {};
    }

private:
    QStringList m_texts;
};

// A QListView with the column title drawn by a header above it, sized as
// the window's list.
struct ListViewWithHeader {
    QWidget frame;
    QHeaderView *header = new QHeaderView(Qt::Horizontal, &frame);
    QListView *list = new QListView(&frame);

    explicit ListViewWithHeader(QAbstractItemModel &model)
    {
        auto *layout = new QVBoxLayout(&frame);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        header->setModel(&model);
        list->setModel(&model);
        list->setUniformItemSizes(true);
        layout->addWidget(header);
        layout->addWidget(list);
        frame.resize(601, 153);
        frame.show();
        QCoreApplication::processEvents();
    }
};

// Appends every text, then removes from the middle `removals` times; one
// figure per step as described at the top.
template <typename Jobs>
void measureShown(const QByteArray &prefix, Jobs &jobs, QAbstractItemView &view, QStringList texts, int removals)
{
    const int entries = int(texts.size());
    QElapsedTimer clock;
    clock.start();
    for (const QString &text : std::as_const(texts))
        jobs.add(text);
    QCoreApplication::processEvents();
    const double appendSeconds = clock.nsecsElapsed() / 1e9;
    texts = QStringList();

    view.scrollTo(jobs.index(jobs.count() / 2, 0));
    QCoreApplication::processEvents();
    // Two figures per removal: the removal itself (model and view bookkeeping),
    // and the removal with the repaint of the rows on screen that follows it.
    std::vector<double> removalMs, withPaintMs;
    for (int i = 0; i < removals; ++i) {
        clock.restart();
        jobs.remove(jobs.count() / 2);
        removalMs.push_back(clock.nsecsElapsed() / 1e6);
        QCoreApplication::processEvents();
        view.viewport()->repaint();
        withPaintMs.push_back(clock.nsecsElapsed() / 1e6);
    }

    if (prefix.isEmpty())
        figure(prefix, "entries", entries, "entries");
    figure(prefix, "append_all_s", appendSeconds, "s");
    figure(prefix, "append_per_entry_us", appendSeconds * 1e6 / entries, "us");
    figure(prefix, "removals", removals, "removals");
    figure(prefix, "removal_median_ms", median(removalMs), "ms");
    figure(prefix, "removal_max_ms", maximum(removalMs), "ms");
    figure(prefix, "removal_and_repaint_median_ms", median(withPaintMs), "ms");
    figure(prefix, "removal_and_repaint_max_ms", maximum(withPaintMs), "ms");
    figure(prefix, "peak_rss_mb", bench::peakResidentMB(), "MB");
}

template <typename Store, typename Append, typename Remove>
void measureStore(const QByteArray &prefix, Store &store, QStringList texts, Append append, Remove remove)
{
    QElapsedTimer clock;
    clock.start();
    for (const QString &text : std::as_const(texts))
        append(store, text);
    const double appendSeconds = clock.nsecsElapsed() / 1e9;
    texts = QStringList();
    std::vector<double> removalMs;
    for (int i = 0; i < Removals; ++i) {
        clock.restart();
        remove(store);
        removalMs.push_back(clock.nsecsElapsed() / 1e6);
    }
    figure(prefix, "append_all_s", appendSeconds, "s");
    figure(prefix, "removal_median_ms", median(removalMs), "ms");
    figure(prefix, "removal_max_ms", maximum(removalMs), "ms");
    figure(prefix, "peak_rss_mb", bench::peakResidentMB(), "MB");
}

void measureScatteredRemoval(QStringList texts)
{
    bench::ShownJobList shown;
    for (const QString &text : std::as_const(texts))
        shown.jobs.add(text);
    for (int position = 1; position <= shown.jobs.count(); position += 2)
        shown.jobs.setMark(position, joblist::Mark::Printed);
    shown.view.selectPosition(shown.jobs.count() / 2);
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    const int removed = joblist::removeEntriesThatReachedPrinter(shown.jobs);
    const double removalMs = clock.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();
    shown.view.viewport()->repaint();
    figure("scattered_removal_", "entries", texts.size(), "entries");
    figure("scattered_removal_", "removed", removed, "entries");
    figure("scattered_removal_", "ms", removalMs, "ms");
    figure("scattered_removal_", "with_repaint_ms", clock.nsecsElapsed() / 1e6, "ms");
}

int runConfiguration(const QString &name, int entries)
{
    // Texts are made before the clock starts: the figures are the list's cost.
    QStringList texts = makeTexts(entries);
    if (name == u"handwritten") {
        bench::ShownJobList shown;
        measureShown({}, shown.jobs, shown.view, std::move(texts), Removals);
    } else if (name == u"qlistview") {
        joblist::JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        ListViewWithHeader shown(jobs);
        measureShown("qlistview_", jobs, *shown.list, std::move(texts), ListViewRemovals);
    } else if (name == u"stringlist_qlistview") {
        StringListJobs jobs;
        ListViewWithHeader shown(jobs);
        measureShown("stringlist_qlistview_", jobs, *shown.list, std::move(texts), ListViewRemovals);
    } else if (name == u"store_chunks") {
        joblist::EntryStore store;
        measureStore("store_chunks_", store, std::move(texts),
                     [](joblist::EntryStore &s, const QString &text) { s.append({text}); },
                     [](joblist::EntryStore &s) { s.removeAt(s.size() / 2); });
    } else if (name == u"store_stringlist") {
        QStringList store;
        measureStore("store_stringlist_", store, std::move(texts),
                     [](QStringList &s, const QString &text) { s.append(text); },
                     [](QStringList &s) { s.removeAt(s.size() / 2); });
    } else if (name == u"scattered_removal") {
        texts.resize(std::min<qsizetype>(texts.size(), ScatteredEntries));
        measureScatteredRemoval(std::move(texts));
    } else {
        std::fprintf(stderr, "unknown configuration\n");
        return 1;
    }
    return 0;
}

} // namespace

// bench_joblist [ENTRIES] runs every configuration; each runs as
// bench_joblist --configuration NAME ENTRIES.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == u"--configuration")
        return runConfiguration(arguments.at(2), arguments.at(3).toInt());

    const QString entries = arguments.size() > 1 ? arguments.at(1) : QStringLiteral("1000000");
    int failures = 0;
    for (const char *configuration : {"handwritten", "qlistview", "stringlist_qlistview", "store_chunks", "store_stringlist",
                                      "scattered_removal"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--configuration"), QString::fromLatin1(configuration), entries});
        child.waitForFinished(-1);
        std::fputs(child.readAllStandardOutput().constData(), stdout);
        std::fflush(stdout);
        failures += child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0;
    }
    return failures == 0 ? 0 : 1;
}
