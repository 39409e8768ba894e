#include "documentprinter.h"

#ifdef TAVIMARK_HAVE_CUPS
#include "cupsqueue.h"
#endif

#include <QAuthenticator>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <QWebEngineCertificateError>
#include <QWebEngineClientCertificateSelection>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// How often a page whose web fonts are still arriving is asked again.
constexpr int FontRecheckMs = 20;

// Chromium's network error codes the user is told about in words.
constexpr int ErrAborted = -3;
constexpr int ErrFileNotFound = -6;
constexpr int ErrAccessDenied = -10;
constexpr int ErrConnectionRefused = -102;
constexpr int ErrNameNotResolved = -105;
constexpr int ErrNameResolutionFailed = -137;

// A page nobody looks at: whatever the document asks of a user is answered at
// once, so nothing it does can hold up the run.
class UnattendedPage final : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType) override { return nullptr; }
    void javaScriptAlert(const QUrl &, const QString &) override { }
    // Also asked before leaving a page; refusing would keep the old document.
    bool javaScriptConfirm(const QUrl &, const QString &) override { return true; }
    bool javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int, const QString &) override { }
    QStringList chooseFiles(FileSelectionMode, const QStringList &, const QStringList &) override { return {}; }
};

struct Target {
    QUrl url;
    // The local file's name as the file system spells it, byte for byte; empty
    // for anything that is not a local file. Kept as bytes because a name
    // that is not valid text arrives as a file URL with percent escapes, and
    // turning that into a QString would lose the bytes.
    QByteArray localName;
};

// A local path becomes a file URL; anything else is taken as an address.
Target resolve(const QString &entry)
{
    if (QDir::isAbsolutePath(entry) && !entry.contains(u"://"))
        return {QUrl::fromLocalFile(entry), QFile::encodeName(entry)};
    const QUrl url = QUrl::fromUserInput(entry);
    if (!url.isLocalFile())
        return {url, {}};
    return {url, QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())};
}

QString describeLoadFailure(const QWebEngineLoadingInfo &info)
{
    switch (info.errorCode()) {
    case ErrAborted:
        return QStringLiteral("not a page that can be printed");
    case ErrFileNotFound:
        return QStringLiteral("file not found");
    case ErrAccessDenied:
        return QStringLiteral("the file cannot be read");
    case ErrConnectionRefused:
        return QStringLiteral("the connection was refused");
    case ErrNameNotResolved:
    case ErrNameResolutionFailed:
        return QStringLiteral("unknown host");
    default:
        break;
    }
    switch (info.errorDomain()) {
    case QWebEngineLoadingInfo::HttpStatusCodeDomain:
        return u"the server answered with HTTP status " + QString::number(info.errorCode());
    case QWebEngineLoadingInfo::CertificateErrorDomain:
        return QStringLiteral("the site's certificate is not trusted");
    case QWebEngineLoadingInfo::DnsErrorDomain:
        return QStringLiteral("unknown host");
    default:
        break;
    }
    const QString detail = info.errorString();
    return detail.isEmpty() ? QStringLiteral("it could not be loaded") : u"it could not be loaded (" + detail + u')';
}

class EngineDocumentPrinter final : public QObject, public DocumentPrinter {
public:
    EngineDocumentPrinter(PrintPath path, const QString &cupsServer);
    ~EngineDocumentPrinter() override;

    std::optional<QString> printerProblem() override;
    void load(const QString &entry) override;
    LoadState loadState() const override { return m_loadState; }
    void print(const QString &title) override;
    PrintState printState() const override { return m_printState; }
    QString failure() const override { return m_failure; }

private:
    void ensurePage();
    void discardPage();
    void configure(QWebEngineSettings &settings) const;
    void wirePage();
    void onLoadingChanged(const QWebEngineLoadingInfo &info);
    void checkFonts(quint64 generation);
    void onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status);
    void printAsItStands(const QString &title);
    void printVector(const QString &title);
    void printRaster(const QString &title);
    void failLoad(const QString &reason);

    const PrintPath m_path;
#ifdef TAVIMARK_HAVE_CUPS
    CupsQueue m_cups;
#endif
    std::unique_ptr<QPrinter> m_printer;
    // Declared in this order so the page goes before its profile.
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<UnattendedPage> m_page;
    std::unique_ptr<QWebEngineView> m_view;  // only the raster path prints through a view

    // Bumped for every document, so late answers about an earlier one are ignored.
    quint64 m_generation = 0;
    LoadState m_loadState = LoadState::Failed;
    PrintState m_printState = PrintState::DocumentFailed;
    QString m_failure;
    bool m_pageSpoilt = false;
    bool m_credentialsAsked = false;
    bool m_arrived = false;  // the engine has finished loading the document's own bytes
};

