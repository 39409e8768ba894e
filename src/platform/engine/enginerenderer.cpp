// SPDX-License-Identifier: GPL-3.0-or-later
#include "enginerenderer.h"
#include "core/reasontext.h"

#include "core/entryaddress.h"
#include "core/loadfailure.h"
#include "core/signin.h"
#include "headingtargets.h"
#include "settlewatch.h"
#include "unattendedpage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

using core::addressOf;
using core::describeLoadFailure;
using core::documentAddressProblem;
using core::DocumentRenderer;
using core::engineFailed;
using core::EntryAddress;
using core::LoadError;
using core::RenderedDocument;
using core::Readiness;
using core::RendererFactory;

namespace platform {

namespace {

using namespace std::chrono_literals;

// How often a document whose web fonts are still arriving is asked again.
constexpr auto FontRecheck = 20ms;
// How often a page still at work of its own is asked again: often enough
// that a page is printed soon after its quiet time, seldom enough to cost
// the page nothing it would notice.
constexpr auto SettleRecheck = 50ms;
// How long a load that ended without a reason waits for the engine to give
// one (a file offered for download, a renderer that died).
constexpr auto ReasonNotice = 1s;
// How often a page whose site's password is being asked for tries again.
constexpr int SignInRetryMs = 200;

const QString DownloadOffered
    = core::reasonText(QT_TRANSLATE_NOOP("Reason", "the address offered a file to download, not a page"));
// How long a document still loading at its bound has to answer before its
// renderer is taken for stuck in a script and ended.
constexpr auto AnswerAllowance = 3s;
// The most a document may run past its bound, whatever it is doing, before
// its renderer is ended: a script without end costs its bound and this.
constexpr auto Grace = 5s;

// How long the engine has to say whether a selector is one, at start.
constexpr auto SelectorAnswer = 20s;

// How far the document's own clock may lag the program's when telling a
// document that began after the load was asked for from one before it.
constexpr qint64 ClockSlackMs = 10;
// The settle check runs in the page's own world: an isolated world of its
// own would be set up anew for every document, at 3 to 5 ms of processor
// time each (a tenth of a small document's whole cost); a page that tampers
// with what it reads only changes when its own print starts, within its bound.
constexpr auto SettleWorld = QWebEngineScript::MainWorld;

LoadError loadError(const QWebEngineLoadingInfo &info, bool passwordAsked)
{
    LoadError error;
    switch (info.errorDomain()) {
    case QWebEngineLoadingInfo::NoErrorDomain: error.domain = LoadError::Domain::None; break;
    case QWebEngineLoadingInfo::InternalErrorDomain: error.domain = LoadError::Domain::Internal; break;
    case QWebEngineLoadingInfo::ConnectionErrorDomain: error.domain = LoadError::Domain::Connection; break;
    case QWebEngineLoadingInfo::CertificateErrorDomain: error.domain = LoadError::Domain::Certificate; break;
    // Network errors of HTTP's own (a broken response, say), not a status.
    case QWebEngineLoadingInfo::HttpErrorDomain: error.domain = LoadError::Domain::Connection; break;
    case QWebEngineLoadingInfo::FtpErrorDomain: error.domain = LoadError::Domain::Ftp; break;
    case QWebEngineLoadingInfo::DnsErrorDomain: error.domain = LoadError::Domain::Dns; break;
    case QWebEngineLoadingInfo::HttpStatusCodeDomain: error.domain = LoadError::Domain::Http; break;
    }
    error.code = info.errorCode();
    error.text = info.errorString();
    error.passwordAsked = passwordAsked;
    return error;
}

// The number of seconds a reason names; its unit is in the reason's words.
QString seconds(std::chrono::milliseconds bound)
{
    return QString::number(std::chrono::duration<double>(bound).count(), 'g', 3);
}

class EngineRenderer final : public DocumentRenderer {
public:
    EngineRenderer(std::shared_ptr<QWebEngineProfile> profile, core::SignInAsker asker);
    ~EngineRenderer() override;

