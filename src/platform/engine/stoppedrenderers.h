// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ownprocess.h"

namespace platform {

// A renderer process the program has stopped (SIGSTOP) cannot notice that
// the program is gone, so it would outlive it for ever, holding its memory.
// A small watcher process, started with the first such renderer, ends every
// one it was told of as soon as the program ends, however it ends: a normal
// exit, a signal, a closed terminal, or kill -9. One that has ended before,
// and whose id another process has taken since, is left alone: the watcher
// holds each by a pidfd of its own.
void endWithTheProgram(const OwnProcess &renderer);

} // namespace platform
