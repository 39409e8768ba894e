// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/documentrenderer.h"

#include <QString>

namespace platform {

// Renderers over the real browser engine. They share one off-the-record
// profile; each has a page, and so a renderer process, of its own. Nothing of
// the engine starts until the first renderer is made.
core::RendererFactory engineRenderers();

// Whether the engine refuses `selector` as a CSS selector, asked of a blank
// page of its own; blocks while it answers (a fraction of a second). Needs
// the application object.
bool engineRejectsSelector(const QString &selector);

// The engine of this Qt version does not survive the teardown of a page in
// the middle of a PDF, nor its renderer's death then: either brings the
// whole program down. A page given up in the middle of one (its renderer
// stuck in a script) is therefore kept, stopped, to the program's end. Call
// this last, once the window or the run is gone, while the application
// object still exists: when such pages are left, their renderers are ended
// and the program exits with `status` at once, before anything is torn down;
// otherwise the pages still waiting to go are deleted, before the profile
// they use is released with the engine, and it returns.
void endAtOnceIfPagesStillRender(int status);

// A page without a view is hidden, and the engine would run a hidden page's
// timers at most once a second: a document must build itself, and be watched
// settling, as a reader would see it. Must run before the application object
// is created.
void letHiddenPagesKeepTime();

// The engine's sandbox cannot start as root; everyone else keeps it. Must run
// before the application object is created.
void prepareEngineSandbox();

} // namespace platform
