// SPDX-License-Identifier: GPL-3.0-or-later
#include "unattendedpage.h"
#include "settlewatch.h"
#include "stoppedrenderers.h"

#include <QAuthenticator>
#include <QDateTime>
#include <QNetworkCookie>
#include <QWebEngineCookieStore>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>

#include <algorithm>
#include <csignal>
#include <set>
#include <sys/types.h>

namespace platform {

namespace {

// Every page there is, to tell whether a renderer serves more than one.
std::set<const UnattendedPage *> &livePages()
{
    static std::set<const UnattendedPage *> pages;
    return pages;
}

void lockDown(QWebEngineSettings &settings)
{
    // Scripts run, as the documents expect, but may not reach beyond the page.
    settings.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings.setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    // A local document shows its own images, style sheets, scripts and
    // frames, as in a browser (ScriptsReadNoFile keeps its scripts from
    // reading files); it may not read remote addresses across origins.
    // Remote documents never see local files (the engine's own rule).
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings.setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings.setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
    // A failed load must not print an error page as if it were the document.
    settings.setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings.setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings.setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    settings.setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    settings.setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings.setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    settings.setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    settings.setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
    settings.setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
}

// A local document's scripts may read no file, neither beside it nor
// anywhere else, as in a browser that opens a file: a document from
// elsewhere could otherwise put the user's files on paper. What the
// document shows of its own (pictures, style sheets, scripts, frames, fonts,
// media) loads as it would in a browser. The sign-in's headers go to the
// hosts of the list's own entries only: a third party a page loads from
// never sees them.
class RequestRules final : public QWebEngineUrlRequestInterceptor {
public:
    RequestRules(QList<core::ExtraHeader> headers, QSet<QString> hosts, QObject *parent)
        : QWebEngineUrlRequestInterceptor(parent)
        , m_headers(std::move(headers))
        , m_hosts(std::move(hosts))
    {
    }

    void interceptRequest(QWebEngineUrlRequestInfo &request) override
    {
        const QUrl url = request.requestUrl();
        if (url.isLocalFile() && !showsInTheDocument(request.resourceType()))
            request.block(true);
        const bool web = url.scheme() == u"http" || url.scheme() == u"https";
        if (!m_headers.isEmpty() && web && m_hosts.contains(url.host().toLower())) {
            for (const core::ExtraHeader &header : m_headers)
                request.setHttpHeader(header.name, header.value);
        }
    }

private:
    const QList<core::ExtraHeader> m_headers;
    const QSet<QString> m_hosts;