EngineDocumentPrinter::EngineDocumentPrinter(PrintPath path, const QString &cupsServer)
    : m_path(path)
#ifdef TAVIMARK_HAVE_CUPS
    , m_cups(cupsServer)
#endif
{
    Q_UNUSED(cupsServer)
}

EngineDocumentPrinter::~EngineDocumentPrinter()
{
    discardPage();
}

std::optional<QString> EngineDocumentPrinter::printerProblem()
{
#ifdef TAVIMARK_HAVE_CUPS
    if (m_path == PrintPath::Vector)
        return m_cups.problem();
#endif
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return QStringLiteral("No default printer is set up, so nothing was printed.\n\n"
                              "Choose a default printer and press Print HTML Files again.");
    m_printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    m_printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    return std::nullopt;
}

void EngineDocumentPrinter::ensurePage()
{
    if (m_page)
        return;
    if (!m_profile) {
        // Off the record: nothing a document sets (cookies, storage, cache)
        // reaches the disk or outlives the program.
        m_profile = std::make_unique<QWebEngineProfile>();
        m_profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
        configure(*m_profile->settings());
        connect(m_profile.get(), &QWebEngineProfile::downloadRequested, this,
                [](QWebEngineDownloadRequest *download) { download->cancel(); });
    }
    m_page = std::make_unique<UnattendedPage>(m_profile.get());
    wirePage();
    if (m_path == PrintPath::Raster) {
        m_view = std::make_unique<QWebEngineView>();
        m_view->setPage(m_page.get());
        connect(m_view.get(), &QWebEngineView::printFinished, this, [this](bool ok) {
            if (m_printState != PrintState::Printing)
                return;
            m_printState = ok ? PrintState::Queued : PrintState::DocumentFailed;
            if (!ok)
                m_failure = QStringLiteral("the printer did not take it");
        });
    }
    m_pageSpoilt = false;
}

void EngineDocumentPrinter::discardPage()
{
    ++m_generation;
    m_view.reset();
    m_page.reset();
}

void EngineDocumentPrinter::configure(QWebEngineSettings &settings) const
{
    // Scripts run, as the documents expect, but may not reach beyond the page.
    settings.setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings.setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
    settings.setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    // A local document may use its own images and style sheets beside it;
    // it may not read remote addresses across origins. Remote documents
    // never see local files (the engine's own rule).
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

void EngineDocumentPrinter::wirePage()
{
    UnattendedPage *page = m_page.get();
    connect(page, &QWebEnginePage::loadingChanged, this, &EngineDocumentPrinter::onLoadingChanged);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int) { onRendererGone(status); });
    // Leaving the authenticator empty declines; the server's refusal then
    // fails the load, and the user is told why.
    connect(page, &QWebEnginePage::authenticationRequired, this, [this] { m_credentialsAsked = true; });
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this, [this] { m_credentialsAsked = true; });
    connect(page, &QWebEnginePage::selectClientCertificate, this,
            [](QWebEngineClientCertificateSelection selection) { selection.selectNone(); });
    connect(page, &QWebEnginePage::certificateError, this,
            [](QWebEngineCertificateError error) { error.rejectCertificate(); });
    connect(page, &QWebEnginePage::featurePermissionRequested, page,
            [page](const QUrl &origin, QWebEnginePage::Feature feature) {
                page->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
            });
}

void EngineDocumentPrinter::load(const QString &entry)
{
    ++m_generation;
    m_failure.clear();
    m_credentialsAsked = false;
    m_arrived = false;
    m_printState = PrintState::DocumentFailed;
    const Target target = resolve(entry);
    if (!target.localName.isEmpty()) {
        // Asking the file system is quicker and clearer than the engine's error.
        struct stat status {};
        if (::stat(target.localName.constData(), &status) != 0)
            return failLoad(QStringLiteral("file not found"));
        if (S_ISDIR(status.st_mode))
            return failLoad(QStringLiteral("a folder, not a document"));
    }
    // A page still busy with an earlier document (one printed at the time
    // bound, or one navigating by itself) could report on that document
    // after this load began; a fresh page cannot.
    if (m_pageSpoilt || (m_page && (m_page->isLoading() || m_loadState == LoadState::Loading)))
        discardPage();
    ensurePage();
    m_loadState = LoadState::Loading;
    m_page->load(target.url);
}

void EngineDocumentPrinter::failLoad(const QString &reason)
{
    m_loadState = LoadState::Failed;
    m_failure = reason;
}

