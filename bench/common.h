// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Small helpers shared by the benchmarks: figures are printed one per line as
// "name: value unit", so runs can be compared line by line.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>

#include <map>

#include <unistd.h>

#include <cstdio>

namespace bench {

inline void figure(const char *name, double value, const char *unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Peak resident memory of this process, in megabytes.
inline double peakResidentMB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// The fields of a /proc/.../stat file from the field after the command's
// name on (the state is field 0, the parent field 1, user and system time
// fields 11 and 12, those of waited-for children 13 and 14); empty when it
// cannot be read.
inline QList<QByteArray> statFields(const QString &path)
{
    QFile stat(path);
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    // The command's name may hold spaces; the fields follow its ')'.
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).split(' ');
}

// Processor seconds in stat fields `first` to `last`.
inline double cpuSeconds(const QList<QByteArray> &fields, int first = 11, int last = 12)
{
    double ticks = 0;
    for (int field = first; field <= last; ++field)
        ticks += fields.value(field).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

// The /proc/PID/stat fields of process `root` and of every process below
// it (the browser engine's helper processes), by process id, from the field
// after the command's name on (its state is field 0, its parent field 1).
inline std::map<qint64, QList<QByteArray>> processTreeStats(qint64 root = QCoreApplication::applicationPid())
{
    std::multimap<qint64, qint64> children;  // parent -> child
    std::map<qint64, QList<QByteArray>> stats;
    for (const QString &name : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = name.toLongLong(&isPid);
        const QList<QByteArray> fields = isPid ? statFields(u"/proc/" + name + u"/stat") : QList<QByteArray>();
        if (fields.size() < 22)
            continue;
        children.emplace(fields[1].toLongLong(), pid);
        stats[pid] = fields;
    }
    std::map<qint64, QList<QByteArray>> tree;
    QList<qint64> pending{root};
    while (!pending.isEmpty()) {
        const qint64 pid = pending.takeLast();
        if (const auto found = stats.find(pid); found != stats.end())
            tree.insert(*found);
        const auto [first, last] = children.equal_range(pid);
        for (auto it = first; it != last; ++it)
            pending << it->second;
    }
    return tree;
}

// Resident memory of this process and every process below it, in megabytes.
inline double treeResidentMB()
{
    const double pageMB = double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
    double total = 0;
    for (const auto &[pid, fields] : processTreeStats())
        total += fields.value(21).toDouble() * pageMB;  // rss, in pages
    return total;
}

// Processor seconds each process of a tree has used so far, by process id.
// The engine ends helper processes and starts new ones as pages come and
// go, and an ended process takes its time with it: a difference of two
// totals would count the time of every helper that ended in between as
// time given back. Differences are taken process by process instead.
using TreeCpu = std::map<qint64, double>;

inline TreeCpu treeCpu(qint64 root = QCoreApplication::applicationPid())
{
    TreeCpu cpu;
    for (const auto &[pid, fields] : processTreeStats(root))
        cpu[pid] = cpuSeconds(fields);
    return cpu;
}

// Keeps the latest figure of every process seen, ended ones included.
inline void remember(TreeCpu &seen, const TreeCpu &now)
{
    for (const auto &[pid, seconds] : now)
        seen[pid] = seconds;
}

inline double totalSeconds(const TreeCpu &cpu)
{
    double total = 0;
    for (const auto &[pid, seconds] : cpu)
        total += seconds;
    return total;
}

// Processor seconds this process and those below it have used since
// `before`; what an ended process used after `before` is lost, which for
// an idle helper is nothing.
inline double cpuSecondsSince(const TreeCpu &before)
{
    double used = 0;
    for (const auto &[pid, seconds] : treeCpu()) {
        const auto earlier = before.find(pid);
        used += seconds - (earlier == before.end() ? 0.0 : earlier->second);
    }
    return used;
}

} // namespace bench
