// SPDX-License-Identifier: GPL-3.0-or-later
// Hands the watcher of stopped renderers two processes to end with this
// program, then ends: first one it once had, whose id now belongs to the
// process named on the command line (a process of the test's, not of this
// program's), then a child of its own that still runs. It prints the
// child's id. The test then sees which of the two the watcher ended.
#include "platform/engine/ownprocess.h"
#include "platform/engine/stoppedrenderers.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child that waits to be ended, holding none of the test's pipes.
pid_t idleChild()
{
    const pid_t child = ::fork();
    if (child == 0) {
        const int nothing = ::open("/dev/null", O_RDWR);
        for (int standard = 0; standard < 3; ++standard)
            ::dup2(nothing, standard);
        // Nor this program's end of the pipe to the watcher, which would
        // otherwise never see the program end.
        ::close_range(3, ~0u, 0);
        for (;;)
            ::pause();
    }
    return child;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        return 64;
    const qint64 other = std::atoll(argv[1]);

    // A process of this program's own, known to the watcher by its id and
    // start, ends; its id goes to another process.
    const pid_t gone = idleChild();
    const std::shared_ptr<const platform::OwnProcess> goneOne = platform::ownDescendant(gone);
    ::kill(gone, SIGKILL);
    ::waitpid(gone, nullptr, 0);
    if (!goneOne || other <= 0)
        return 2;
    platform::endWithTheProgram({other, goneOne->pidfd});

    const pid_t stays = idleChild();
    const std::shared_ptr<const platform::OwnProcess> ownChild = platform::ownDescendant(stays);
    if (!ownChild)
        return 2;
    platform::endWithTheProgram(*ownChild);
    std::printf("%lld\n", static_cast<long long>(stays));
    return 0;
}
