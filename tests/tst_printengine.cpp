// SPDX-License-Identifier: GPL-3.0-or-later
// The print run end to end: the real browser engine renders each entry and
// the real print system takes the jobs, on the private queue of the print
// test rig, whose backend keeps every job's bytes for these tests to read.
// Pages come from a small web server of the tests' own that fails in the
// ways real ones do.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "joblist/marks.h"
#include "platform/engine/enginerenderer.h"
#include "core/entryaddress.h"
#include "platform/printers/printers.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"

#include "support/answerrelay.h"
#include "support/fakedesktop.h"
#include "support/printrig.h"
#include "support/processes.h"

#include <QApplication>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>
#include <QUuid>

#include <algorithm>
#include <memory>
#include <optional>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;
using joblist::Mark;
using core::MousePointer;
using rig::jobTexts;
using rig::jobTitles;

namespace {

QString writeDocument(const QTemporaryDir &dir, const QString &name, const QString &heading, const QString &extra = {})
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write((u"<!doctype html><html><head><meta charset=\"utf-8\"><title>" + name + u"</title></head><body>" + extra
                + u"<h1>" + heading + u"</h1><p>Some words under the heading.</p></body></html>")
                   .toUtf8());
    return path;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A web server on 127.0.0.1 whose pages fail in the ways a real one's can.
// Every path may carry a query, so that each test's addresses are its own.
class TroubleServer {
public:
    TroubleServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(*socket); });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, [this] { ++m_dropped; });
            }
        });
    }
    // Connections the browser closed (a load given up, say) or that ended.
    int dropped() const { return m_dropped; }
    QString url(const QString &path) const
    {
        return u"http://127.0.0.1:" + QString::number(m_server.serverPort()) + path
            + (path.contains(u'?') ? u"&" : u"?") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }
    int hits(const QString &path) const { return m_hits.value(path); }