    void render(quint64 job, const QString &entry, const QPageLayout &layout, const Readiness &readiness) override;
    void cancel() override;

private:
    // Where the document under way stands. Each phase has the one timer
    // running for what it waits on.
    enum class Phase {
        Idle,
        Reporting,  // a failure found before loading, about to be reported
        Loading,    // the engine is loading it
        Settling,   // loaded; its web fonts may still be arriving
        Delaying,   // ready; waiting the delay the user asked for
        Probing,    // its time is up; waiting for the page to answer at all
        Printing,   // being rendered into a PDF
        Stopped,    // its load ended without a reason; the engine may give one
    };

    bool localFileMissing(const EntryAddress &address);
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void awaitTheReason(const QString &otherwise);
    // Whether an answer about document `generation` in `phase` is still wanted.
    bool isCurrent(quint64 generation, Phase phase) const { return generation == m_generation && m_phase == phase; }
    void checkSettled(quint64 generation);
    void onSettleAnswer(quint64 generation, const QVariantList &answer);
    RenderedDocument::ReadyBy readyByFor(const PageActivity &activity) const;
    void printWhenDelayed(const QString &title, RenderedDocument::ReadyBy readyBy);
    void recheckIn(std::chrono::milliseconds wait, quint64 generation);
    void onPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
               const QString &note, const QByteArray &pdf, QList<core::DocumentHeading> headings);
    void onTimer();
    void onHardDeadline();
    void probe();
    void onProbeAnswer(const QVariantList &answer);
    void printPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
                  const QString &note = {});
    void renderPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
                   const QString &note, QList<core::DocumentHeading> headings);
    void endRenderer(const QString &why);
    QString stoppedAnswering() const
    {
        return core::reasonText(QT_TRANSLATE_NOOP("Reason", "the page was still busy after %1 s and stopped answering"))
            .arg(seconds(m_readiness.bound));
    }
    void load();
    void onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status);
    void onRendererNeverStarted();
    void failSoon(const QString &why);
    void fail(const QString &why);
    void deliver(RenderedDocument document);
    QString finalAddress() const;
    void loadAgainSoon();
    void ensurePage();
    void discardPage(bool endRenderer = false);

    std::shared_ptr<QWebEngineProfile> m_profile;
    core::SignInAsker m_asker;
    std::unique_ptr<UnattendedPage> m_page;
    QTimer m_timer;         // the bound, then the time to answer
    QTimer m_hardDeadline;  // the bound and its grace
    Phase m_phase = Phase::Idle;
    // Bumped whenever the document under way is given up, so that late
    // answers about it are known and ignored.
    quint64 m_generation = 0;
    quint64 m_job = 0;
    QPageLayout m_layout;
    Readiness m_readiness;
    int m_settleRounds = 0;     // times the loaded page was asked again
    QElapsedTimer m_sinceLoad;  // from the end of the document's load
    std::chrono::milliseconds m_waited{0};  // from then to its being judged ready
    QString m_readyTitle;       // Delaying: the title the page had when it was ready
    RenderedDocument::ReadyBy m_readyBy = RenderedDocument::ReadyBy::Bound;  // Delaying: what made it ready
    bool m_arrived = false;     // the engine finished loading the document's own bytes
    qint64 m_loadAsked = 0;     // when the load was asked for, in ms since the epoch
    QString m_stoppedReason;    // Stopped: what is said unless the engine says more
    bool m_pageSpoilt = false;  // the page may still work on an earlier document
    QUrl m_url;                 // the document under way
    bool m_startRetried = false;  // its page's renderer could not be started once already
};

EngineRenderer::EngineRenderer(std::shared_ptr<QWebEngineProfile> profile, core::SignInAsker asker)
    : m_profile(std::move(profile))
    , m_asker(std::move(asker))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &EngineRenderer::onTimer);
    m_hardDeadline.setSingleShot(true);
    connect(&m_hardDeadline, &QTimer::timeout, this, &EngineRenderer::onHardDeadline);
}

