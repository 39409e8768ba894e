// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ownprocess.h"
#include "core/signin.h"

#include <QWebEnginePage>

#include <functional>
#include <memory>
#include <set>

class QWebEngineProfile;

namespace platform {

// A renderer stuck in a script in the middle of a PDF can only be stopped
// (see UnattendedPage::retire), and each holds its memory to the program's
// end. Past this many, documents print without their print handlers, so at
// most this many are stopped, and one more for each other page that was
// already loading its document then.
inline constexpr int MaxStoppedRenderers = 2;

// A page nobody looks at: whatever a document asks of a user is answered at
// once (alerts dismissed, prompts cancelled, passwords and certificates
// declined, permissions denied, new windows refused), so nothing a document
// does can hold up a print run.
class UnattendedPage final : public QWebEnginePage {
    Q_OBJECT

public:
    explicit UnattendedPage(QWebEngineProfile *profile, QObject *parent = nullptr);
    ~UnattendedPage() override;

    // Whether the document's server, or a proxy, asked for credentials
    // since the last load began.
    bool passwordAsked() const { return m_passwordAsked; }
    // Whether the user turned the site's sign-in down since the last load began.
    bool signInRefused() const { return m_signInRefused; }
    // Whether a request for a password was turned down only because the
    // user was being asked about the site for another page.
    bool signInPending() const { return m_signInPending; }
    // Who answers a server's request for a user name and password; without
    // one, every request is declined.
    void answerSignInWith(core::SignInAsker asker) { m_asker = std::move(asker); }
    // Whether the address offered a file to download (refused) instead of
    // a page since the last load began.
    bool downloadOffered() const { return m_downloadOffered; }
    void noteDownloadOffered()
    {
        m_downloadOffered = true;
        Q_EMIT downloadOfferedInstead();
    }
    // Forgets both, as a new load begins. Once MaxStoppedRenderers
    // renderers are stopped, the documents loaded from then on print without
    // running their own print handlers: a handler that never ends is the
    // way a document gets its renderer stuck in the middle of a PDF, so
    // stopped renderers cannot pile up.
    void beginLoad();

    // Renders the document into a PDF laid out on `layout`; `done` gets the
    // bytes, empty when it failed.
    void renderPdf(const QPageLayout &layout, std::function<void(const QByteArray &)> done);

    // Whether a renderer process ever came up for this page: the engine
    // named one when the page reported on a load. One that ends before it
    // did was never started: the engine could not start it.
    bool rendererCameUp() const { return m_rendererCameUp; }
    // The page's renderer as the program's own process; nothing while it
    // has none, or when it was not the program's own when the engine named it.
    const std::shared_ptr<const OwnProcess> &renderer() const { return m_renderer; }

    // Lets the page go as soon as the engine can do without it: at once,
    // or, while a PDF is under way, once it has come back (the engine does
    // not survive losing a page in the middle of a print). `endRenderer`
    // ends the page's renderer process too, for one that will not stop by
    // itself (or, in the middle of a PDF, stops it where it stands), unless
    // another page still uses the same renderer: the engine may put pages of
    // one site in one process, and ending it would fail the other page too,
    // or bring the engine down under a PDF that page awaits.
    void retire(bool endRenderer = false);

    // The pages retired in the middle of a PDF that has not come back yet.
    static const std::set<UnattendedPage *> &pagesStillRendering();

Q_SIGNALS:
    void downloadOfferedInstead();

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
    void javaScriptAlert(const QUrl &, const QString &) override { }
    // Also asked before leaving a page; refusing would keep the old document.
    bool javaScriptConfirm(const QUrl &, const QString &) override { return true; }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override { }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }

private:
    void noteRenderer();
    void onAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator);
    bool rendererSharedWithAnother() const;
    void stopRenderer();

    // The page's renderer as the program's own process, as it was when the
    // engine named it; nothing while it has none.
    std::shared_ptr<const OwnProcess> m_renderer;
    bool m_rendererCameUp = false;
    bool m_passwordAsked = false;
    bool m_signInRefused = false;
    bool m_signInPending = false;
    core::SignInAsker m_asker;
    // The sites and realms answered since the load began: asked again, the
    // server refused what it was given, and is not given it again.
    QSet<QString> m_answered;
    bool m_downloadOffered = false;
    bool m_renderingPdf = false;
    bool m_retired = false;
    bool m_printHandlersSilenced = false;
};

// A profile for unattended pages: scripts run but may not reach beyond their
// page, and downloads are refused. Without a profile folder it is off the
// record: nothing a document sets (cookies, storage, cache) reaches the disk
// or outlives the program. With one, what sites set is kept there for later
// runs. The sign-in's cookies are put in, and its headers go with every
// request to its hosts.
std::shared_ptr<QWebEngineProfile> makeUnattendedProfile(const core::SignIn &signIn = {});

} // namespace platform
