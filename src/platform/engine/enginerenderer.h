// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/documentrenderer.h"
#include "core/signin.h"

#include <memory>

class QWebEngineProfile;

#include <QString>

namespace platform {

// The one profile the pages of a window or a run share, made when first
// wanted, so that a window that never prints never starts the engine.
class SharedProfile {
public:
    explicit SharedProfile(core::SignIn signIn);
    ~SharedProfile();
    SharedProfile(const SharedProfile &) = delete;
    SharedProfile &operator=(const SharedProfile &) = delete;

    std::shared_ptr<QWebEngineProfile> profile();
    const core::SignIn &signIn() const { return m_signIn; }

private:
    core::SignIn m_signIn;
    std::shared_ptr<QWebEngineProfile> m_profile;
};

// Renderers over `profile`. A site's request for a password goes to `ask`
// when given (it may be filled in later), else to the netrc entries of the
// profile's sign-in.
core::RendererFactory engineRenderers(std::shared_ptr<SharedProfile> profile,
                                      const std::shared_ptr<core::SignInAsker> &ask = {});

// Renderers over the real browser engine. They share one profile, off the
// record unless `signIn` names a folder to keep it in, holding its cookies
// and sending its headers; each has a page, and so a renderer process, of
// its own. Nothing of the engine starts until the first renderer is made.
core::RendererFactory engineRenderers(const core::SignIn &signIn = {});

// Makes `folder` for a profile to keep, private to the user (mode 0700), or
// leaves one that is there as it is; false when it cannot be made.
bool makeProfileFolder(const QString &folder);

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
