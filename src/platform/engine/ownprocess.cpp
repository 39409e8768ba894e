#include "ownprocess.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

namespace {

// "/proc/PID/stat" without a formatting call.
void statPath(qint64 pid, char (&path)[40])
{
    char digits[24];
    int count = 0;
    do {
        digits[count++] = char('0' + pid % 10);
        pid /= 10;
    } while (pid > 0 && count < 20);
    int at = 0;
    for (const char c : "/proc/") {
        if (c)
            path[at++] = c;
    }
    while (count > 0)
        path[at++] = digits[--count];
    for (const char c : "/stat")
        path[at++] = c;  // the terminating NUL too
}

// A running process's parent, as /proc says; 0 when it has none there (it
// has ended, or is only not yet reaped). The command's name comes before the
// parent, in brackets, and may hold blanks and brackets of its own.
qint64 parentOf(qint64 pid)
{
    char path[40];
    statPath(pid, path);
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    char text[1024];
    const ssize_t got = ::read(fd, text, sizeof text);
    ::close(fd);
    if (got <= 0)
        return 0;
    const char *end = text + got;
    const char *cursor = end;
    while (cursor > text && cursor[-1] != ')')
        --cursor;
    // " S PPID ...": the state, then the parent.
    if (cursor == text || cursor + 3 >= end || cursor[1] == 'Z' || cursor[1] == 'X')
        return 0;
    qint64 parent = 0;
    for (cursor += 3; cursor < end && *cursor >= '0' && *cursor <= '9'; ++cursor)
        parent = parent * 10 + (*cursor - '0');
    return parent;
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