EngineRenderer::~EngineRenderer()
{
    ++m_generation;
    m_phase = Phase::Idle;
    m_timer.stop();
    m_hardDeadline.stop();
    discardPage();
}

void EngineRenderer::ensurePage()
{
    if (m_page && !m_pageSpoilt)
        return;
    discardPage();
    m_page = std::make_unique<UnattendedPage>(m_profile.get());
    m_page->answerSignInWith(m_asker);
    connect(m_page.get(), &QWebEnginePage::loadingChanged, this, &EngineRenderer::onLoadingChanged);
    connect(m_page.get(), &UnattendedPage::downloadOfferedInstead, this, [this] {
        if (m_phase == Phase::Stopped)
            fail(DownloadOffered);
    });
    connect(m_page.get(), &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { onRendererGone(status); });
    m_pageSpoilt = false;
}

// The page may be inside one of its own notifications, or rendering a PDF,
// so it goes when it can (see UnattendedPage::retire); it keeps the profile
// alive until then, as a page must never outlive its profile.
void EngineRenderer::discardPage(bool endRenderer)
{
    if (!m_page)
        return;
    m_page->disconnect(this);
    UnattendedPage *page = m_page.release();
    connect(page, &QObject::destroyed, [keep = m_profile] {});
    page->retire(endRenderer);
}

void EngineRenderer::render(quint64 job, const QString &entry, const QPageLayout &layout,
                            const Readiness &readiness)
{
    cancel();
    m_job = job;
    m_layout = layout;
    m_readiness = readiness;
    m_arrived = false;
    m_sinceLoad.invalidate();
    m_settleRounds = 0;
    // Whatever added the entry should have refused it already; the page
    // must never be handed one all the same.
    if (const QString problem = documentAddressProblem(entry); !problem.isEmpty())
        return failSoon(problem);
    const EntryAddress address = addressOf(entry);
    if (localFileMissing(address))
        return;
    m_url = address.url;
    m_startRetried = false;
    load();
}

// Loads the document under way, on a fresh page unless the one there is
// fit for it.
void EngineRenderer::load()
{
    // A page still busy with an earlier document (one given up, or one
    // navigating by itself) could report on that document after this load
    // began; a fresh page cannot.
    if (m_page && m_page->isLoading())
        m_pageSpoilt = true;
    ensurePage();
    watchSettling(m_page->scripts(), m_readiness.settle);
    m_page->beginLoad();
    // Nothing of the documents before it may reach this one, not even the
    // way back to them.
    m_page->history()->clear();
    m_phase = Phase::Loading;
    m_timer.start(m_readiness.bound);
    m_hardDeadline.start(m_readiness.bound + Grace);
    m_loadAsked = QDateTime::currentMSecsSinceEpoch();
    m_page->load(m_url);
}

// Asking the file system is quicker and clearer than the engine's error.
bool EngineRenderer::localFileMissing(const EntryAddress &address)
{
    if (address.localName.isEmpty())
        return false;
    struct stat status {};
    if (::stat(address.localName.constData(), &status) != 0) {
        failSoon(core::reasonText(QT_TRANSLATE_NOOP("Reason", "file not found")));
        return true;
    }
    if (S_ISDIR(status.st_mode)) {
        failSoon(core::reasonText(QT_TRANSLATE_NOOP("Reason", "a folder, not a document")));
        return true;
    }
    return false;
}

void EngineRenderer::cancel()
{
    ++m_generation;
    m_timer.stop();
    m_hardDeadline.stop();
    if (m_phase != Phase::Idle && m_phase != Phase::Reporting)
        m_pageSpoilt = true;
    m_phase = Phase::Idle;
    if (m_pageSpoilt)
        discardPage();
}