private:
    void answer(QTcpSocket &socket)
    {
        const QByteArray request = socket.readAll();
        const QUrl target(QString::fromLatin1(request.split(' ').value(1)));
        const QString path = target.path();
        ++m_hits[path];
        const QUrlQuery query(target);
        if (path == u"/never") {
            // Promises far more than it sends and never closes.
            socket.write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                         "Content-Length: 1000000\r\n\r\n<!doctype html><body><h1>Partial heading</h1>"
                         "<p>The rest never comes.</p>");
            socket.write(QByteArray(4096, ' '));
        } else if (path == u"/nofont") {
            // Set in a web font that never arrives.
            reply(socket, "200 OK", "", "<!doctype html><style>@font-face{font-family:Late;src:url(/hang)}"
                                         "h1{font-family:Late,sans-serif}</style><h1>Font heading</h1>");
        } else if (path == u"/ticking") {
            // Loaded at once, then changed every 50 ms for ever.
            reply(socket, "200 OK", "", "<!doctype html><h1>Ticking heading</h1><p id=tick>Tick 0</p><script>let n = 0;"
                                         "setInterval(() => { tick.textContent = 'Tick ' + (++n); }, 50);</script>");
        } else if (path == u"/hang") {
            // Nothing at all, ever.
        } else if (path == u"/loop") {
            reply(socket, "200 OK", "", "<!doctype html><h1>Loop heading</h1><script>for (;;) {}</script>");
        } else if (path == u"/busy") {
            // Arrives whole, then keeps its renderer busy for 100 s.
            reply(socket, "200 OK", "", "<!doctype html><h1>Busy heading</h1><script>addEventListener('load', () => {"
                                         " const end = Date.now() + 100000; while (Date.now() < end) {} });</script>");
        } else if (path == u"/secret") {
            reply(socket, "401 Unauthorized", "WWW-Authenticate: Basic realm=\"rig\"\r\n", "<h1>Who are you</h1>");
        } else if (path == u"/slow") {
            const QByteArray body = "<!doctype html><h1>Slow heading " + query.queryItemValue(QStringLiteral("n")).toUtf8() + "</h1>";
            QPointer<QTcpSocket> later(&socket);
            QTimer::singleShot(query.queryItemValue(QStringLiteral("ms")).toInt(), &m_server, [later, body] {
                if (later)
                    reply(*later, "200 OK", "", body);
            });
        } else if (path == u"/download") {
            reply(socket, "200 OK", "Content-Disposition: attachment; filename=\"report.zip\"\r\n", "<h1>Not a page</h1>");
        } else if (path == u"/good") {
            reply(socket, "200 OK", "", "<h1>Served heading</h1>");
        } else {
            reply(socket, "404 Not Found", "", "<h1>Error page heading</h1>");
        }
    }
    static void reply(QTcpSocket &socket, const QByteArray &status, const QByteArray &headers, const QByteArray &body)
    {
        socket.write("HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nConnection: close\r\n" + headers
                     + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
    QHash<QString, int> m_hits;
    int m_dropped = 0;
};

// The main window with scripted dialogs but the real engine and printer.
struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form;

    explicit Window(const QString &cupsServer = {}, std::chrono::milliseconds bound = 10s, int renderers = 2)
    {
        core::Desktop desktop = fakes.make();
        desktop.renderers = platform::engineRenderers();
        desktop.printSink = platform::makePrinterSink(cupsServer);
        form = std::make_unique<app::Form1>(std::move(desktop));
        printing::RunSettings settings;
        settings.documentBound = bound;
        settings.renderers = renderers;
        form->printRun().setSettings(settings);
    }
    joblist::JobList &jobs() { return form->jobs(); }
    void addThroughDialog(const QStringList &answer)
    {
        fakes.fileDialog->answers << answer;
        form->Check1()->click();
    }
    // Presses Print and waits for the closing message.
    bool print(int waitMs = 60'000)
    {
        const qsizetype before = fakes.messageBox->shown.size();
        QSignalSpy finished(&form->printRun(), &printing::PrintRun::finished);
        form->Check2()->click();
        if (finished.isEmpty() && !finished.wait(waitMs))
            return false;
        // The message opens on the next turn of the event loop.
        return QTest::qWaitFor([&] { return fakes.messageBox->shown.size() > before; }, 5'000);
    }
    QStringList messages() const { return fakes.messageBox->shown; }
};

constexpr int JobArrivalMs = 30000;

// The renderer below `ancestor` that has used the most processor time: one
// running a script without end, once it has run for a while (not one idle
// or kept ready for the next page).
std::optional<processes::Process> busiestRendererOf(qint64 ancestor)
{
    std::optional<processes::Process> busiest;
    for (const processes::Process &renderer : processes::renderersBelow(ancestor)) {
        if (!busiest || renderer.cpuTicks > busiest->cpuTicks)
            busiest = renderer;
    }
    return busiest;
}

} // namespace

class TestPrintEngine : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        platform::letHiddenPagesKeepTime();
        QFile server(rig::sharedFolder() + u"/server");
        if (server.open(QIODevice::ReadOnly))
            qputenv("CUPS_SERVER", server.readAll().trimmed());
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("needs the print test rig; run through ctest, which starts it");
    }

    void threeFilesFromTheDialog_printInListOrderAndStayListed()
    {
        QTemporaryDir dir;
        writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Heading Alpha"));
        writeDocument(dir, QStringLiteral("b.htm"), QStringLiteral("Heading Bravo"));
        writeDocument(dir, QStringLiteral("c.html"), QStringLiteral("Heading Charlie"));
        Window window;
        window.addThroughDialog({dir.filePath(QStringLiteral("c.html")), dir.filePath(QStringLiteral("a.htm")), dir.filePath(QStringLiteral("b.htm"))});
        const QStringList entries{dir.filePath(QStringLiteral("c.html")), dir.filePath(QStringLiteral("a.htm")),
                                  dir.filePath(QStringLiteral("b.htm"))};

        QVERIFY(window.print());

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()), entries, JobArrivalMs);
        const QStringList texts = jobTexts(dir.path());
        QVERIFY2(texts.value(0).contains(u"Heading Charlie"), qPrintable(texts.value(0)));
        QVERIFY2(texts.value(1).contains(u"Heading Alpha"), qPrintable(texts.value(1)));
        QVERIFY2(texts.value(2).contains(u"Heading Bravo"), qPrintable(texts.value(2)));
        for (int position = 1; position <= 3; ++position) {
            QCOMPARE(window.jobs().text(position), entries.at(position - 1));
            // Sent first; printed once the printer says so.
            QTRY_COMPARE_WITH_TIMEOUT(window.jobs().mark(position), Mark::Printed, JobArrivalMs);
        }
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    // A file's name is bytes: names that are not valid text (from a folder
    // walk or a drop) travel as file URLs whose escapes spell them, and the
    // run must find and print that very file. Control characters in a name
    // reach the queue's job title as spaces.
    void namesThatAreNotPlainText_printTheFilesTheyName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("title");  // what the queue shows, after the folder
        QTest::newRow("Latin-1 bytes") << QByteArray("caf\xe9 r\xe9sum\xe9.htm") << QString();
        QTest::newRow("tab and line feed") << QByteArray("tab\there\nline.htm") << QStringLiteral("/tab here line.htm");
    }
    void namesThatAreNotPlainText_printTheFilesTheyName()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, title);
        QTemporaryDir dir;
        const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        const QByteArray html = "<!doctype html><title>x</title><h1>Heading Bytes</h1>";
        QCOMPARE(::write(fd, html.constData(), size_t(html.size())), ssize_t(html.size()));
        ::close(fd);
        // QTemporaryDir cannot remove a name that is not text.
        const auto remove = qScopeGuard([&path] { ::unlink(path.constData()); });
        const QString entry = core::entryText(path);

        Window window;
        window.jobs().add(entry);
        QVERIFY(window.print());

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        const QString prefix = title.isEmpty() ? entry : dir.path();
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(prefix).size(), 1, JobArrivalMs);
        QVERIFY(jobTexts(prefix).value(0).contains(u"Heading Bytes"));
        if (!title.isEmpty())
            QCOMPARE(jobTitles(prefix).value(0), dir.path() + title);
    }

    void failedLoad_isNamedAndTheOthersPrint_data()
    {
        QTest::addColumn<QString>("path");    // under the test's folder, or a server path
        QTest::addColumn<QString>("reason");  // what the message says after the entry

        QTest::newRow("missing file") << QStringLiteral("file:gone.htm") << QStringLiteral("file not found");
        QTest::newRow("HTTP error status") << QStringLiteral("http:/missing")
                                           << QStringLiteral("the server answered with HTTP status 404");
        QTest::newRow("password demanded") << QStringLiteral("http:/secret")
                                           << QStringLiteral("the server asks for a password");
        QTest::newRow("connection refused") << QStringLiteral("refused") << QStringLiteral("the connection was refused");
        QTest::newRow("download offered") << QStringLiteral("http:/download")
                                          << QStringLiteral("the address offered a file to download, not a page");
        QTest::newRow("NUL in the address") << QStringLiteral("http:/a%00b")
                                            << QStringLiteral("the address holds a NUL character (%00), which no document's address can");
        // A script address would run inside the document before it, a local
        // one, which may read local files and send them anywhere.
        QTest::newRow("script address") << QStringLiteral("script:") << QStringLiteral("not a document address");
        QTest::newRow("browser page") << QStringLiteral("raw:chrome://version") << QStringLiteral("not a document address");
    }
    void failedLoad_isNamedAndTheOthersPrint()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        TroubleServer server;
        QString bad;
        if (path.startsWith(u"file:")) {
            bad = dir.filePath(path.mid(5));
        } else if (path.startsWith(u"http:")) {
            bad = server.url(path.mid(5));
        } else if (path == u"script:") {
            bad = u"javascript:location.href='" + server.url(QStringLiteral("/leak")) + u"&title='+document.title";
        } else if (path.startsWith(u"raw:")) {
            bad = path.mid(4);
        } else {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            const quint16 port = closed.serverPort();
            closed.close();
            bad = u"http://127.0.0.1:" + QString::number(port) + u"/";
        }
        Window window;
        window.jobs().add(writeDocument(dir, QStringLiteral("first.htm"), QStringLiteral("First heading")));
        window.jobs().add(bad);
        window.jobs().add(writeDocument(dir, QStringLiteral("last.htm"), QStringLiteral("Last heading")));

        QVERIFY(window.print());

        QCOMPARE(window.messages().size(), 1);
        const QString message = window.messages().first();
        QVERIFY2(message.contains(u"1 entry that could not be printed"), qPrintable(message));
        QVERIFY2(message.contains(bad + u" (" + reason + u')'), qPrintable(message));
        QCOMPARE(window.jobs().mark(2), Mark::NotPrinted);
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        QCOMPARE(jobTitles(dir.path()), (QStringList{window.jobs().text(1), window.jobs().text(3)}));
        QVERIFY(jobTitles(bad).isEmpty());
        // A password demand is declined at once, not asked again and again.
        if (path == u"http:/secret")
            QCOMPARE(server.hits(QStringLiteral("/secret")), 1);
        QCOMPARE(server.hits(QStringLiteral("/leak")), 0);
    }

    // At its bound, a document whose page still answers is printed as it
    // stands and named; the next one prints as usual.
    void documentStillLoadingAtTheBound_isPrintedAsItStandsAndNamed_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("reason");
        QTest::newRow("body that never ends")
            << QStringLiteral("/never") << QStringLiteral("Partial heading") << QStringLiteral("still loading after 1.5 s");
        QTest::newRow("web font that never arrives")
            << QStringLiteral("/nofont") << QStringLiteral("Font heading") << QStringLiteral("still loading after 1.5 s");
        QTest::newRow("document that keeps changing")
            << QStringLiteral("/ticking") << QStringLiteral("Ticking heading") << QStringLiteral("the page kept changing");
    }
    void documentStillLoadingAtTheBound_isPrintedAsItStandsAndNamed()
    {
        QFETCH(QString, path);
        QFETCH(QString, heading);
        QFETCH(QString, reason);
        TroubleServer server;
        QTemporaryDir dir;
        Window window({}, 1500ms);
        const QString slow = server.url(path);
        window.jobs().add(slow);
        window.jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));

        QVERIFY(window.print());

        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"Done. Print jobs sent to printer.\n\n1 entry was printed before it finished loading:"),
                 qPrintable(message));
        QVERIFY2(message.contains(slow + u" (" + reason + u')'), qPrintable(message));
        QCOMPARE(window.jobs().mark(1), Mark::PrintedIncomplete);
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(slow).size(), 1, JobArrivalMs);
        QVERIFY2(jobTexts(slow).first().contains(heading), qPrintable(jobTexts(slow).first()));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 1, JobArrivalMs);
    }

    // A page whose script never lets its renderer go is ended once its bound
    // is up and named as not printed; nothing of it is printed later.
    void pageThatStopsAnswering_isEndedAndNotPrinted_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("endless script while loading") << QStringLiteral("/loop");
        QTest::newRow("script busy after loading") << QStringLiteral("/busy");
    }
    void pageThatStopsAnswering_isEndedAndNotPrinted()
    {
        QFETCH(QString, path);
        TroubleServer server;
        QTemporaryDir dir;
        const auto bound = 2s;
        Window window({}, bound);
        const QString stuck = server.url(path);
        window.jobs().add(stuck);
        window.jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);

        QVERIFY(window.print());

        // Only the page's own bound gives up a page that no longer answers,
        // and its reason says so: the stuck entry settled once, by it, before
        // the entry after it.
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).at(0).toInt(), 1);
        const auto stuckOutcome = entries.at(0).at(3).value<printing::EntryOutcome>();
        QCOMPARE(stuckOutcome.result, printing::EntryOutcome::Result::NotPrinted);
        QCOMPARE(stuckOutcome.reason, QStringLiteral("the page was still busy after 2 s and stopped answering"));
        const QString message = window.messages().value(0);
        QVERIFY2(message.contains(stuck + u" (the page was still busy after 2 s and stopped answering)"),
                 qPrintable(message));
        QCOMPARE(window.jobs().mark(1), Mark::NotPrinted);
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 1, JobArrivalMs);
        QTRY_VERIFY_WITH_TIMEOUT(rig::queueEmpty(rig::sharedServer()), 30000);
        QVERIFY(jobTitles(stuck).isEmpty());
    }

    // Every page of a job says what it is: its document's title (the file's
    // name when it has none) and page number at the top, the entry and the
    // run's date at the bottom; none of it when the headings are off.
    void printedPages_sayWhatTheyAre_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("headings");
        QTest::addColumn<QString>("top");  // what the top of the first page says, after its title
        QTest::newRow("titled document") << QStringLiteral("Quarterly report") << true << QStringLiteral("Quarterly report");
        QTest::newRow("no title") << QString() << true << QStringLiteral("untitled.htm");
        QTest::newRow("headings off") << QStringLiteral("Quarterly report") << false << QString();
    }
    void printedPages_sayWhatTheyAre()
    {
        QFETCH(QString, title);
        QFETCH(bool, headings);
        QFETCH(QString, top);
        QTemporaryDir dir;
        const QString path = dir.filePath(title.isEmpty() ? QStringLiteral("untitled.htm") : QStringLiteral("titled.htm"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QString body = title.isEmpty() ? QString() : u"<title>" + title + u"</title>";
        for (int page = 1; page <= 3; ++page)
            body += u"<h1 style=\"page-break-after:always\">Body of page " + QString::number(page) + u"</h1>";
        file.write(body.toUtf8());
        file.close();
        Window window;
        printing::RunSettings settings = window.form->printRun().settings();
        settings.headings = headings;
        window.form->printRun().setSettings(settings);
        window.jobs().add(path);

        QVERIFY(window.print());

        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), path).size(), qsizetype(1), JobArrivalMs);
        const QString job = rig::jobFiles(rig::sharedFolder(), path).first();
        for (int page = 1; page <= 3; ++page) {
            const QString n = QString::number(page);
            const QString text = rig::pdfText(job, {QStringLiteral("-f"), n, QStringLiteral("-l"), n}).simplified();
            QVERIFY2(text.contains(u"Body of page " + n), qPrintable(text));
            QCOMPARE(text.contains(u"Page " + n + u" of 3"), headings);
            QCOMPARE(text.contains(path), headings);
            if (headings)
                QVERIFY2(text.startsWith(top), qPrintable(text));
        }
    }

    void pageDialogs_neverHoldUpTheRun()
    {
        QTemporaryDir dir;
        Window window;
        const QString talkative = QStringLiteral(
            "<script>alert('hello'); confirm('sure?'); prompt('name?'); window.open('https://example.org/');"
            "window.onbeforeunload = function (e) { e.preventDefault(); return 'stay'; };</script>");
        window.jobs().add(writeDocument(dir, QStringLiteral("talks.htm"), QStringLiteral("Talking heading"), talkative));
        window.jobs().add(writeDocument(dir, QStringLiteral("next.htm"), QStringLiteral("Next heading")));

        QVERIFY(window.print());

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        const QStringList texts = jobTexts(dir.path());
        QVERIFY(texts.value(0).contains(u"Talking heading"));
        QVERIFY(texts.value(1).contains(u"Next heading"));
    }

    // A local document prints with its own images, styles, scripts and
    // frames, as a browser shows it; its scripts may not read other local
    // files, nor even those beside it, which could put them on paper.
    void localDocument_printsWithItsOwnFilesButItsScriptsReadNoFile()
    {
        QTemporaryDir pages;
        QTemporaryDir elsewhere;
        const QString secret = elsewhere.filePath(QStringLiteral("secret.txt"));
        writeFile(secret, "SECRETWORDS");
        writeFile(pages.filePath(QStringLiteral("beside.txt")), "BESIDEWORDS");
        writeFile(pages.filePath(QStringLiteral("style.css")), "h2::after { content: 'STYLEDTEXT'; }");
        writeFile(pages.filePath(QStringLiteral("script.js")), "document.write('<p>SCRIPTEDTEXT</p>');");
        writeFile(pages.filePath(QStringLiteral("frame.htm")), "<p>FRAMEDTEXT</p>");
        QImage picture(40, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(pages.filePath(QStringLiteral("picture.png"))));
        const QString reads = QStringLiteral(
            "<script>"
            "for (const name of [%1, 'beside.txt']) {"
            "  try { const x = new XMLHttpRequest(); x.open('GET', name, false); x.send();"
            "        document.write('<p>READ ' + x.responseText + '</p>'); } catch (e) {}"
            "  fetch(name).then(r => r.text()).then(t => document.body.append('FETCHED ' + t)).catch(() => {});"
            "}</script>")
                                  .arg(u'\'' + QUrl::fromLocalFile(secret).toString() + u'\'');
        const QString own = QStringLiteral(
            "<link rel=stylesheet href=style.css><script src=script.js></script><h2>Styled</h2>"
            "<img src=picture.png><iframe src=frame.htm></iframe>");
        const QString path = writeDocument(pages, QStringLiteral("reader.htm"), QStringLiteral("Reader heading"), own + reads);
        Window window;
        window.jobs().add(path);

        QVERIFY(window.print());

        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), path).size(), qsizetype(1), JobArrivalMs);
        const QString job = rig::jobFiles(rig::sharedFolder(), path).first();
        const QString text = rig::pdfText(job).simplified();
        for (const char *shown : {"Reader heading", "STYLEDTEXT", "SCRIPTEDTEXT", "FRAMEDTEXT"})
            QVERIFY2(text.contains(QLatin1String(shown)), qPrintable(text));
        for (const char *hidden : {"SECRETWORDS", "BESIDEWORDS"})
            QVERIFY2(!text.contains(QLatin1String(hidden)), qPrintable(text));
        QProcess images;
        images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), job});
        QVERIFY(images.waitForFinished(30000));
        // Two lines of column headings, then one line per image.
        QVERIFY2(images.readAllStandardOutput().count('\n') >= 3, "the document's picture is not in its job");
    }

    // Only silence may end a job: a large document going slowly but
    // steadily to the print system, for longer than the print system's
    // bound and its grace together, is taken whole.
    void slowSteadyTransfer_isNeverCut()
    {
        AnswerRelay link(rig::sharedServer(), AnswerRelay::SlowLink{400'000});
        printing::PrintQueue queue(platform::makePrinterSink(link.address()));
        queue.setBound(2s);
        QSignalSpy checked(&queue, &printing::PrintQueue::checked);
        queue.check({});
        QVERIFY(checked.wait(30000));
        QVERIFY(!checked.first().first().value<std::optional<core::SinkProblem>>());

        // Four megabytes take ten seconds on this link.
        QByteArray document("%PDF-1.4\n%");
        while (document.size() < 4'000'000)
            document += QUuid::createUuid().toByteArray();
        const QString entry = u"/slow-link/" + QUuid::createUuid().toString(QUuid::WithoutBraces) + u".htm";
        QSignalSpy submitted(&queue, &printing::PrintQueue::submitted);
        queue.submit(7, document, {entry});
        QVERIFY(submitted.wait(60000));
        const auto answer = submitted.first().at(1).value<core::SinkAnswer>();
        QVERIFY2(answer.kind == core::SinkAnswer::Kind::Taken, qPrintable(answer.reason));
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), entry).size(), qsizetype(1), JobArrivalMs);
        QCOMPARE(QFileInfo(rig::jobFiles(rig::sharedFolder(), entry).first()).size(), document.size());
    }

    void crashedRenderer_failsThatEntryOnly()
    {
        QTemporaryDir dir;
        TroubleServer server;
        Window window({}, 60s, 1);
        const QString looping = server.url(QStringLiteral("/loop"));
        window.jobs().add(writeDocument(dir, QStringLiteral("before.htm"), QStringLiteral("Before heading")));
        window.jobs().add(looping);
        window.jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));

        QSignalSpy finished(&window.form->printRun(), &printing::PrintRun::finished);
        window.form->Check2()->click();
        // Its renderer is lost while the page is stuck in its script.
        QTRY_VERIFY_WITH_TIMEOUT(server.hits(QStringLiteral("/loop")) == 1, 30000);
        // A second of processor time (at most 1000 clock ticks a second).
        const auto spinning = [] {
            const auto busiest = busiestRendererOf(QCoreApplication::applicationPid());
            return busiest && busiest->cpuTicks >= sysconf(_SC_CLK_TCK);
        };
        QTRY_VERIFY_WITH_TIMEOUT(spinning(), 20000);
        QCOMPARE(::kill(pid_t(busiestRendererOf(QCoreApplication::applicationPid())->pid), SIGKILL), 0);
        QVERIFY(!finished.isEmpty() || finished.wait(60000));

        QTRY_VERIFY(!window.messages().isEmpty());
        const QString message = window.messages().value(0);
        QVERIFY2(message.contains(looping + u" (the page's renderer crashed)"), qPrintable(message));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        QVERIFY(jobTexts(dir.path()).value(1).contains(u"After heading"));
    }

    // Edits while pages are slow to come: the jobs that reach the queue are
    // exactly the expected ones, each once, in order.
    void editsDuringARun_reachTheQueueExactlyOnceInOrder_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("remove the first, printed") << QStringLiteral("remove 1") << QList<int>{1, 2, 3, 4, 5, 6};
        QTest::newRow("drag the fifth to the top") << QStringLiteral("drag 5") << QList<int>{1, 2, 5, 3, 4, 6};
    }
    void editsDuringARun_reachTheQueueExactlyOnceInOrder()
    {
        QFETCH(QString, edit);
        QFETCH(QList<int>, expected);
        TroubleServer server;
        Window window({}, 10s, 2);
        const QString tag = QUuid::createUuid().toString(QUuid::WithoutBraces);
        QStringList addresses;
        for (int n = 1; n <= 6; ++n) {
            addresses << server.url(u"/slow?ms=700&n=" + QString::number(n) + u"&t=" + tag);
            window.jobs().add(addresses.last());
        }
        connect(&window.form->printRun(), &printing::PrintRun::entryFinished, this, [&](int step) {
            if (step != 2)
                return;
            if (edit == u"remove 1")
                window.jobs().remove(1);
            else
                for (int at = 5; at > 1; --at)
                    window.jobs().exchange(at, at - 1);
        });

        QVERIFY(window.print());

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QStringList expectedTitles;
        for (const int n : expected)
            expectedTitles << addresses.at(n - 1);
        const QString prefix = server.url(QStringLiteral("/slow")).section(u'/', 0, 2);
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(prefix).filter(tag).size(), 6, JobArrivalMs);
        QCOMPARE(jobTitles(prefix).filter(tag), expectedTitles);
    }

    void printSystemOutOfReach_stopsBeforeLoadingAnything()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const QString nowhere = u"127.0.0.1:" + QString::number(closed.serverPort());
        closed.close();
        QTemporaryDir dir;
        Window window(nowhere);
        window.jobs().add(writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Unprinted")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);

        QVERIFY(window.print());

        QVERIFY2(window.messages().value(0).contains(u"nothing was printed"), qPrintable(window.messages().value(0)));
        QCOMPARE(entries.size(), 0);
        QCOMPARE(window.jobs().mark(1), Mark::None);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void defaultPrinterRefusingJobs_stopsBeforeLoadingAnything()
    {
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        QCOMPARE(QProcess::execute(QStringLiteral("cupsreject"), {QStringLiteral("-h"), server, QStringLiteral("Rig")}), 0);
        const auto reopen = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("cupsaccept"), {QStringLiteral("-h"), server, QStringLiteral("Rig")});
        });
        QTemporaryDir dir;
        Window window;
        window.jobs().add(writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Unprinted")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);

        QVERIFY(window.print());

        QVERIFY2(window.messages().value(0).contains(u"is not accepting jobs"), qPrintable(window.messages().value(0)));
        QCOMPARE(entries.size(), 0);
    }

    // A queue that refuses one document (too large for it) fails that entry
    // with the queue's own reason; the small ones after it print.
    void documentTheQueueRefuses_failsAloneAndTheRestPrint()
    {
        rig::PrivateRig small(QStringLiteral("MaxRequestSize 100k"));
        QVERIFY(small.isUp());
        QTemporaryDir dir;
        QString pages;
        for (int i = 1; i <= 150; ++i)
            pages += u"<h2 style=\"page-break-before:always\">Page " + QString::number(i) + u"</h2><p>"
                + QStringLiteral("Words on a page that makes the document large. ").repeated(30) + u"</p>";
        Window window(small.server());
        window.jobs().add(writeDocument(dir, QStringLiteral("before.htm"), QStringLiteral("Before heading")));
        window.jobs().add(writeDocument(dir, QStringLiteral("large.htm"), QStringLiteral("Large heading"), pages));
        window.jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));

        QVERIFY(window.print());

        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"Print jobs sent to printer, except for 1 entry that could not be printed:"),
                 qPrintable(message));
        QVERIFY2(message.contains(u"large.htm (the printer refused it: Request Entity Too Large)"), qPrintable(message));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path(), small.folder()).size(), 2, JobArrivalMs);
        QCOMPARE(jobTitles(dir.path(), small.folder()), (QStringList{window.jobs().text(1), window.jobs().text(3)}));
    }

    // A scheduler that stops answering part way: the window keeps answering,
    // the run ends at the queue's bound naming what was and was not sent, a
    // close is quick, and no job given up comes out when the scheduler
    // answers again.
    void schedulerThatStopsAnswering_neverFreezesTheWindow()
    {
        rig::PrivateRig paused;
        QVERIFY(paused.isUp());
        QTemporaryDir dir;
        auto window = std::make_unique<Window>(paused.server());
        window->form->printQueue().setBound(2s);
        for (const char *name : {"one", "two", "three"})
            window->jobs().add(writeDocument(dir, QString::fromLatin1(name) + u".htm", QString::fromLatin1(name)));
        connect(&window->form->printRun(), &printing::PrintRun::entryFinished, this, [&](int step) {
            if (step == 1)
                paused.pause();
        });
        // The event loop turns all the while the scheduler is silent (at
        // least the queue's bound of 2 s): a window waiting on it would see
        // one late turn at most.
        int turnsWhileSilent = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (paused.isPaused() && window->form->printRun().running())
                ++turnsWhileSilent;
        });
        ticker.start(20);

        QVERIFY(window->print());

        ticker.stop();
        QVERIFY2(turnsWhileSilent >= 20, qPrintable(QString::number(turnsWhileSilent)));
        const QString message = window->messages().value(0);
        QVERIFY2(message.startsWith(u"The printer stopped taking jobs (the print system did not answer), so printing was stopped."),
                 qPrintable(message));
        QVERIFY2(message.contains(u"Sent to printer: 1 entry"), qPrintable(message));
        QVERIFY2(message.contains(u"Not sent: 2 entries"), qPrintable(message));

        // A second run against the paused scheduler, closed part way.
        window->form->show();
        QTimer::singleShot(1000, window->form.get(), [&] { window->form->close(); });
        window->form->Check2()->click();
        QTRY_VERIFY(!window->form->isVisible());
        // Ends without waiting on the scheduler (how long it takes is for
        // bench/, not for a test).
        window.reset();

        paused.resume();
        QTRY_VERIFY_WITH_TIMEOUT(rig::queueEmpty(paused.server()), 30000);
        QCOMPARE(jobTitles(dir.path(), paused.folder()), QStringList{dir.filePath(QStringLiteral("one.htm"))});
    }

    void closingTheWindowDuringARun_endsItBeforeTheNextEntry()
    {
        TroubleServer server;
        QTemporaryDir dir;
        Window window({}, 20s);
        window.form->show();
        window.jobs().add(server.url(QStringLiteral("/never")));
        window.jobs().add(writeDocument(dir, QStringLiteral("never.htm"), QStringLiteral("Never printed")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);
        window.form->Check2()->click();
        QTRY_COMPARE_WITH_TIMEOUT(server.hits(QStringLiteral("/never")), 1, 30000);
        window.form->close();

        QVERIFY(!window.form->isVisible());
        QVERIFY(!window.form->printRun().running());
        // The page under way gave its load up with the run.
        QTRY_VERIFY_WITH_TIMEOUT(server.dropped() >= 1, 10000);
        QCoreApplication::processEvents();
        QCOMPARE(entries.size(), 0);
        QVERIFY(window.messages().isEmpty());
        QVERIFY(jobTitles(dir.path()).isEmpty());
    }

    // Once the print system took a job, its entry says what the printer
    // made of it: printed, or aborted with the printer's reason. Nothing is
    // called printed that the printer did not finish.
    void jobsAreFollowed_toThePrintersAnswer()
    {
        QTemporaryDir dir;
        const QString fine = writeDocument(dir, QStringLiteral("fine.htm"), QStringLiteral("Printed fine"));
        const QString failing = writeDocument(dir, QStringLiteral("abort-this-job.htm"), QStringLiteral("Aborted"));
        Window window;
        window.addThroughDialog({fine, failing});
        QSignalSpy answers(&window.form->printRun(), &printing::PrintRun::entryAnswered);
        QSignalSpy allAnswered(&window.form->printRun(), &printing::PrintRun::allAnswered);

        QVERIFY(window.print());

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QVERIFY(allAnswered.wait(JobArrivalMs));
        QCOMPARE(window.jobs().mark(1), Mark::Printed);
        QCOMPARE(window.jobs().mark(2), Mark::Aborted);
        QVERIFY2(window.jobs().reason(2).contains(u"fails this job on purpose"), qPrintable(window.jobs().reason(2)));
        QCOMPARE(answers.size(), 2);
        for (const QList<QVariant> &answer : answers) {
            const auto said = answer.at(2).value<printing::JobAnswer>();
            QCOMPARE(said.state, answer.at(1).toString() == fine ? printing::JobAnswer::State::Printed
                                                                  : printing::JobAnswer::State::Aborted);
        }
        QVERIFY(!window.form->printRun().following());
    }

    // A job on a stopped printer is held, and says so, until the printer
    // goes on; a job the print system forgets is never called printed.
    void heldJobs_followTheirPrinter()
    {
        rig::PrivateRig rig;
        QVERIFY(rig.isUp());
        QTemporaryDir dir;
        const QString waiting = writeDocument(dir, QStringLiteral("waiting.htm"), QStringLiteral("Waiting"));
        Window window(rig.server());
        // Chosen as a user does: the printer settings that a right-click on
        // Print opens.
        window.fakes.printerSettings->answers << core::PrinterSettings{QStringLiteral("Paused"), 1, {}};
        Q_EMIT window.form->Check2()->customContextMenuRequested({});
        // The choice is kept for later windows too; theirs is the default.
        const auto forget = qScopeGuard([&window] {
            window.fakes.printerSettings->answers << core::PrinterSettings{};
            Q_EMIT window.form->Check2()->customContextMenuRequested({});
        });
        window.addThroughDialog({waiting});
        QSignalSpy outcomes(&window.form->printRun(), &printing::PrintRun::entryFinished);

        QVERIFY(window.print());
        QTRY_COMPARE_WITH_TIMEOUT(window.jobs().mark(1), Mark::Held, JobArrivalMs);
        QCOMPARE(window.jobs().reason(1), QStringLiteral("the printer is stopped"));
        QVERIFY(window.form->printRun().following());
        QCOMPARE(QProcess::execute(QStringLiteral("cupsenable"), {QStringLiteral("-h"), rig.server(), QStringLiteral("Paused")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(window.jobs().mark(1), Mark::Printed, JobArrivalMs);

        QCOMPARE(QProcess::execute(QStringLiteral("cupsdisable"), {QStringLiteral("-h"), rig.server(), QStringLiteral("Paused")}), 0);
        QVERIFY(window.print());
        QTRY_COMPARE_WITH_TIMEOUT(window.jobs().mark(1), Mark::Held, JobArrivalMs);
        QVERIFY(outcomes.constLast().at(3).value<printing::EntryOutcome>().jobId > 0);
        // Only the job the printer went on with came out.
        QCOMPARE(jobTitles(dir.path(), rig.folder()).size(), 1);
        QVERIFY(rig.restartForgettingJobs());
        QTRY_COMPARE_WITH_TIMEOUT(window.jobs().mark(1), Mark::AnswerUnknown, JobArrivalMs);
        QCOMPARE(joblist::markToolTip(window.jobs().mark(1), window.jobs().reason(1)),
                 QStringLiteral("Sent; the printer's answer is unknown"));
    }
};

int main(int argc, char *argv[])
{
    TestPrintEngine::initMain();
    QApplication application(argc, argv);
    TestPrintEngine test;
    const int failures = QTest::qExec(&test, argc, argv);
    platform::endAtOnceIfPagesStillRender(failures);
    return failures;
}

#include "tst_printengine.moc"
