// SPDX-License-Identifier: GPL-3.0-or-later
#include "ownprocess.h"

#include <QFile>
#include <QList>

#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

namespace {

// A running process's parent, as /proc says; 0 when it has none there (it
// has ended, or is only not yet reaped). The command's name comes before the
// parent, in brackets, and may hold blanks and brackets of its own.
qint64 parentOf(qint64 pid)
{
    QFile stat(u"/proc/" + QString::number(pid) + u"/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray fields = stat.read(1024);
    // " S PPID ...": the state, then the parent.
    const QList<QByteArray> after = fields.mid(fields.lastIndexOf(')') + 1).split(' ');
    const QByteArray state = after.value(1);
    if (fields.lastIndexOf(')') < 0 || state.isEmpty() || state == "Z" || state == "X")
        return 0;
    return after.value(2).toLongLong();
}

bool isAncestor(qint64 ancestor, qint64 pid)
{
    // A chain read from /proc while processes come and go might loop: the
    // depth is bound.
    qint64 up = parentOf(pid);
    for (int depth = 0; depth < 64 && up > 1; ++depth, up = parentOf(up)) {
        if (up == ancestor)
            return true;
    }
    return false;
}

} // namespace

// The process is pinned by a pidfd first, then its parents are read by its
// id. If the pinned process still runs after that, the id was its own all
// along, so what was read was about it.
std::shared_ptr<const OwnProcess> ownDescendant(qint64 pid)
{
    if (pid <= 1)
        return nullptr;
    const int pidfd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
    if (pidfd < 0)
        return nullptr;
    std::shared_ptr<const OwnProcess> process(new OwnProcess{pid, pidfd}, [](const OwnProcess *held) {
        ::close(held->pidfd);
        delete held;
    });
    if (!isAncestor(::getpid(), pid) || !signalOwn(*process, 0))
        return nullptr;
    return process;
}

bool signalOwn(const OwnProcess &process, int signal)
{
    return process.pidfd >= 0 && ::syscall(SYS_pidfd_send_signal, process.pidfd, signal, nullptr, 0u) == 0;
}

} // namespace platform
