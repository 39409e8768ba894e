// SPDX-License-Identifier: GPL-3.0-or-later
// When the real engine takes a page for ready: pages that finish themselves
// with scripts, served on 127.0.0.1, are printed once they have settled, a
// page that never settles is printed at its bound and named for what it was
// doing, and a page quiet as it loads is printed at once.
#include "core/documentrenderer.h"
#include "platform/engine/enginerenderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>
#include <chrono>
#include <memory>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using core::RenderedDocument;

namespace {

// The pages, each named by its path. Loading... and waiting are what a page
// shows before its script has filled it.
const QHash<QString, QByteArray> Pages = {
    {QStringLiteral("/static"), "<!doctype html><h1>Plain heading</h1><p>Nothing more to come.</p>"},
    {QStringLiteral("/fetch"),
     "<!doctype html><h1>Report</h1><div id=rows>Loading...</div><script>"
     "fetch('/data?ms=' + new URLSearchParams(location.search).get('ms')).then(r => r.text())"
     ".then(t => { rows.textContent = t; });</script>"},
    {QStringLiteral("/timer"),
     "<!doctype html><h1>Report</h1><div id=late>waiting</div><script>"
     "setTimeout(() => { late.textContent = 'Filled by the timer'; }, 1500);</script>"},
    {QStringLiteral("/fetchlater"),
     "<!doctype html><h1>Report</h1><div id=rows>waiting</div><script>addEventListener('load', () =>"
     " setTimeout(() => fetch('/data?ms=0').then(r => r.text()).then(t => { rows.textContent = t; }), 300));"
     "</script>"},
    {QStringLiteral("/picture"),
     "<!doctype html><h1>Picture heading</h1><script>addEventListener('load', () => {"
     " const image = new Image(); image.src = '/image?ms=500'; document.body.append(image); });</script>"},
    {QStringLiteral("/poll"),
     "<!doctype html><h1>Poll heading</h1><p id=status>Status: unknown</p><script>let last = '';"
     "setInterval(() => fetch('/status').then(r => r.text()).then(t => {"
     " if (t !== last) { last = t; status.textContent = 'Status: ' + t; } }), 200);</script>"},
    {QStringLiteral("/stream"),
     "<!doctype html><h1>Stream heading</h1><script>const events = new EventSource('/events');"
     "events.onmessage = m => { const p = document.createElement('p'); p.textContent = m.data;"
     " document.body.append(p); };</script>"},
    {QStringLiteral("/animation"),
     "<!doctype html><style>@keyframes turn { to { transform: rotate(360deg) } }"
     "h1 { animation: turn 1s linear infinite }</style><h1>Turning heading</h1>"},
    {QStringLiteral("/frames"),
     "<!doctype html><h1 id=moving style='position:relative'>Moving heading</h1><script>let x = 0;"
     "function step() { moving.style.left = (++x % 100) + 'px'; requestAnimationFrame(step); }"
     "requestAnimationFrame(step);</script>"},
    {QStringLiteral("/ticking"),
     "<!doctype html><h1>Ticking heading</h1><p id=tick>Tick 0</p><script>let n = 0;"
     "setInterval(() => { tick.textContent = 'Tick ' + (++n); }, 50);</script>"},
    // A section that appears 1.5 s after loading, from a timer the page
    // sets once it has loaded: no settling waits for that, an element or
    // the page's own word does.
    {QStringLiteral("/appears"),
     "<!doctype html><h1>Late heading</h1><div id=late>waiting</div><script>"
     "addEventListener('load', () => setTimeout(() => setTimeout(() => {"
     " late.innerHTML = '<p id=done>Done section</p>'; }, 1200), 300));</script>"},
    {QStringLiteral("/attribute"),
     "<!doctype html><html data-print-ready=false><h1>Late heading</h1><div id=late>waiting</div><script>"
     "addEventListener('load', () => setTimeout(() => setTimeout(() => {"
     " late.textContent = 'Done section'; document.documentElement.dataset.printReady = 'true'; }, 1200), 300));"
     "</script></html>"},
    {QStringLiteral("/flag"),
     "<!doctype html><h1>Late heading</h1><div id=late>waiting</div><script>window.printReady = false;"
     "addEventListener('load', () => setTimeout(() => setTimeout(() => {"
     " late.textContent = 'Done section'; window.printReady = true; }, 1200), 300));</script>"},
    {QStringLiteral("/silent"),
     "<!doctype html><html data-print-ready=false><h1>Silent heading</h1></html>"},
    // An element whose attribute holds what a selector pasted into a
    // script would break out with.
    {QStringLiteral("/quoted"),
     "<!doctype html><h1>Quoted heading</h1><p title='a\"b</script>\\'>Quoted paragraph</p>"},
    {QStringLiteral("/three"),
     "<!doctype html><h1>Three heading</h1><div id=rows>Loading...</div><script>"
     "for (let i = 0; i < 3; ++i) fetch('/data?ms=2500');</script>"},
};

// A PNG of one pixel.
const QByteArray Pixel = QByteArray::fromBase64(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");

// Serves the pages above, and what their scripts ask for: /data answers
// after ?ms=, /image likewise, /status always the same, /events opens an
// event stream that sends one message and stays open.
class PageServer {
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(*socket); });
        });
    }
    QString url(const QString &pathAndQuery) const
    {
        return u"http://127.0.0.1:" + QString::number(m_server.serverPort()) + pathAndQuery;
    }

