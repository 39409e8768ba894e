// SPDX-License-Identifier: GPL-3.0-or-later
#include "stoppedrenderers.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <unistd.h>

namespace platform {

namespace {

// The most renderers the watcher keeps; far more than a run ever stops.
constexpr int MaxWatched = 256;

// One renderer's pidfd, received with the message that carries it; -1 when
// the message held none, or when the program has ended (its end of the
// socket closed).
int receivePidfd(int socket, bool &ended)
{
    char byte = 0;
    iovec payload{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
    msghdr message{};
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = ::recvmsg(socket, &message, MSG_CMSG_CLOEXEC);
    ended = got == 0 || (got < 0 && errno != EINTR);
    const cmsghdr *header = got > 0 ? CMSG_FIRSTHDR(&message) : nullptr;
    if (!header || header->cmsg_level != SOL_SOCKET || header->cmsg_type != SCM_RIGHTS)
        return -1;
    int pidfd = -1;
    std::memcpy(&pidfd, CMSG_DATA(header), sizeof pidfd);
    return pidfd;
}

// The watcher's end of the socket is open for as long as the program runs:
// when the program ends, the kernel closes its end, and the watcher reads
// the end of it. It is told of each renderer by a pidfd, which names that
// very process however long the watcher waits: by the time the program
// ends, a renderer may have ended too (its zygote ends it when the program
// goes), and its id have gone to any process on the machine.
[[noreturn]] void watch(int socket)
{
    // Only calls that are safe in the child of a threaded program from here
    // on. The watcher keeps nothing of the program open (sockets, pipes to a
    // script reading the program's output) but its end of the socket.
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
    const int keep = socket;
    ::syscall(SYS_close_range, 3u, unsigned(keep) - 1u, 0u);
    ::syscall(SYS_close_range, unsigned(keep) + 1u, ~0u, 0u);

    OwnProcess watched[MaxWatched];
    int count = 0;
    for (bool ended = false; !ended;) {
        const int pidfd = receivePidfd(keep, ended);
        if (pidfd >= 0 && count < MaxWatched)
            watched[count++].pidfd = pidfd;
        else if (pidfd >= 0)
            ::close(pidfd);
    }
    for (int i = 0; i < count; ++i)
        signalOwn(watched[i], SIGKILL);
    ::_exit(0);
}

int startWatcher()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
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

void endWithTheProgram(const OwnProcess &renderer)
{
    static const int toWatcher = startWatcher();
    if (toWatcher < 0 || renderer.pidfd < 0)
        return;
    // The kernel gives the watcher a pidfd of its own for the same process.
    char byte = 0;
    iovec payload{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))]{};
    msghdr message{};
    message.msg_iov = &payload;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr *header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &renderer.pidfd, sizeof renderer.pidfd);
    while (::sendmsg(toWatcher, &message, MSG_NOSIGNAL) < 0 && errno == EINTR) {
    }
}

} // namespace platform
