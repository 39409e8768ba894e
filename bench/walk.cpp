// SPDX-License-Identifier: GPL-3.0-or-later
// Adds a generated folder tree of 10,000 folders and 100,000 files, half of
// them matching "*.htm", through the folder action into a live job list, and
// times the same search done by find(1) on the same tree in the same run.
#include "common.h"
#include "standins.h"

#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "core/desktop.h"
#include "core/eventyield.h"
#include "core/mousepointer.h"
#include "sources/addfoldercontents.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Answer final : core::InputBox {
    QString ask(QWidget *, const QString &, const QString &initialText) override { return initialText; }
};

// Answers with the tree and starts the clock: the figure runs from the
// chosen folder to the last entry appended.
struct ChooseTree final : core::FolderBrowser {
    QString folder;
    QElapsedTimer *clock = nullptr;
    QString browseForFolder(QWidget *, const QString &) override
    {
        clock->start();
        return folder;
    }
};

// Breadth-first, ten subfolders to a folder until `folders` exist below the
// root; every folder (the root too) holds `filesPerFolder` files, every
// other one named *.htm (in varied case) and the rest *.txt.
int makeTree(const QByteArray &root, int folders, int filesPerFolder)
{
    std::vector<QByteArray> all{root};
    for (std::size_t parent = 0; int(all.size()) <= folders; ++parent) {
        for (int child = 0; child < 10 && int(all.size()) <= folders; ++child) {
            all.push_back(all[parent] + "/folder-" + QByteArray::number(child));
            ::mkdir(all.back().constData(), 0755);
        }
    }
    int files = 0;
    for (const QByteArray &folder : all) {
        for (int i = 0; i < filesPerFolder && files < folders * filesPerFolder; ++i, ++files) {
            const QByteArray extension = i % 2 ? ".txt" : (i % 4 ? ".HTM" : ".htm");
            const QByteArray path = folder + "/document-" + QByteArray::number(i) + extension;
            ::close(::open(path.constData(), O_CREAT | O_WRONLY, 0644));
        }
    }
    return files;
}

// Seconds find takes, and how many names it printed.
std::pair<double, int> runFind(const QString &root)
{
    QProcess find;
    QElapsedTimer clock;
    clock.start();
    find.start(QStringLiteral("find"), {root, QStringLiteral("-iname"), QStringLiteral("*.htm"),
                                        QStringLiteral("-not"), QStringLiteral("-path"), QStringLiteral("*/.*")});
    QByteArray output;
    while (find.waitForReadyRead(-1))
        output += find.readAllStandardOutput();
    find.waitForFinished(-1);
    output += find.readAllStandardOutput();
    return {clock.nsecsElapsed() / 1e9, int(output.count('\n'))};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int folders = 10'000;
    const int files = 100'000;
    const int runs = 3;

    QTemporaryDir dir;
    const int made = makeTree(QFile::encodeName(dir.path()), folders, files / folders);

    // Both read the tree once untimed, so both run on a warm cache.
    std::vector<double> findSeconds;
    int found = runFind(dir.path()).second;
    std::vector<double> actionSeconds;
    int added = 0;
    int messages = 0;
    for (int run = 0; run < runs; ++run) {
        findSeconds.push_back(runFind(dir.path()).first);

        bench::ShownJobList list;
        joblist::JobList &jobs = list.jobs;

        QElapsedTimer clock;
        Answer extension;
        ChooseTree chooser;
        chooser.folder = dir.path();
        chooser.clock = &clock;
        bench::KeptMessages messageBox;
        bench::WindowPointer pointer;
        core::EventYield yield;
        sources::addFolderContents({extension, chooser, messageBox}, {&list.view, pointer, yield}, jobs);
        actionSeconds.push_back(clock.nsecsElapsed() / 1e9);
        added = jobs.count();
        messages += messageBox.shown;
    }

    const double action = median(actionSeconds);
    const double find = median(findSeconds);
    bench::figure("tree_folders", folders, "folders");
    bench::figure("tree_files", made, "files");
    bench::figure("entries_added", added, "entries");
    bench::figure("find_matches", found, "files");
    bench::figure("unreadable_messages", messages, "messages");
    bench::figure("add_folder_s", action, "s");
    bench::figure("find_s", find, "s");
    bench::figure("add_folder_to_find_ratio", action / find, "x");
    bench::figure("peak_rss_mb", bench::peakResidentMB(), "MB");
    return 0;
}
