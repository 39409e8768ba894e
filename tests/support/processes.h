// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The processes below a program of the tests' own, read from /proc: which
// of the browser engine's processes it started, and whether they are gone.

#include <QDir>
#include <QFile>
#include <QHash>
#include <QList>

namespace processes {

struct Process {
    qint64 pid = 0;
    qint64 parent = 0;
    char state = '?';    // R, S, T (stopped), Z (gone but not reaped), ...
    qint64 cpuTicks = 0; // processor time used so far, in clock ticks
    QByteArray command;  // the command line, its arguments split by NULs
};

inline QHash<qint64, Process> all()
{
    QHash<qint64, Process> found;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(u"/proc/" + name + u"/stat");
        QFile cmdline(u"/proc/" + name + u"/cmdline");
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        // The command's name is in brackets and may hold blanks; the state
        // and the parent follow it.
        const QByteArray fields = stat.readAll();
        const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 2).split(' ');
        found.insert(pid, {pid, after.value(1).toLongLong(), after.value(0).isEmpty() ? '?' : after.value(0).at(0),
                           after.value(11).toLongLong() + after.value(12).toLongLong(), cmdline.readAll()});
    }
    return found;
}

// The engine's renderers below `ancestor`: the processes its zygote forks.
inline QList<Process> renderersBelow(qint64 ancestor)
{
    const QHash<qint64, Process> table = all();
    QList<Process> renderers;
    for (const Process &process : table) {
        const Process parent = table.value(process.parent);
        if (!process.command.contains("QtWebEngineProcess") || !parent.command.contains("--type=zygote"))
            continue;
        for (qint64 up = process.parent; up > 1; up = table.value(up).parent) {
            if (up == ancestor) {
                renderers << process;
                break;
            }
        }
    }
    return renderers;
}

// The engine's zygotes below `ancestor`: the processes it starts every
// renderer through.
inline QList<qint64> zygotesBelow(qint64 ancestor)
{
    const QHash<qint64, Process> table = all();
    QList<qint64> zygotes;
    for (const Process &process : table) {
        if (!process.command.contains("QtWebEngineProcess") || !process.command.contains("--type=zygote"))
            continue;
        for (qint64 up = process.parent; up > 1; up = table.value(up).parent) {
            if (up == ancestor) {
                zygotes << process.pid;
                break;
            }
        }
    }
    return zygotes;
}

// Whether `pid` still runs (a zombie has ended, even if nobody reaped it).
inline bool running(qint64 pid)
{
    const QHash<qint64, Process> table = all();
    return table.contains(pid) && table.value(pid).state != 'Z';
}

} // namespace processes