void EngineRenderer::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (m_phase != Phase::Loading)
        return;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        m_arrived = true;
        m_sinceLoad.start();
        m_phase = Phase::Settling;
        checkSettled(m_generation);
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        if (m_page->downloadOffered())
            return fail(DownloadOffered);
        // A file offered for download stops the load before the engine
        // says what it was; it gets a moment to say so.
        awaitTheReason(core::reasonText(QT_TRANSLATE_NOOP("Reason", "loading was stopped")));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (m_page->downloadOffered())
            return fail(DownloadOffered);
        if (m_page->signInRefused())
            return fail(core::signInRefused());
        if (m_page->signInPending())
            return loadAgainSoon();
        // A failure without a word may be the renderer's death, which the
        // engine reports a moment later.
        if (info.errorCode() == 0 && info.errorString().isEmpty())
            return awaitTheReason(describeLoadFailure(loadError(info, m_page->passwordAsked())));
        fail(describeLoadFailure(loadError(info, m_page->passwordAsked())));
        break;
    }
}

// The load ended without saying why; the engine may say it in a moment (a
// file offered for download, a renderer that died), else `otherwise` stands.
void EngineRenderer::awaitTheReason(const QString &otherwise)
{
    m_phase = Phase::Stopped;
    m_stoppedReason = otherwise;
    m_timer.start(ReasonNotice);
}

void EngineRenderer::checkSettled(quint64 generation)
{
    m_page->runJavaScript(settleCheck(m_readiness.waitFor), SettleWorld,
                          [self = QPointer(this), generation](const QVariant &result) {
        if (!self || !self->isCurrent(generation, Phase::Settling))
            return;
        self->onSettleAnswer(generation, result.toList());
    });
}

// A page quiet as it finishes loading (a static document) is printed on the
// first answer; one still at work is asked again until it has settled, or
// its bound is up.
void EngineRenderer::onSettleAnswer(quint64 generation, const QVariantList &answer)
{
    const PageActivity activity = activityFrom(answer);
    if (!m_readiness.settle && !activity.fontsLoading)
        return printPdf(RenderedDocument::State::Complete, RenderedDocument::ReadyBy::AtOnce, titleFrom(answer));
    if (m_readiness.settle && isReady(activity, m_readiness.quiet))
        return printWhenDelayed(titleFrom(answer), readyByFor(activity));
    ++m_settleRounds;
    if (activity.fontsLoading)
        return recheckIn(FontRecheck, generation);
    recheckIn(SettleRecheck, generation);
}

RenderedDocument::ReadyBy EngineRenderer::readyByFor(const PageActivity &activity) const
{
    using ReadyBy = RenderedDocument::ReadyBy;
    if (!m_readiness.waitFor.isEmpty() && activity.elementFound)
        return ReadyBy::Element;
    if (activity.pageSignal == PageActivity::Signal::Given)
        return ReadyBy::PageSignal;
    if (m_settleRounds == 0 && m_readiness.delay.count() == 0)
        return ReadyBy::AtOnce;
    return ReadyBy::Settled;
}

// The delay the user asked for runs within the bound: should the bound come
// first, the page is printed then, as ready as it was.
void EngineRenderer::printWhenDelayed(const QString &title, RenderedDocument::ReadyBy readyBy)
{
    if (m_readiness.delay.count() <= 0)
        return printPdf(RenderedDocument::State::Complete, readyBy, title);
    m_phase = Phase::Delaying;
    m_readyTitle = title;
    m_readyBy = readyBy;
    const quint64 generation = m_generation;
    QTimer::singleShot(m_readiness.delay, this, [this, generation] {
        if (isCurrent(generation, Phase::Delaying))
            printPdf(RenderedDocument::State::Complete, m_readyBy, m_readyTitle);
    });
}

void EngineRenderer::recheckIn(std::chrono::milliseconds wait, quint64 generation)
{
    QTimer::singleShot(wait, this, [this, generation] {
        if (isCurrent(generation, Phase::Settling))
            checkSettled(generation);
    });
}

