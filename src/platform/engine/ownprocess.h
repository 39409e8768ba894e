// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <memory>

namespace platform {

// A process of the program's own, held by a pidfd: the pidfd names that very
// process for as long as it is open, even once the process has ended and its
// id has gone to another (ids come round again within minutes where there
// are only 32768 of them), so a signal sent through it can reach no other.
struct OwnProcess {
    qint64 pid = 0;
    int pidfd = -1;
};

// `pid` as one of the program's own processes: one it started, or one they
// started in turn (the engine's renderers come from its zygote). Nothing
// when it is not, or no longer runs. The pidfd closes with the last copy.
std::shared_ptr<const OwnProcess> ownDescendant(qint64 pid);

// Sends `signal` to `process` if it still runs; false when it has ended.
// Only calls that are safe in a child forked from a threaded program, so
// that the watcher of stopped renderers can use it too.
bool signalOwn(const OwnProcess &process, int signal);

} // namespace platform
