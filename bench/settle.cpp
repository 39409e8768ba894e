// SPDX-License-Identifier: GPL-3.0-or-later
// What waiting for pages to settle costs, through the real engine alone (no
// printer, no headings, so that its share is as large as it can be):
// - the 200 small static documents the print benchmark prints, with
//   settling on and off, in alternating rounds so that neither gets the
//   quieter moment; their ratio should be 0.97 or more;
// - 100 pages that build themselves from data a local server answers 200 ms
//   after they asked for it: whether every PDF holds its data, the rate, and
//   the median and longest time a page waited beyond its load.
// Needs no print rig. TAVIMARK_BENCH_ONLY=static measures the static
// documents alone.
#include "common.h"
#include "documents.h"

#include "core/documentrenderer.h"
#include "core/printsink.h"
#include "platform/engine/enginerenderer.h"

#include <QGuiApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrlQuery>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int Rounds = 3;
constexpr int ScriptedPages = 100;
constexpr auto DataDelay = 200ms;

// Serves /page?n=N, a report that fetches its rows, and /rows?n=N, which
// answers after DataDelay.
class ReportServer {
public:
    ReportServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(*socket); });
        });
    }
    QString url(int n) const
    {
        return u"http://127.0.0.1:" + QString::number(m_server.serverPort()) + u"/page?n=" + QString::number(n);
    }

private:
    void answer(QTcpSocket &socket)
    {
        const QUrl target(QString::fromLatin1(socket.readAll().split(' ').value(1)));
        const QString n = QUrlQuery(target).queryItemValue(QStringLiteral("n"));
        if (target.path() == u"/page") {
            return reply(socket, "<!doctype html><title>Report " + n.toUtf8() + "</title><h1>Report " + n.toUtf8()
                                     + "</h1><div id=rows>Loading...</div><script>fetch('/rows?n=" + n.toUtf8()
                                     + "').then(r => r.text()).then(t => { rows.textContent = t; });</script>");
        }
        QPointer<QTcpSocket> later(&socket);
        const QByteArray rows = "Rows of report " + n.toUtf8() + " from the server";
        QTimer::singleShot(DataDelay, &m_server, [later, rows] {
            if (later)
                reply(*later, rows);
        });
    }
    static void reply(QTcpSocket &socket, const QByteArray &body)
    {
        socket.write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: "
                     + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
};

struct Rendered {
    double seconds = 0;
    std::vector<core::RenderedDocument> documents;  // in entry order
};

// Every entry through `pages` renderers at once, each taking the next entry
// as soon as it is free.
Rendered renderAll(const core::RendererFactory &make, const QStringList &entries, int pages, bool settle)
{
    const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                             QMarginsF(core::PrintMarginMm, core::PrintMarginMm, core::PrintMarginMm,
                                       core::PrintMarginMm),
                             QPageLayout::Millimeter);
    core::Readiness readiness;
    readiness.settle = settle;
    std::vector<std::unique_ptr<core::DocumentRenderer>> renderers;
    Rendered result;
    result.documents.resize(std::size_t(entries.size()));
    int next = 0;
    int done = 0;
    QEventLoop loop;
    const auto start = [&](core::DocumentRenderer &renderer) {
        if (next < entries.size()) {
            renderer.render(quint64(next), entries.at(next), layout, readiness);
            ++next;
        }
    };
    for (int i = 0; i < pages; ++i) {
        renderers.push_back(make());
        core::DocumentRenderer &renderer = *renderers.back();
        QObject::connect(&renderer, &core::DocumentRenderer::rendered, &loop,
                         [&](quint64 job, const core::RenderedDocument &document) {
                             result.documents[std::size_t(job)] = document;
                             if (++done == entries.size())
                                 loop.quit();
                             else
                                 start(renderer);
                         });
    }
    QElapsedTimer clock;
    clock.start();
    for (auto &renderer : renderers)
        start(*renderer);
    if (!entries.isEmpty())
        loop.exec();
    result.seconds = clock.nsecsElapsed() / 1e9;
    return result;
}

QString pdfText(const QByteArray &pdf, const QString &folder)
{
    const QString path = folder + u"/page.pdf";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(pdf);
    file.close();
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void measureStatic(const core::RendererFactory &make, const QString &folder, int pages)
{
    const QStringList small = bench::writeDocuments(folder + u"/small", QStringLiteral("s"), 200, bench::smallDocument);
    renderAll(make, small.mid(0, 8 * pages), pages, true);
    double on = 0;
    double off = 0;
    int waitedOn = 0;
    for (int round = 0; round < Rounds; ++round) {
        // Each round changes which goes first.
        for (const bool settle : round % 2 == 0 ? std::array{false, true} : std::array{true, false}) {
            const Rendered rendered = renderAll(make, small, pages, settle);
            (settle ? on : off) += small.size() / rendered.seconds;
            if (settle) {
                waitedOn += int(std::count_if(rendered.documents.cbegin(), rendered.documents.cend(),
                                              [](const core::RenderedDocument &d) { return d.settleRounds > 0; }));
            }
        }
    }
    bench::figure("static_small_docs_per_s_settling_off", off / Rounds, "docs/s");
    bench::figure("static_small_docs_per_s_settling_on", on / Rounds, "docs/s");
    bench::figure("static_settling_on_share_of_off", off > 0 ? on / off : 0, "ratio");
    bench::figure("static_docs_asked_again_settling_on", waitedOn, "docs");
}

void measureScripted(const core::RendererFactory &make, const QString &folder, int pages)
{
    ReportServer server;
    QStringList entries;
    for (int n = 1; n <= ScriptedPages; ++n)
        entries << server.url(n);
    const Rendered rendered = renderAll(make, entries, pages, true);
    int complete = 0;
    std::vector<double> waited;
    for (int n = 1; n <= ScriptedPages; ++n) {
        const core::RenderedDocument &document = rendered.documents[std::size_t(n - 1)];
        const QString text = pdfText(document.pdf, folder);
        const bool whole = document.state == core::RenderedDocument::State::Complete
                           && text.contains(u"Rows of report " + QString::number(n) + u" from the server")
                           && !text.contains(u"Loading...");
        if (whole)
            ++complete;
        waited.push_back(double(document.waited.count()));
    }
    std::sort(waited.begin(), waited.end());
    bench::figure("scripted_pages", ScriptedPages, "pages");
    bench::figure("scripted_pages_complete", complete, "pages");
    bench::figure("scripted_docs_per_s", ScriptedPages / rendered.seconds, "docs/s");
    bench::figure("scripted_median_wait_beyond_load_ms", waited[waited.size() / 2], "ms");
    bench::figure("scripted_longest_wait_beyond_load_ms", waited.back(), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    platform::letHiddenPagesKeepTime();
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    const int pages = std::clamp(QThread::idealThreadCount(), 2, 8);
    bench::figure("pages_at_once", pages, "pages");
    {
        const core::RendererFactory make = platform::engineRenderers();
        measureStatic(make, dir.path(), pages);
        if (qEnvironmentVariable("TAVIMARK_BENCH_ONLY") != u"static")
            measureScripted(make, dir.path(), pages);
    }
    platform::endAtOnceIfPagesStillRender(1);
    return 0;
}