    static bool showsInTheDocument(QWebEngineUrlRequestInfo::ResourceType type)
    {
        switch (type) {
        case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        case QWebEngineUrlRequestInfo::ResourceTypeScript:
        case QWebEngineUrlRequestInfo::ResourceTypeImage:
        case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
        case QWebEngineUrlRequestInfo::ResourceTypeMedia:
            return true;
        default:
            return false;
        }
    }
};

} // namespace

UnattendedPage::UnattendedPage(QWebEngineProfile *profile, QObject *parent)
    : QWebEnginePage(profile, parent)
{
    connect(this, &QWebEnginePage::authenticationRequired, this, &UnattendedPage::onAuthenticationRequired);
    // A null authenticator declines at once (see onAuthenticationRequired).
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &, QAuthenticator *authenticator, const QString &) {
                m_passwordAsked = true;
                *authenticator = QAuthenticator();
            });
    connect(this, &QWebEnginePage::selectClientCertificate, this,
            [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
    connect(this, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl &origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    // Connected before anyone else can, so the renderer is known before
    // whoever loads documents hears of a load.
    connect(this, &QWebEnginePage::loadingChanged, this, &UnattendedPage::noteRenderer);
    // Every document is watched from its creation, so whoever prints it can
    // tell when it has settled.
    scripts().insert(settleWatcher());
    livePages().insert(this);
}

namespace {

// How long a page given up in the middle of a PDF has to finish it before
// its renderer is taken for stuck.
constexpr int RetireGraceMs = 5000;

// Pages retired while a PDF was under way, until it comes back.
std::set<UnattendedPage *> &stillRendering()
{
    static std::set<UnattendedPage *> pages;
    return pages;
}

} // namespace

UnattendedPage::~UnattendedPage()
{
    stillRendering().erase(this);
    livePages().erase(this);
}

// A null authenticator declines at once. Left untouched, the engine would
// take the empty one as credentials and ask the server again and again;
// declined, the server's refusal fails the load with one request. A site and
// realm is answered once a load: asked again, it refused what it got.
void UnattendedPage::onAuthenticationRequired(const QUrl &url, QAuthenticator *authenticator)
{
    m_passwordAsked = true;
    const QString realm = authenticator->realm();
    const QString site = url.scheme() + u"://" + url.host().toLower() + u':' + QString::number(url.port()) + u'\n' + realm;
    if (m_asker && !m_answered.contains(site)) {
        m_answered.insert(site);
        const core::SignInAnswer answer = m_asker(url, realm);
        m_signInRefused = answer.refused;
        m_signInPending = answer.pending;
        if (answer.pending)
            m_answered.remove(site);
        if (answer.credentials) {
            authenticator->setUser(answer.credentials->user);
            authenticator->setPassword(answer.credentials->password);
            return;
        }
    }
    *authenticator = QAuthenticator();
}

// Asked of the renderer's id while the process surely runs for this page:
// the engine names it as soon as a load begins, and forgets it as it ends,
// when the id may soon be another's. Held by a pidfd from then on.
void UnattendedPage::noteRenderer()
{
    const qint64 pid = renderProcessPid();
    if (pid <= 0 || (m_renderer && m_renderer->pid == pid))
        return;
    m_rendererCameUp = true;
    m_renderer = ownDescendant(pid);
}

bool UnattendedPage::rendererSharedWithAnother() const
{
    if (!m_renderer)
        return false;
    return std::any_of(livePages().cbegin(), livePages().cend(), [this](const UnattendedPage *page) {
        return page != this && page->m_renderer && page->m_renderer->pid == m_renderer->pid
            && (!page->m_retired || page->m_renderingPdf);
    });
}

// A stopped renderer never notices the program's end by itself.
void UnattendedPage::stopRenderer()
{
    noteRenderer();
    if (!m_renderer || rendererSharedWithAnother())
        return;
    endWithTheProgram(*m_renderer);
    signalOwn(*m_renderer, SIGSTOP);
}

const std::set<UnattendedPage *> &UnattendedPage::pagesStillRendering()
{
    return stillRendering();
}

void UnattendedPage::beginLoad()
{
    m_passwordAsked = false;
    m_signInRefused = false;
    m_signInPending = false;
    m_answered.clear();
    m_downloadOffered = false;
    if (!m_printHandlersSilenced && stillRendering().size() >= std::size_t(MaxStoppedRenderers)) {
        // Registered in a world of its own before the document's scripts
        // run, the first listener of each print event ends it there; the
        // document can neither reach nor remove it.
        QWebEngineScript silence;
        silence.setName(QStringLiteral("silence print handlers"));
        silence.setInjectionPoint(QWebEngineScript::DocumentCreation);
        silence.setWorldId(QWebEngineScript::ApplicationWorld);
        silence.setRunsOnSubFrames(true);
        silence.setSourceCode(QStringLiteral(
            "for (const type of ['beforeprint', 'afterprint'])"
            "  window.addEventListener(type, event => event.stopImmediatePropagation(), true);"));
        scripts().insert(silence);
        m_printHandlersSilenced = true;
    }
}

void UnattendedPage::renderPdf(const QPageLayout &layout, std::function<void(const QByteArray &)> done)
{
    m_renderingPdf = true;
    printToPdf(
        [this, done = std::move(done)](const QByteArray &pdf) {
            m_renderingPdf = false;
            if (m_retired) {
                deleteLater();
                return;
            }
            done(pdf);
        },
        layout);
}

void UnattendedPage::retire(bool endRenderer)
{
    m_retired = true;
    noteRenderer();
    if (!m_renderingPdf) {
        triggerAction(Stop);
        deleteLater();
        if (endRenderer && m_renderer && !rendererSharedWithAnother())
            signalOwn(*m_renderer, SIGKILL);
        return;
    }
    // The engine does not survive its renderer dying under a PDF it awaits,
    // so a renderer stuck in a script in the middle of one is only stopped
    // where it stands: it costs no more processor time, and it goes with the
    // program (see endAtOnceIfPagesStillRender). One merely slow is left to
    // finish, and the page goes then.
    stillRendering().insert(this);
    if (endRenderer)
        return stopRenderer();
    QTimer::singleShot(RetireGraceMs, this, &UnattendedPage::stopRenderer);
}

namespace {

std::shared_ptr<QWebEngineProfile> offTheRecordOrKept(const QString &folder)
{
    // A profile without a storage name is off the record.
    if (folder.isEmpty()) {
        auto profile = std::make_shared<QWebEngineProfile>();
        profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        return profile;
    }
    auto profile = std::make_shared<QWebEngineProfile>(QStringLiteral("signin"));
    profile->setPersistentStoragePath(folder);
    profile->setCachePath(folder + u"/cache");
    // A sign-in is most often a cookie of the session; kept, it serves the
    // next run as the site meant it to serve this browser.
    profile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
    return profile;
}

QNetworkCookie cookieFor(const core::CookieLine &line)
{
    QNetworkCookie cookie(line.name, line.value);
    // An empty domain makes a cookie for the origin's host alone.
    if (line.includeSubdomains)
        cookie.setDomain(u'.' + line.domain);
    cookie.setPath(line.path);
    cookie.setSecure(line.secure);
    cookie.setHttpOnly(line.httpOnly);
    if (line.expires > 0)
        cookie.setExpirationDate(QDateTime::fromSecsSinceEpoch(line.expires));
    return cookie;
}

void putCookies(QWebEngineCookieStore &store, const QList<core::CookieLine> &cookies)
{
    for (const core::CookieLine &line : cookies) {
        const QUrl origin((line.secure ? QStringLiteral("https://") : QStringLiteral("http://")) + line.domain + u'/');
        store.setCookie(cookieFor(line), origin);
    }
}

} // namespace

std::shared_ptr<QWebEngineProfile> makeUnattendedProfile(const core::SignIn &signIn)
{
    auto profile = offTheRecordOrKept(signIn.profileFolder);
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    lockDown(*profile->settings());
    profile->setUrlRequestInterceptor(new RequestRules(signIn.headers, signIn.headerHosts, profile.get()));
    putCookies(*profile->cookieStore(), signIn.cookies);
    QObject::connect(profile.get(), &QWebEngineProfile::downloadRequested, profile.get(),
                     [](QWebEngineDownloadRequest *download) {
                         if (auto *page = qobject_cast<UnattendedPage *>(download->page()))
                             page->noteDownloadOffered();
                         download->cancel();
                     });
    return profile;
}

} // namespace platform
