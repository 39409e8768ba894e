// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the program ten times and measures from process start to the main
// window first shown, as reported by the program itself when
// it is built as the probe beside this file (it then quits at once). Prints the median.
#include "common.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup PATH-TO-PROBE\n");
        return 2;
    }
    const QString program = QString::fromLocal8Bit(argv[1]);
    std::vector<double> seconds;
    for (int run = 0; run < 10; ++run) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")) && !env.contains(QStringLiteral("DISPLAY")))
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        process.start(program, {});
        if (!process.waitForStarted() || !process.waitForReadyRead(30000)) {
            std::fprintf(stderr, "the program did not report its window\n");
            return 1;
        }
        seconds.push_back(clock.nsecsElapsed() / 1e9);
        process.waitForFinished(30000);
    }
    std::sort(seconds.begin(), seconds.end());
    bench::figure("startup_median_s", (seconds[4] + seconds[5]) / 2, "s");
    bench::figure("startup_max_s", seconds.back(), "s");
    return 0;
}
