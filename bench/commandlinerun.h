// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's own `--print` run as its own process, timed the way the
// other benchmarks time a run without its start-up: from the first entry's
// end to the last one's.

#include "common.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace bench {

// When the first and the last entry of a run ended, in seconds.
struct Span {
    double first = -1;
    double last = -1;
    int entries = 0;
    // The run's whole process tree, as last seen before the run ended.
    double cpuSeconds = 0;
    double rate() const { return last > first && entries > 1 ? (entries - 1) / (last - first) : 0; }
};

// The program's own `--print`, timed by its "[i/N]" lines as they come.
inline std::optional<Span> printFromCommandLine(const QString &program, const QStringList &entries,
                                                const QStringList &options = {})
{
    QProcess process;
    Span span;
    QElapsedTimer clock;
    QByteArray pending;
    static const QRegularExpression step(QStringLiteral("^\\[(\\d+)/(\\d+)\\] "));
    // The engine's helpers end with the program, before anyone waits for
    // them, so their time is read while they run: at every line the run writes.
    TreeCpu seen;
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
        const double now = clock.nsecsElapsed() / 1e9;
        remember(seen, treeCpu(process.processId()));
        pending += process.readAllStandardError();
        for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
            const QRegularExpressionMatch match = step.match(QString::fromUtf8(pending.left(end)));
            pending.remove(0, end + 1);
            if (!match.hasMatch())
                continue;
            if (match.captured(1).toInt() == 1)
                span.first = now;
            if (match.captured(1) == match.captured(2)) {
                span.last = now;
                span.entries = match.captured(2).toInt();
            }
        }
    });
    process.setStandardOutputFile(QProcess::nullDevice());
    clock.start();
    process.start(program, QStringList{QStringLiteral("--print")} + options + entries);
    if (!process.waitForFinished(5 * 60 * 1000) || process.exitCode() != 0) {
        std::printf("# the command line ended with status %d\n", process.exitCode());
        return std::nullopt;
    }
    span.cpuSeconds = totalSeconds(seen);
    return span;
}

} // namespace bench