void EngineDocumentPrinter::onLoadingChanged(const QWebEngineLoadingInfo &info)
{
    if (m_loadState != LoadState::Loading)
        return;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        break;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        m_arrived = true;
        checkFonts(m_generation);
        break;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        failLoad(QStringLiteral("loading was stopped"));
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        failLoad(m_credentialsAsked ? QStringLiteral("the server asks for a password") : describeLoadFailure(info));
        break;
    }
}

// Text set in a web font that has not arrived yet would print in a stand-in
// font, or not at all.
void EngineDocumentPrinter::checkFonts(quint64 generation)
{
    m_page->runJavaScript(QStringLiteral("document.fonts.status"), QWebEngineScript::ApplicationWorld,
                          [this, generation](const QVariant &status) {
                              if (generation != m_generation || m_loadState != LoadState::Loading)
                                  return;
                              if (status.toString() != u"loading") {
                                  m_loadState = LoadState::Complete;
                                  return;
                              }
                              QTimer::singleShot(FontRecheckMs, this, [this, generation] {
                                  if (generation == m_generation && m_loadState == LoadState::Loading)
                                      checkFonts(generation);
                              });
                          });
}

void EngineDocumentPrinter::onRendererGone(QWebEnginePage::RenderProcessTerminationStatus status)
{
    if (status == QWebEnginePage::NormalTerminationStatus && m_loadState != LoadState::Loading
        && m_printState != PrintState::Printing)
        return;
    // The page cannot be trusted after this; the next document gets a new one.
    m_pageSpoilt = true;
    if (m_loadState == LoadState::Loading)
        failLoad(QStringLiteral("the page's renderer crashed"));
    if (m_printState == PrintState::Printing) {
        m_printState = PrintState::DocumentFailed;
        m_failure = QStringLiteral("the page's renderer crashed");
    }
    ++m_generation;
}

void EngineDocumentPrinter::print(const QString &title)
{
    if (!m_page || m_pageSpoilt) {
        m_printState = PrintState::DocumentFailed;
        m_failure = QStringLiteral("there is no page to print");
        return;
    }
    m_printState = PrintState::Printing;
    if (m_loadState == LoadState::Complete || m_arrived)
        return printAsItStands(title);
    // Still loading at the time bound. Until the new document's first bytes
    // arrive the page still shows the previous one (finished, "complete"),
    // and printing that would report this entry as printed when it was not.
    const quint64 generation = m_generation;
    m_page->runJavaScript(QStringLiteral("document.readyState"), QWebEngineScript::ApplicationWorld,
                          [this, generation, title](const QVariant &state) {
                              if (generation != m_generation || m_printState != PrintState::Printing)
                                  return;
                              if (state.toString() == u"complete") {
                                  m_printState = PrintState::DocumentFailed;
                                  m_failure = QStringLiteral("it did not arrive in time");
                                  return;
                              }
                              printAsItStands(title);
                          });
}

void EngineDocumentPrinter::printAsItStands(const QString &title)
{
    if (m_path == PrintPath::Vector)
        printVector(title);
    else
        printRaster(title);
}

void EngineDocumentPrinter::printVector(const QString &title)
{
#ifdef TAVIMARK_HAVE_CUPS
    const quint64 generation = m_generation;
    m_page->printToPdf(
        [this, generation, title](const QByteArray &pdf) {
            if (generation != m_generation || m_printState != PrintState::Printing)
                return;
            if (pdf.isEmpty()) {
                m_printState = PrintState::DocumentFailed;
                m_failure = QStringLiteral("the page could not be rendered for printing");
                return;
            }
            if (const std::optional<QString> refusal = m_cups.submit(pdf, title)) {
                m_printState = PrintState::PrinterFailed;
                m_failure = *refusal;
                return;
            }
            m_printState = PrintState::Queued;
        },
        m_cups.pageLayout());
#else
    printRaster(title);
#endif
}

void EngineDocumentPrinter::printRaster(const QString &title)
{
    if (!m_printer || !m_view) {
        m_printState = PrintState::PrinterFailed;
        m_failure = QStringLiteral("no printer was chosen");
        return;
    }
    m_printer->setDocName(title);
    m_view->print(m_printer.get());
}

} // namespace

PrintPath preferredPrintPath()
{
#ifdef TAVIMARK_HAVE_CUPS
    return PrintPath::Vector;
#else
    return PrintPath::Raster;
#endif
}

std::unique_ptr<DocumentPrinter> makeDocumentPrinter(PrintPath path, const QString &cupsServer)
{
    return std::make_unique<EngineDocumentPrinter>(path, cupsServer);
}

void prepareEngineSandbox()
{
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace platform
