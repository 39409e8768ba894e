#include "stoppedrenderers.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

namespace {

// The most renderers the watcher keeps; far more than a run ever stops.
constexpr int MaxWatched = 256;

// The watcher's end of the pipe is open for as long as the program runs:
// when the program ends, the kernel closes its end, and the watcher reads
// the end of the pipe.
[[noreturn]] void watch(int pipeIn)
{
    // Only calls that are safe in the child of a threaded program from here
    // on. The watcher keeps nothing of the program open (sockets, pipes to a
    // script reading the program's output) but its end of the pipe.
    // Signals meant for the program's terminal (Ctrl+C, a closed terminal)
    // must not end the watcher before it has done its work.
    ::setsid();
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGPIPE})
        ::sigaction(signal, &ignore, nullptr);
    const int nothing = ::open("/dev/null", O_RDWR);
    for (int standard = 0; standard < 3; ++standard)
        ::dup2(nothing, standard);
    const int keep = pipeIn;
    ::syscall(SYS_close_range, 3u, unsigned(keep) - 1u, 0u);
    ::syscall(SYS_close_range, unsigned(keep) + 1u, ~0u, 0u);

    pid_t watched[MaxWatched];
    int count = 0;
    for (;;) {
        pid_t pid = 0;
        const ssize_t got = ::read(keep, &pid, sizeof pid);
        if (got == ssize_t(sizeof pid)) {
            if (count < MaxWatched && pid > 0)
                watched[count++] = pid;
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        break;
    }
    for (int i = 0; i < count; ++i)
        ::kill(watched[i], SIGKILL);
    ::_exit(0);
}

int startWatcher()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[1]);
        watch(ends[0]);
    }
    ::close(ends[0]);
    if (child < 0) {
        ::close(ends[1]);
        return -1;
    }
    return ends[1];
}

} // namespace

void endWithTheProgram(qint64 rendererPid)
{
    static const int toWatcher = startWatcher();
    if (toWatcher < 0 || rendererPid <= 0)
        return;
    const pid_t pid = pid_t(rendererPid);
    while (::write(toWatcher, &pid, sizeof pid) < 0 && errno == EINTR) {
    }
}

} // namespace platform