void EngineRenderer::onTimer()
{
    switch (m_phase) {
    case Phase::Loading:
    case Phase::Settling:
        probe();
        break;
    case Phase::Delaying:
        printPdf(RenderedDocument::State::Complete, m_readyBy, m_readyTitle);
        break;
    case Phase::Probing:
        // A page that cannot even answer is running a script without end.
        endRenderer(stoppedAnswering());
        break;
    case Phase::Printing:
        // Already being rendered: the hard deadline decides.
        break;
    case Phase::Stopped:
        fail(m_stoppedReason);
        break;
    case Phase::Idle:
    case Phase::Reporting:
        break;
    }
}

void EngineRenderer::onHardDeadline()
{
    switch (m_phase) {
    case Phase::Printing:
        endRenderer(core::reasonText(QT_TRANSLATE_NOOP("Reason", "preparing it for the printer took too long")));
        break;
    case Phase::Loading:
    case Phase::Settling:
    case Phase::Delaying:
    case Phase::Probing:
    case Phase::Stopped:
        endRenderer(stoppedAnswering());
        break;
    case Phase::Idle:
    case Phase::Reporting:
        break;
    }
}

// Time is up while the document is still loading. Whether its page still
// answers decides between printing it as it stands and giving it up.
void EngineRenderer::probe()
{
    m_phase = Phase::Probing;
    m_timer.start(AnswerAllowance);
    const quint64 generation = m_generation;
    m_page->runJavaScript(settleCheck(m_readiness.waitFor), SettleWorld,
                          [self = QPointer(this), generation](const QVariant &result) {
        if (self && self->isCurrent(generation, Phase::Probing))
            self->onProbeAnswer(result.toList());
    });
}

void EngineRenderer::onProbeAnswer(const QVariantList &answer)
{
    // Until the new document's first bytes arrive, the page still holds the
    // one before it (or nothing at all), finished: printing that would report
    // this entry as printed when it was not. A finished document that began
    // after the load was asked for is this entry's, whose end the engine
    // has not reported yet.
    const PageActivity activity = activityFrom(answer);
    if (!m_arrived && readyStateFrom(answer) == u"complete") {
        const bool began = timeOriginFrom(answer) >= double(m_loadAsked - ClockSlackMs);
        if (!began)
            return fail(core::reasonText(QT_TRANSLATE_NOOP("Reason", "nothing of it arrived within %1 s"))
                            .arg(seconds(m_readiness.bound)));
        if (!activity.fontsLoading && !activity.elementMissing)
            return printPdf(RenderedDocument::State::Complete, readyByFor(activity), titleFrom(answer));
    }
    if (m_arrived && (m_readiness.settle ? isReady(activity, m_readiness.quiet) : !activity.fontsLoading))
        return printPdf(RenderedDocument::State::Complete, readyByFor(activity), titleFrom(answer));
    // A page whose own document had loaded is named by what it was still
    // doing (or the element or word it never gave); one still loading its
    // document, as still loading.
    const QString doing = m_arrived ? notReadyReason(activity, m_readiness.waitFor) : QString();
    m_page->triggerAction(QWebEnginePage::Stop);
    printPdf(
        RenderedDocument::State::Incomplete, RenderedDocument::ReadyBy::Bound, titleFrom(answer),
        doing.isEmpty()
            ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "still loading after %1 s")).arg(seconds(m_readiness.bound))
            : doing);
}

void EngineRenderer::printPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
                              const QString &note)
{
    m_phase = Phase::Printing;
    m_timer.stop();
    m_waited = std::chrono::milliseconds(m_sinceLoad.isValid() ? m_sinceLoad.elapsed() : 0);
    if (!m_readiness.headings)
        return renderPdf(state, readyBy, title, note, {});
    // The names must be in the document before the engine lays it out for
    // print; a page that never answers is ended by the hard deadline.
    const quint64 generation = m_generation;
    m_page->runJavaScript(headingTargetsScript(), SettleWorld,
                          [self = QPointer(this), generation, state, readyBy, title, note](const QVariant &answer) {
                              if (self && self->isCurrent(generation, Phase::Printing))
                                  self->renderPdf(state, readyBy, title, note, headingsFrom(answer));
                          });
}

