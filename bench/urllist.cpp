// SPDX-License-Identifier: GPL-3.0-or-later
// Loads one list file of a million addresses (about 60 MB, lines ended by
// CR LF or LF, some addresses separated by tabs) through the Check6 action
// into a job list shown in its view, and times the same file with `wc -w` as
// a yardstick for what reading and splitting it costs at the least.
#include "common.h"
#include "standins.h"

#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "core/desktop.h"
#include "core/eventyield.h"
#include "core/mousepointer.h"
#include "sources/addurllists.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

struct AnswerDialog final : core::FileOpenDialog {
    QString path;
    QStringList showOpen(QWidget *, const QString &, const QStringList &) override { return {path}; }
};

// Processor time of this process, which the other loads of a shared machine
// do not inflate the way they inflate the time on the clock.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

// Written in slices so that making the file does not raise the peak memory.
bool writeList(const QString &path, int addresses)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    static const char *const separators[] = {"\r\n", "\n", "\t", "\r\n", "\n"};
    QByteArray slice;
    for (int i = 0; i < addresses; ++i) {
        slice += "https://www.example.com/lib/section-" + QByteArray::number(i % 997)
            + "/document-" + QByteArray::number(i) + ".html" + separators[i % 5];
        if (slice.size() > (1 << 20)) {
            file.write(slice);
            slice.clear();
        }
    }
    file.write(slice);
    return file.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int addresses = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1'000'000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("urls.txt"));
    if (!dir.isValid() || !writeList(path, addresses)) {
        std::fprintf(stderr, "cannot write the list file\n");
        return 1;
    }

    bench::ShownJobList list;
    joblist::JobList &jobs = list.jobs;

    AnswerDialog dialog;
    dialog.path = path;
    bench::KeptMessages messages;
    bench::WindowPointer pointer;
    core::EventYield yield;

    QElapsedTimer clock;
    clock.start();
    const double processorAtStart = processorSeconds();
    sources::addUrlLists(dialog, messages, &list.view, pointer, yield, jobs);
    const double loadSeconds = clock.nsecsElapsed() / 1e9;
    const double loadProcessorSeconds = processorSeconds() - processorAtStart;
    const double peakMB = bench::peakResidentMB();

    QProcess wc;
    clock.restart();
    wc.start(QStringLiteral("wc"), {QStringLiteral("-w"), path});
    wc.waitForFinished(-1);
    const double wcSeconds = clock.nsecsElapsed() / 1e9;
    const long long wcWords = wc.readAllStandardOutput().trimmed().split(' ').first().toLongLong();

    bench::figure("list_file_mb", QFileInfo(path).size() / 1e6, "MB");
    bench::figure("entries_added", jobs.count(), "entries");
    bench::figure("wc_words", double(wcWords), "words");
    bench::figure("load_list_s", loadSeconds, "s");
    bench::figure("load_list_cpu_s", loadProcessorSeconds, "s");
    bench::figure("wc_w_s", wcSeconds, "s");
    bench::figure("load_to_wc_ratio", wcSeconds > 0 ? loadSeconds / wcSeconds : 0, "x");
    bench::figure("peak_rss_mb", peakMB, "MB");
    return jobs.count() == addresses && messages.shown == 0 ? 0 : 1;
}