private:
    void answer(QTcpSocket &socket)
    {
        const QByteArray request = socket.readAll();
        const QUrl target(QString::fromLatin1(request.split(' ').value(1)));
        const QString path = target.path();
        const int ms = QUrlQuery(target).queryItemValue(QStringLiteral("ms")).toInt();
        if (Pages.contains(path))
            return reply(socket, "text/html", Pages.value(path));
        if (path == u"/data")
            return replyLater(socket, ms, "text/plain", "Rows from the server");
        if (path == u"/image")
            return replyLater(socket, ms, "image/png", Pixel);
        if (path == u"/status")
            return reply(socket, "text/plain", "unchanged");
        if (path == u"/events") {
            socket.write("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-cache\r\n\r\n"
                         "data: Streamed line\n\n");
            return;
        }
        socket.write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        socket.disconnectFromHost();
    }
    void replyLater(QTcpSocket &socket, int ms, const QByteArray &type, const QByteArray &body)
    {
        QPointer<QTcpSocket> later(&socket);
        QTimer::singleShot(ms, &m_server, [later, type, body] {
            if (later)
                reply(*later, type, body);
        });
    }
    static void reply(QTcpSocket &socket, const QByteArray &type, const QByteArray &body)
    {
        socket.write("HTTP/1.1 200 OK\r\nContent-Type: " + type + "\r\nConnection: close\r\nContent-Length: "
                     + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
};

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// How the page was to be waited for.
enum class Wait {
    None,  // printed on the first answer: quiet as it loaded
    Some,  // asked again before it settled
    Any,   // either, as the engine's timing has it
};

} // namespace

Q_DECLARE_METATYPE(RenderedDocument::State)
Q_DECLARE_METATYPE(Wait)
Q_DECLARE_METATYPE(RenderedDocument::ReadyBy)
Q_DECLARE_METATYPE(core::Readiness)