void EngineRenderer::renderPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
                               const QString &note, QList<core::DocumentHeading> headings)
{
    const quint64 generation = m_generation;
    m_page->renderPdf(m_layout, [self = QPointer(this), generation, state, readyBy, title, note,
                                 headings = std::move(headings)](const QByteArray &pdf) {
        if (self && self->isCurrent(generation, Phase::Printing))
            self->onPdf(state, readyBy, title, note, pdf, headings);
    });
}

void EngineRenderer::onPdf(RenderedDocument::State state, RenderedDocument::ReadyBy readyBy, const QString &title,
                           const QString &note, const QByteArray &pdf, QList<core::DocumentHeading> headings)
{
    if (pdf.isEmpty())
        return fail(core::reasonText(QT_TRANSLATE_NOOP("Reason", "the page could not be rendered for printing")));
    RenderedDocument document;
    document.state = state;
    document.pdf = pdf;
    document.title = title;
    document.failure = note;
    document.settleRounds = m_settleRounds;
    document.readyBy = readyBy;
    document.waited = m_waited;
    document.finalAddress = finalAddress();
    document.headings = std::move(headings);
    deliver(std::move(document));
}

// A renderer that will not stop by itself is ended, and the page with it
// once the engine has let go of whatever it awaited from it.
void EngineRenderer::endRenderer(const QString &why)
{
    // Whatever the page still owes comes back as it goes: stale now.
    ++m_generation;
    m_phase = Phase::Reporting;
    discardPage(true);
    m_pageSpoilt = false;
    fail(why);
}

void EngineRenderer::onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status)
{
    const bool working = m_phase != Phase::Idle && m_phase != Phase::Reporting;
    if (status == QWebEnginePage::NormalTerminationStatus && !working)
        return;
    // The page cannot be trusted after this; the next document gets a new one.
    m_pageSpoilt = true;
    if (!working)
        return;
    if (!m_page->rendererCameUp())
        return onRendererNeverStarted();
    fail(core::reasonText(QT_TRANSLATE_NOOP("Reason", "the page's renderer crashed")));
}

// How a renderer's death is told from the engine's: a renderer that ends
// after it came up (the engine named its process) has crashed, or was
// killed, and fails its own document only. One that ends before it ever came
// up was never started: the engine could not start a process for the page.
// The engine starts every renderer through one process of its own (its
// zygote); once that is gone, no page gets a renderer again, and every
// document given to a fresh page would fail at once, each named as if its
// renderer had crashed. A passing refusal (the machine short of processes
// for a moment) is told from that by one more try on another fresh page; a
// second renderer that never comes up means the engine can start no more,
// and the document says so, for the run to stop rather than fail every
// entry left one by one.
void EngineRenderer::onRendererNeverStarted()
{
    if (m_startRetried) {
        RenderedDocument document;
        document.failure = engineFailed();
        document.engineFailed = true;
        return deliver(std::move(document));
    }
    m_startRetried = true;
    // Not inside the page's own notification: the page goes first.
    ++m_generation;
    m_phase = Phase::Reporting;
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_generation && m_phase == Phase::Reporting)
                load();
        },
        Qt::QueuedConnection);
}

// Reported from the event loop, like every other outcome, so that whoever
// asked never hears back before render() has returned.
void EngineRenderer::failSoon(const QString &why)
{
    m_phase = Phase::Reporting;
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, why] {
            if (generation == m_generation && m_phase == Phase::Reporting)
                fail(why);
        },
        Qt::QueuedConnection);
}

void EngineRenderer::fail(const QString &why)
{
    RenderedDocument document;
    document.failure = why;
    deliver(std::move(document));
}

// The site's password was being asked for another page; once the user has
// answered, this one gets the answer too. Its time bound runs on meanwhile.
void EngineRenderer::loadAgainSoon()
{
    QTimer::singleShot(SignInRetryMs, this, [this, generation = m_generation] {
        if (!isCurrent(generation, Phase::Loading) || !m_page)
            return;
        m_page->beginLoad();
        m_page->load(m_url);
    });
}

