#pragma once

#include <QtGlobal>

namespace platform {

// A renderer process the program has stopped (SIGSTOP) cannot notice that
// the program is gone, so it would outlive it for ever, holding its memory.
// A small watcher process, started with the first such renderer, ends every
// one it was told of as soon as the program ends, however it ends: a normal
// exit, a signal, a closed terminal, or kill -9.
void endWithTheProgram(qint64 rendererPid);

} // namespace platform
