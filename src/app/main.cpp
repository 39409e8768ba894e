// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandline/batchprint.h"
#include "app/commandline/commandline.h"
#include "app/window/form1.h"
#include "app/window/windowicon.h"

#include "joblist/joblist.h"
#include "platform/engine/enginerenderer.h"
#include "platform/files/endrequest.h"
#include "platform/files/standarderror.h"
#include "platform/language/language.h"
#include "core/messagetext.h"
#include "printing/printrun.h"

#include <QCoreApplication>
#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>
#include <optional>

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

// While the window's application object is made: a display named but not
// there makes the platform plugin give up with a fatal message, which would
// abort the program with a core dump. Each plugin tried on the way may
// complain before that (the Wayland one does wherever it is installed, even
// when X is the display meant, and its library writes straight to standard
// error), so until the display is open standard error is set aside and only
// the program's own line is said, unless TAVIMARK_DEBUG asks for the rest.
bool openingTheDisplay = false;
std::optional<platform::StandardErrorSetAside> setAsideWhileOpening;

// The display the window is meant for, as the user named it.
QString intendedDisplay()
{
    const bool wayland = qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(u"wayland")
        || (qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (wayland)
        return u"the Wayland display \"" + qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")) + u'"';
    return u"the display \"" + qEnvironmentVariable("DISPLAY") + u'"';
}

// Standard error carries the program's own lines (one per entry for scripts
// to read, or why the window could not open); the engine's and Qt's own
// remarks would be mixed in between. TAVIMARK_DEBUG keeps them.
void writeMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool debugging = !qEnvironmentVariableIsEmpty("TAVIMARK_DEBUG");
    if (debugging || (!openingTheDisplay && (type == QtCriticalMsg || type == QtFatalMsg)))
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    if (type == QtFatalMsg && openingTheDisplay) {
        setAsideWhileOpening.reset();
        std::fprintf(stderr, "tavimark: cannot open %s; to print without a window, use --print\n",
                     qPrintable(intendedDisplay()));
        std::fflush(nullptr);
        std::_Exit(app::NothingDone);
    }
}

void keepStandardErrorForTheProgram()
{
    qInstallMessageHandler(writeMessage);
    if (qEnvironmentVariableIsEmpty("TAVIMARK_DEBUG"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --log-level=3");
}

// Where the window keeps its browser profile, so that a sign-in made in it
// serves the next start too: --profile, else the user's own data folder.
// Where that cannot be made, the window signs in for this start only.
QString windowProfileFolder(const app::CommandLine &line)
{
    const QString folder = !line.profileFolder.isEmpty()
        ? line.profileFolder
        : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/profile";
    return platform::makeProfileFolder(folder) ? folder : QString();
}

int showWindow(int argc, char *argv[], const app::CommandLine &line)
{
    openingTheDisplay = true;
    if (qEnvironmentVariableIsEmpty("TAVIMARK_DEBUG"))
        setAsideWhileOpening.emplace();
    QApplication application(argc, argv);
    setAsideWhileOpening.reset();
    openingTheDisplay = false;
    application.setApplicationName(QStringLiteral("Tavimark"));
    platform::loadTranslations(application);
    // Dialogs and message boxes carry it too.
    application.setWindowIcon(app::programIcon());
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.tavimark.tavimark"));
    int status = 0;
    {
        app::Form1 window(core::makeQtDesktop(windowProfileFolder(line)), app::runSettingsFor(line));
        const QStringList problems = app::addEntries(line.sources, window.jobs());
        window.show();
        // Asked to end, the window closes as its close button would close
        // it (and a dialog open over it with it), and what it keeps is
        // written out on the way.
        platform::onEndRequest([&window] {
            window.close();
            QCoreApplication::quit();
        });
        if (!problems.isEmpty())
            window.showMessage(QCoreApplication::translate("app", "These could not be added:") + u"\n\n"
                               + core::namedList(problems));
        status = application.exec();
    }
    platform::endAtOnceIfPagesStillRender(status);
    return status;
}

// What the program says before it starts a window or a run (a usage error,
// --help, the list of printers) is said in the user's language, which an
// application object of its own carries for that moment. The command line
// is read again under it, so that its messages are worded in that language.
int answerAtOnce(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    platform::loadTranslations(application);
    const app::CommandLine line = app::parseCommandLine(argc, argv);
    if (!line.error.isEmpty()) {
        std::fputs(qPrintable(app::usageErrorLine(line.error)), stderr);
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
    return app::printPrinterList(stdout, stderr);
}

int noDisplay(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    platform::loadTranslations(application);
    std::fputs(qPrintable(QCoreApplication::translate("app",
                                                      "tavimark: no display to show the window on (neither DISPLAY nor "
                                                      "WAYLAND_DISPLAY is set); to print without a window, use --print")
                          + u'\n'),
               stderr);
    return app::NothingDone;
}

} // namespace

int main(int argc, char *argv[])
{
    const app::CommandLine line = app::parseCommandLine(argc, argv);
    if (!line.error.isEmpty() || line.help || line.version || line.listPrinters)
        return answerAtOnce(argc, argv);
    // The browser engine that prints shares its graphics context with the
    // window; this must be set before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    platform::prepareEngineSandbox();
    platform::letHiddenPagesKeepTime();
    keepStandardErrorForTheProgram();
    if (line.print) {
        // Printing needs no display, whatever the environment names: one
        // that is not there must not stop a run that would never use it.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        application.setApplicationName(QStringLiteral("Tavimark"));
        platform::loadTranslations(application);
        const int status = app::printFromCommandLine(line);
        platform::endAtOnceIfPagesStillRender(status);
        return status;
    }
    if (!hasDisplay())
        return noDisplay(argc, argv);
    return showWindow(argc, argv, line);
}
