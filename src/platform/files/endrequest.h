// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace platform {

// Calls `then` on the event loop when the process is asked to end (SIGTERM,
// SIGINT or SIGHUP: a session logging out, Ctrl+C in the terminal it was
// started from), instead of dying at once. The window then closes as if its
// close button had been pressed, so that what the browser engine keeps only
// in memory for a while (the cookies of a sign-in just made) reaches the
// disk. A second request ends the process at once, whatever holds it up.
// A later call replaces `then` and listens again.
void onEndRequest(std::function<void()> then);

} // namespace platform