class TestSettle : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        platform::letHiddenPagesKeepTime();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_renderers = platform::engineRenderers();
    }

    void cleanupTestCase()
    {
        m_renderers = {};
        platform::endAtOnceIfPagesStillRender(1);
    }

    void pagePrintsOnceSettled_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("boundMs");
        QTest::addColumn<RenderedDocument::State>("state");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<QString>("notPrinted");
        QTest::addColumn<Wait>("wait");
        QTest::addColumn<int>("images");

        const auto complete = RenderedDocument::State::Complete;
        const auto incomplete = RenderedDocument::State::Incomplete;
        const QString loading = QStringLiteral("Loading...");
        const QString rows = QStringLiteral("Rows from the server");
        QTest::newRow("a static page, at once")
            << "/static" << 30000 << complete << QString() << QStringList{u"Plain heading"_s} << QString()
            << Wait::None << 0;
        QTest::newRow("data fetched at once")
            << "/fetch?ms=0" << 30000 << complete << QString() << QStringList{rows} << loading << Wait::Any << 0;
        QTest::newRow("data answered after 200 ms")
            << "/fetch?ms=200" << 30000 << complete << QString() << QStringList{rows} << loading << Wait::Some << 0;
        QTest::newRow("data answered after 2 s")
            << "/fetch?ms=2000" << 30000 << complete << QString() << QStringList{rows} << loading << Wait::Some << 0;
        QTest::newRow("a section filled by a 1.5 s timer")
            << "/timer" << 30000 << complete << QString() << QStringList{u"Filled by the timer"_s}
            << u"waiting"_s << Wait::Some << 0;
        QTest::newRow("data fetched 300 ms after loading")
            << "/fetchlater" << 30000 << complete << QString() << QStringList{rows} << u"waiting"_s << Wait::Some
            << 0;
        QTest::newRow("an image added by script")
            << "/picture" << 30000 << complete << QString() << QStringList{u"Picture heading"_s} << QString()
            << Wait::Some << 1;
        // Long-lived work: none of it may hold the page to its bound (30 s
        // here; the test's own time would run out first).
        QTest::newRow("a request left open")
            << "/fetch?ms=25000" << 30000 << complete << QString() << QStringList{loading} << QString()
            << Wait::Some << 0;
        QTest::newRow("polling every 200 ms, forever")
            << "/poll" << 30000 << complete << QString() << QStringList{u"Poll heading"_s} << QString()
            << Wait::Some << 0;
        QTest::newRow("an event stream that stays open")
            << "/stream" << 30000 << complete << QString() << QStringList{u"Stream heading"_s} << QString()
            << Wait::Any << 0;
        QTest::newRow("an endless CSS animation")
            << "/animation" << 30000 << complete << QString() << QStringList{u"Turning heading"_s} << QString()
            << Wait::None << 0;
        // Given no animation frames, the page must not wait for them either.
        QTest::newRow("an endless script animation")
            << "/frames" << 30000 << complete << QString() << QStringList{u"Moving heading"_s} << QString()
            << Wait::Any << 0;
        // Never settled: printed as it stands at the bound, and named.
        QTest::newRow("changing every 50 ms, forever")
            << "/ticking" << 2000 << incomplete << u"the page kept changing"_s
            << QStringList{u"Ticking heading"_s, u"Tick"_s} << QString() << Wait::Some << 0;
        QTest::newRow("three requests open at the bound")
            << "/three" << 1500 << incomplete << u"3 requests still open"_s << QStringList{loading} << QString()
            << Wait::Some << 0;
    }

    void pagePrintsOnceSettled()
    {
        QFETCH(QString, page);
        QFETCH(int, boundMs);
        QFETCH(RenderedDocument::State, state);
        QFETCH(QString, reason);
        QFETCH(QStringList, printed);
        QFETCH(QString, notPrinted);
        QFETCH(Wait, wait);
        QFETCH(int, images);

        const std::unique_ptr<core::DocumentRenderer> renderer = m_renderers();
        QSignalSpy rendered(renderer.get(), &core::DocumentRenderer::rendered);
        const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
        core::Readiness readiness;
        readiness.bound = std::chrono::milliseconds(boundMs);
        renderer->render(7, m_server.url(page), layout, readiness);
        QVERIFY(rendered.wait(boundMs + 20000));

        QCOMPARE(rendered.first().at(0).toULongLong(), quint64(7));
        const auto document = rendered.first().at(1).value<RenderedDocument>();
        QCOMPARE(document.state, state);
        QCOMPARE(document.failure, reason);
        if (wait == Wait::None)
            QCOMPARE(document.settleRounds, 0);
        if (wait == Wait::Some)
            QVERIFY(document.settleRounds > 0);

        const QString pdfPath = m_dir.filePath(QStringLiteral("page.pdf"));
        QFile pdf(pdfPath);
        QVERIFY(pdf.open(QIODevice::WriteOnly | QIODevice::Truncate));
        pdf.write(document.pdf);
        pdf.close();
        const QString text = runTool(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
        for (const QString &words : printed)
            QVERIFY2(text.contains(words), qPrintable(text));
        if (!notPrinted.isEmpty())
            QVERIFY2(!text.contains(notPrinted), qPrintable(text));
        // pdfimages -list: two heading lines, then one line per image or mask,
        // its kind third.
        const QStringList imageLines = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdfPath})
                                           .split(u'\n', Qt::SkipEmptyParts)
                                           .mid(2);
        const auto pictures = std::count_if(imageLines.cbegin(), imageLines.cend(), [](const QString &line) {
            return line.simplified().section(u' ', 2, 2) == u"image";
        });
        QCOMPARE(int(pictures), images);
    }

    // What the user or the page asks for beyond settling: the element
    // waited for, the page's own word, a delay; each either met, and the page
    // printed whole, or named at its bound.
    void pagePrintsWhenTold_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<core::Readiness>("readiness");
        QTest::addColumn<RenderedDocument::State>("state");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<RenderedDocument::ReadyBy>("readyBy");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QString>("notPrinted");

        using ReadyBy = RenderedDocument::ReadyBy;
        const auto complete = RenderedDocument::State::Complete;
        const auto incomplete = RenderedDocument::State::Incomplete;
        const auto ready = [](int boundMs, const QString &waitFor = {}, int delayMs = 0, bool settle = true) {
            core::Readiness readiness;
            readiness.bound = std::chrono::milliseconds(boundMs);
            readiness.waitFor = waitFor;
            readiness.delay = std::chrono::milliseconds(delayMs);
            readiness.settle = settle;
            return readiness;
        };
        const QString done = QStringLiteral("Done section");
        const QString waiting = QStringLiteral("waiting");
        QTest::newRow("settled before the section appears") << "/appears" << ready(30000) << complete << QString()
                                                            << ReadyBy::Settled << waiting << done;
        QTest::newRow("--wait-for the section that appears")
            << "/appears" << ready(30000, u"#late > p#done"_s) << complete << QString() << ReadyBy::Element << done
            << waiting;
        QTest::newRow("--wait-for an element never there")
            << "/static" << ready(1500, u"#never"_s) << incomplete << u"the element \"#never\" never appeared"_s
            << ReadyBy::Bound << u"Plain heading"_s << QString();
        QTest::newRow("--wait-for, quotes, a closing tag and backslashes as data")
            << "/quoted" << ready(30000, u"p[title=\"a\\\"b</script>\\\\\"]"_s) << complete << QString()
            << ReadyBy::Element << u"Quoted paragraph"_s << QString();
        QTest::newRow("--wait-for that would break out of a script")
            << "/static" << ready(1500, u"\"]); document.body.append('Broken out'); (\""_s) << incomplete
            << u"the element \"\"]); document.body.append('Broken out'); (\"\" never appeared"_s << ReadyBy::Bound
            << u"Plain heading"_s << u"Broken out"_s;
        QTest::newRow("the page's attribute, set late")
            << "/attribute" << ready(30000) << complete << QString() << ReadyBy::PageSignal << done << waiting;
        QTest::newRow("the page's flag, set late")
            << "/flag" << ready(30000) << complete << QString() << ReadyBy::PageSignal << done << waiting;
        QTest::newRow("the page's attribute, never set")
            << "/silent" << ready(1500) << incomplete << u"the page never said it was ready"_s << ReadyBy::Bound
            << u"Silent heading"_s << QString();
        QTest::newRow("a delay after settling") << "/appears" << ready(30000, {}, 2500) << complete << QString()
                                                << ReadyBy::Settled << done << waiting;
        QTest::newRow("a delay cut short by the bound")
            << "/static" << ready(1500, {}, 60000) << complete << QString() << ReadyBy::Settled << u"Plain heading"_s
            << QString();
        QTest::newRow("a static page, at once")
            << "/static" << ready(30000) << complete << QString() << ReadyBy::AtOnce << u"Plain heading"_s << QString();
        QTest::newRow("settling skipped") << "/fetch?ms=200" << ready(30000, {}, 0, false) << complete << QString()
                                          << ReadyBy::AtOnce << u"Loading..."_s << u"Rows from the server"_s;
    }

    void pagePrintsWhenTold()
    {
        QFETCH(QString, page);
        QFETCH(core::Readiness, readiness);
        QFETCH(RenderedDocument::State, state);
        QFETCH(QString, reason);
        QFETCH(RenderedDocument::ReadyBy, readyBy);
        QFETCH(QString, printed);
        QFETCH(QString, notPrinted);

        const RenderedDocument document = render(page, readiness);
        QCOMPARE(document.state, state);
        QCOMPARE(document.failure, reason);
        QCOMPARE(document.readyBy, readyBy);
        const QString text = pdfText(document);
        QVERIFY2(text.contains(printed), qPrintable(text));
        if (!notPrinted.isEmpty())
            QVERIFY2(!text.contains(notPrinted), qPrintable(text));
    }

    // A selector is checked by the engine before a run: what is no CSS is
    // refused, whatever it holds, and what is CSS passes.
    void selectorsCheckedByTheEngine_data()
    {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("an id") << u"#done"_s << false;
        QTest::newRow("an attribute with quotes") << u"p[title=\"a\\\"b</script>\"]"_s << false;
        QTest::newRow("a list of selectors") << u"main .rows > tr:nth-child(2n), td:not(.empty)"_s << false;
        QTest::newRow("an open bracket") << u"div["_s << true;
        QTest::newRow("a closing tag") << u"</script>"_s << true;
        QTest::newRow("a script") << u"\"]); alert(1); (\""_s << true;
        QTest::newRow("an escaped colon") << u"#a\\:b"_s << false;
    }

    void selectorsCheckedByTheEngine()
    {
        QFETCH(QString, selector);
        QFETCH(bool, rejected);
        QCOMPARE(platform::engineRejectsSelector(selector), rejected);
    }

private:
    RenderedDocument render(const QString &page, const core::Readiness &readiness)
    {
        const std::unique_ptr<core::DocumentRenderer> renderer = m_renderers();
        QSignalSpy rendered(renderer.get(), &core::DocumentRenderer::rendered);
        const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10));
        renderer->render(7, m_server.url(page), layout, readiness);
        if (!rendered.wait(int(readiness.bound.count()) + 20000))
            return {};
        return rendered.first().at(1).value<RenderedDocument>();
    }

    QString pdfText(const RenderedDocument &document)
    {
        const QString pdfPath = m_dir.filePath(QStringLiteral("told.pdf"));
        QFile pdf(pdfPath);
        if (!pdf.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        pdf.write(document.pdf);
        pdf.close();
        return runTool(QStringLiteral("pdftotext"), {pdfPath, QStringLiteral("-")});
    }

    QTemporaryDir m_dir;
    PageServer m_server;
    core::RendererFactory m_renderers;
};

QTEST_MAIN(TestSettle)
#include "tst_settle.moc"
