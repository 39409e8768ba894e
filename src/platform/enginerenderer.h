#pragma once

#include "documentrenderer.h"

namespace platform {

// Renderers over the real browser engine. They share one off-the-record
// profile; each has a page, and so a renderer process, of its own. Nothing of
// the engine starts until the first renderer is made.
RendererFactory engineRenderers();

// The engine's sandbox cannot start as root; everyone else keeps it. Must run
// before the application object is created.
void prepareEngineSandbox();

} // namespace platform
