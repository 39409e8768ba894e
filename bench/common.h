#pragma once

// Small helpers shared by the benchmarks: figures are printed one per line as
// "name: value unit", so runs can be compared line by line.

#include <QElapsedTimer>
#include <QFile>
#include <QString>

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

} // namespace bench