// Where a redirect took the document, without any user name or password the
// address held; nothing when it stayed where it was sent.
QString EngineRenderer::finalAddress() const
{
    if (!m_page)
        return {};
    const QUrl ended = m_page->url().adjusted(QUrl::RemoveUserInfo);
    if (ended.isEmpty() || ended == m_url.adjusted(QUrl::RemoveUserInfo))
        return {};
    return ended.toString(QUrl::FullyEncoded);
}

void EngineRenderer::deliver(RenderedDocument document)
{
    ++m_generation;
    m_timer.stop();
    m_hardDeadline.stop();
    m_phase = Phase::Idle;
    Q_EMIT rendered(m_job, document);
}

} // namespace

namespace {

// Without anyone to ask, a site gets what the netrc file holds for its host,
// and nothing else.
core::SignInAsker askerFor(const core::SignIn &signIn)
{
    if (signIn.ask)
        return signIn.ask;
    if (signIn.netrc.isEmpty())
        return {};
    return [netrc = signIn.netrc](const QUrl &url, const QString &) {
        core::SignInAnswer answer;
        if (const std::optional<core::NetrcEntry> entry = core::netrcEntryFor(netrc, url.host()))
            answer.credentials = core::Credentials{entry->login, entry->password};
        return answer;
    };
}

} // namespace

SharedProfile::SharedProfile(core::SignIn signIn)
    : m_signIn(std::move(signIn))
{
}

SharedProfile::~SharedProfile() = default;

std::shared_ptr<QWebEngineProfile> SharedProfile::profile()
{
    if (!m_profile)
        m_profile = makeUnattendedProfile(m_signIn);
    return m_profile;
}

RendererFactory engineRenderers(std::shared_ptr<SharedProfile> shared, const std::shared_ptr<core::SignInAsker> &ask)
{
    core::SignInAsker asker = askerFor(shared->signIn());
    if (ask) {
        // Filled in later, by whoever can ask the user.
        asker = [ask](const QUrl &url, const QString &realm) {
            return *ask ? (*ask)(url, realm) : core::SignInAnswer();
        };
    }
    return [shared, asker]() -> std::unique_ptr<DocumentRenderer> {
        return std::make_unique<EngineRenderer>(shared->profile(), asker);
    };
}

RendererFactory engineRenderers(const core::SignIn &signIn)
{
    return engineRenderers(std::make_shared<SharedProfile>(signIn));
}

bool engineRejectsSelector(const QString &selector)
{
    QWebEngineProfile profile;
    auto page = std::make_unique<QWebEnginePage>(&profile);
    QEventLoop loop;
    std::optional<bool> accepted;
    QObject::connect(page.get(), &QWebEnginePage::loadFinished, &loop, [&](bool) {
        page->runJavaScript(selectorCheck(selector), QWebEngineScript::ApplicationWorld, [&](const QVariant &answer) {
            accepted = answer.toBool();
            loop.quit();
        });
    });
    // An engine that cannot answer at all fails the run soon enough, and
    // better named: this only looks for a selector that is not one.
    QTimer::singleShot(SelectorAnswer, &loop, &QEventLoop::quit);
    page->setHtml(QStringLiteral("<!doctype html>"));
    loop.exec();
    page.reset();
    return accepted.has_value() && !*accepted;
}

bool makeProfileFolder(const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    return ::chmod(QFile::encodeName(folder).constData(), S_IRWXU) == 0;
}

void endAtOnceIfPagesStillRender(int status)
{
    const std::set<UnattendedPage *> &pages = UnattendedPage::pagesStillRendering();
    if (pages.empty()) {
        // Pages let go of with deleteLater() after the last turn of the event
        // loop would otherwise outlive their profile.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return;
    }
    for (const UnattendedPage *page : pages) {
        if (page->renderer())
            signalOwn(*page->renderer(), SIGKILL);
    }
    std::fflush(nullptr);
    std::_Exit(status);
}

void letHiddenPagesKeepTime()
{
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --disable-background-timer-throttling");
}

void prepareEngineSandbox()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace platform
