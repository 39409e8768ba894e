#include "batchprint.h"
#include "commandline.h"
#include "form1.h"

#include "joblist/joblist.h"
#include "platform/enginerenderer.h"
#include "platform/messagetext.h"
#include "printing/printrun.h"

#include <QApplication>

#include <cstdio>

namespace {

// Without a display the platform plugin would abort the program; say so
// instead, before there is an application object.
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// Standard error carries one line per entry for scripts to read; the
// engine's and Qt's own remarks would be mixed in between. TAVIMARK_DEBUG
// keeps them.
void keepStandardErrorForTheRun()
{
    if (!qEnvironmentVariableIsEmpty("TAVIMARK_DEBUG"))
        return;
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --log-level=3");
}

int showWindow(int argc, char *argv[], const app::CommandLine &line)
{
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("Tavimark"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tavimark.tavimark"));
    int status = 0;
    {
        app::Form1 window(platform::makeQtDesktop());
        printing::RunSettings settings = window.printRun().settings();
        settings.headings = settings.headings && line.headings;
        window.printRun().setSettings(settings);
        const QStringList problems = app::addEntries(line.sources, window.jobs());
        window.show();
        if (!problems.isEmpty())
            window.showMessage(u"These could not be added:\n\n" + platform::namedList(problems));
        status = application.exec();
    }
    platform::endAtOnceIfPagesStillRender(status);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const app::CommandLine line = app::parseCommandLine(argc, argv);
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "tavimark: %s\n\n%s", qPrintable(line.error), qPrintable(app::usageText()));
        return app::UsageError;
    }
    if (line.help) {
        std::fputs(qPrintable(app::usageText()), stdout);
        return app::AllPrinted;
    }
    if (line.version) {
        std::fputs(qPrintable(app::versionText()), stdout);
        return app::AllPrinted;
    }
    // The browser engine that prints shares its graphics context with the
    // window; this must be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    if (line.print) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        keepStandardErrorForTheRun();
        QGuiApplication application(argc, argv);
        application.setApplicationName(QStringLiteral("Tavimark"));
        const int status = app::printFromCommandLine(line);
        platform::endAtOnceIfPagesStillRender(status);
        return status;
    }
    if (!hasDisplay()) {
        std::fputs("tavimark: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                   "to print without a window, use --print\n",
                   stderr);
        return app::NothingDone;
    }
    return showWindow(argc, argv, line);
}
