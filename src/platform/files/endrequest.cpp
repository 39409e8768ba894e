// SPDX-License-Identifier: GPL-3.0-or-later
#include "endrequest.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

// A signal handler may do almost nothing: it writes one byte, and the event
// loop, woken by it, does the rest.
int requestEnds[2] = {-1, -1};

std::function<void()> &whenAsked()
{
    static std::function<void()> then;
    return then;
}

extern "C" void askedToEnd(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(requestEnds[0], &byte, 1);
}

void endAtOnceWhenAskedAgain()
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
}

void onAsked()
{
    char bytes[16];
    [[maybe_unused]] const ssize_t read = ::read(requestEnds[1], bytes, sizeof bytes);
    // Whatever holds the program up on its way out, a second request ends it.
    endAtOnceWhenAskedAgain();
    if (whenAsked())
        whenAsked()();
}

} // namespace

void onEndRequest(std::function<void()> then)
{
    whenAsked() = std::move(then);
    if (requestEnds[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, requestEnds) != 0)
            return;  // the program then ends on these signals as it always did
        auto *notifier = new QSocketNotifier(requestEnds[1], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { onAsked(); });
    }
    struct sigaction action {};
    action.sa_handler = askedToEnd;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace platform
