// SPDX-License-Identifier: GPL-3.0-or-later
// The real window on X against the command line, on the same small
// documents: the window (Form1 on the xcb platform, shown under a window
// manager) has its Print button clicked through the X server, and the
// program's `--print` runs as its own process. Both rates leave start-up
// out: they count from the first entry's end to the last one's, the
// window's from its run's signals, the command line's from its "[i/N]"
// lines as they arrive. Rounds alternate which goes first.
//
//   Xvfb :61 -screen 0 1280x900x24 &  DISPLAY=:61 openbox &
//   DISPLAY=:61 QT_QPA_PLATFORM=xcb CUPS_SERVER=... TAVIMARK_RIG=... bench_window [DOCS [ROUNDS]]
//
// Also printed: the processor time per document of the window's process
// tree and of its main thread alone, where the window's own work is done.
//
// scripts/bench.sh starts the X server, the window manager and the rig.
#include "common.h"
#include "commandlinerun.h"
#include "documents.h"
#include "standins.h"

#include "app/commandline/commandline.h"
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "core/desktop.h"
#include "joblist/joblist.h"
#include "platform/engine/enginerenderer.h"
#include "printing/printrun.h"

#include <QApplication>
#include <QEventLoop>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <optional>

namespace {

// Processor seconds this process's main thread, the window's own, has used.
double guiThreadCpuSeconds()
{
    return bench::cpuSeconds(
        bench::statFields(u"/proc/self/task/" + QString::number(QCoreApplication::applicationPid()) + u"/stat"));
}

QStringList writeDocuments(const QString &folder, int count)
{
    return bench::writeDocuments(folder, QStringLiteral("doc"), count, bench::smallDocument);
}

// Clicks at the centre of `widget` through the X server, as a person would.
bool clickThroughX(const QWidget &widget)
{
    const QPoint centre = widget.mapToGlobal(widget.rect().center());
    return QProcess::execute(QStringLiteral("xdotool"),
                             {QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(centre.x()),
                              QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("1")})
        == 0;
}

std::optional<bench::Span> printFromWindow(app::Form1 &window, bench::KeptMessages &messages, const QStringList &entries)
{
    for (const QString &entry : entries)
        window.jobs().add(entry);
    QCoreApplication::processEvents();
    bench::Span span;
    QElapsedTimer clock;
    QEventLoop loop;
    QObject context;
    QObject::connect(&window.printRun(), &printing::PrintRun::entryFinished, &context, [&](int step, int total) {
        const double now = clock.nsecsElapsed() / 1e9;
        if (step == 1)
            span.first = now;
        if (step == total) {
            span.last = now;
            span.entries = total;
        }
    });
    QObject::connect(&window.printRun(), &printing::PrintRun::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(std::chrono::minutes(5), &loop, &QEventLoop::quit);
    clock.start();
    if (QGuiApplication::platformName() != u"xcb")
        window.Check2()->click();  // no X server to click through
    else if (!clickThroughX(*window.Check2()))
        return std::nullopt;
    loop.exec();
    while (window.jobs().count() > 0)
        window.jobs().remove(window.jobs().count());
    if (messages.last != u"Done. Print jobs sent to printer.")
        std::printf("# window run message: %s\n", qPrintable(messages.last.left(300)));
    return span;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tavimark"));
    if (qEnvironmentVariableIsEmpty("CUPS_SERVER")) {
        std::fprintf(stderr, "bench_window needs a running print test rig, and an X server with a window manager "
                             "(scripts/bench.sh starts both)\n");
        return 2;
    }
    // Another platform (QT_QPA_PLATFORM=offscreen) tells what X itself costs.
    std::printf("# platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 3;
    QTemporaryDir dir;

    core::Desktop desktop = core::makeQtDesktop();
    auto kept = std::make_unique<bench::KeptMessages>();
    bench::KeptMessages &messages = *kept;
    desktop.messageBox = std::move(kept);
    auto window = std::make_unique<app::Form1>(std::move(desktop), app::runSettingsFor(app::CommandLine{}));
    window->show();
    window->activateWindow();
    // The engine's start belongs to the first run, not to the figures.
    printFromWindow(*window, messages, writeDocuments(dir.filePath(QStringLiteral("warm")), 8));
    bench::figure("default_renderers", window->printRun().settings().renderers, "pages");

    double windowRate = 0;
    double windowCpu = 0;
    double guiCpu = 0;
    double commandLineRate = 0;
    for (int round = 1; round <= rounds; ++round) {
        const QString r = QString::number(round);
        const auto fromWindow = [&] {
            const QStringList entries = writeDocuments(dir.filePath(u"window" + r), count);
            const bench::TreeCpu cpuBefore = bench::treeCpu();
            const double guiBefore = guiThreadCpuSeconds();
            const auto span = printFromWindow(*window, messages, entries);
            windowCpu += bench::cpuSecondsSince(cpuBefore) / count / rounds;
            guiCpu += (guiThreadCpuSeconds() - guiBefore) / count / rounds;
            windowRate += span ? span->rate() / rounds : 0;
        };
        const auto fromCommandLine = [&] {
            const auto span = bench::printFromCommandLine(QStringLiteral(TAVIMARK_BINARY),
                                                   writeDocuments(dir.filePath(u"cli" + r), count));
            commandLineRate += span ? span->rate() / rounds : 0;
        };
        if (round % 2 == 1) {
            fromWindow();
            fromCommandLine();
        } else {
            fromCommandLine();
            fromWindow();
        }
    }
    bench::figure("window_on_x_small_docs_per_s", windowRate, "docs/s");
    bench::figure("window_on_x_cpu_ms_per_doc", windowCpu * 1000, "ms");
    bench::figure("window_gui_thread_cpu_ms_per_doc", guiCpu * 1000, "ms");
    bench::figure("command_line_small_docs_per_s", commandLineRate, "docs/s");
    bench::figure("window_share_of_command_line", commandLineRate > 0 ? windowRate / commandLineRate : 0, "ratio");
    window.reset();
    platform::endAtOnceIfPagesStillRender(0);
    return 0;
}
