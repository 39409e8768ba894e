// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: how it is read, and the program run from it as a script
// would run it, printing through the real engine onto the print test rig or
// into a folder.
#include "app/commandline/commandline.h"
#include "joblist/joblist.h"

#include "support/answerrelay.h"
#include "support/arguments.h"
#include "support/printrig.h"
#include "support/processes.h"

#include "printing/runsettings.h"

#include "core/messagetext.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <vector>

#include <sys/syscall.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using app::CommandLine;
using app::EntrySource;

namespace {

CommandLine parse(const QStringList &arguments)
{
    return parseArguments(arguments);
}

struct Outcome {
    int status = -1;
    QString out;
    QStringList errorLines;
};

// A command, with the environment a script would give it. The wait lets
// events through, so that a server of the test's own can answer it.
Outcome runCommand(const QString &command, const QStringList &arguments, const QString &folder,
                   QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
{
    QProcess program;
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(command, arguments);
    const bool ended = QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 120'000);
    return {ended && program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts)};
}

// Starts the built program with `renderers` pages at work; true once it runs.
bool startWithRenderers(QProcess &program, int renderers, const QStringList &arguments, const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TAVIMARK_RENDERERS"), QString::number(renderers));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    // A session of its own, as from a terminal: a signal to its whole group
    // then reaches the program and everything it started, and not the test.
    program.setChildProcessModifier([] { ::setsid(); });
    program.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
    return program.waitForStarted();
}

// The engine's renderers below `ancestor` that are stopped (SIGSTOP).
QList<qint64> stoppedRenderersBelow(qint64 ancestor)
{
    QList<qint64> pids;
    for (const processes::Process &renderer : processes::renderersBelow(ancestor)) {
        if (renderer.state == 'T')
            pids << renderer.pid;
    }
    return pids;
}

// A page whose print handler runs for 100 s: its renderer gets stuck in
// the middle of its PDF.
constexpr QByteArrayView StuckInPrint =
    "<h1>Stuck</h1><script>addEventListener('beforeprint', () => {"
    " const end = Date.now() + 100000; while (Date.now() < end) {} });</script>";

// The built program.
Outcome runProgram(const QStringList &arguments, const QString &folder, QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
{
    return runCommand(qEnvironmentVariable("TAVIMARK_BINARY"), arguments, folder, std::move(environment));
}

// A web server on 127.0.0.1 that answers every address with one small page,
// so that an entry's name can be longer than any file's.
class PageServer {
public:
    PageServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    socket->readAll();
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n\r\n<h1>Served page</h1>");
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QString url(const QString &path) const { return u"http://127.0.0.1:" + QString::number(m_server.serverPort()) + path; }

private:
    QTcpServer m_server;
};

void write(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), bytes.size());
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void usageErrors_areNamed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--bogus")} << QStringLiteral("unknown option --bogus");
        QTest::newRow("unknown letter") << QStringList{QStringLiteral("-x")} << QStringLiteral("unknown option -x");
        QTest::newRow("missing value") << QStringList{QStringLiteral("--print"), QStringLiteral("--list")}
                                       << QStringLiteral("missing value after '--list'");
        QTest::newRow("no copies") << QStringList{QStringLiteral("--print"), QStringLiteral("--copies"), QStringLiteral("0")}
                                   << QStringLiteral("--copies wants a whole number from 1 to 999");
        QTest::newRow("timeout not a number") << QStringList{QStringLiteral("--print"), QStringLiteral("--timeout=soon")}
                                              << QStringLiteral("--timeout wants a number of seconds from 1 to 86400");
        QTest::newRow("printing option without --print") << QStringList{QStringLiteral("--output"), QStringLiteral("/tmp")}
                                                         << QStringLiteral("--output is for printing from the command line: add --print");
        QTest::newRow("both destinations") << QStringList{QStringLiteral("--print"), QStringLiteral("--printer=A"), QStringLiteral("--output=/tmp")}
                                           << QStringLiteral("--printer and --output do not go together: a run either prints or writes files");
        QTest::newRow("delay below zero") << QStringList{u"--print"_s, u"--delay=-1"_s}
                                          << u"--delay wants a whole number of milliseconds from 0 to 60000"_s;
        QTest::newRow("delay past a minute") << QStringList{u"--print"_s, u"--delay=60001"_s}
                                             << u"--delay wants a whole number of milliseconds from 0 to 60000"_s;
        QTest::newRow("delay not a number") << QStringList{u"--print"_s, u"--delay=1s"_s}
                                            << u"--delay wants a whole number of milliseconds from 0 to 60000"_s;
        QTest::newRow("empty selector") << QStringList{u"--print"_s, u"--wait-for= "_s}
                                        << u"--wait-for wants a CSS selector such as #report-done"_s;
        QTest::newRow("waiting without --print") << QStringList{u"--wait-for=#done"_s}
                                                 << u"--wait-for is for printing from the command line: add --print"_s;
    }
    void usageErrors_areNamed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QCOMPARE(parse(arguments).error, error);
    }

    // Sources come in the order the line names them; each folder takes the
    // nearest --ext before it, or htm.
    void sources_keepTheirOrder()
    {
        const CommandLine line = parse({QStringLiteral("a.htm"), QStringLiteral("--folder"), QStringLiteral("one"),
                                        QStringLiteral("--list=urls.txt"), QStringLiteral("--ext"), QStringLiteral(".html"),
                                        QStringLiteral("--folder=two"), QStringLiteral("--print"), QStringLiteral("--"),
                                        QStringLiteral("--not-an-option")});
        QVERIFY2(line.error.isEmpty(), qPrintable(line.error));
        QVERIFY(line.print);
        QCOMPARE(line.sources.size(), 5);
        const QList<EntrySource::Kind> kinds{EntrySource::Kind::Entry, EntrySource::Kind::Folder, EntrySource::Kind::ListFile,
                                             EntrySource::Kind::Folder, EntrySource::Kind::Entry};
        for (qsizetype i = 0; i < kinds.size(); ++i)
            QCOMPARE(line.sources.at(i).kind, kinds.at(i));
        QCOMPARE(line.sources.at(1).argument, QByteArray("one"));
        QCOMPARE(line.sources.at(1).extension, QStringLiteral("htm"));
        QCOMPARE(line.sources.at(3).extension, QStringLiteral("html"));
        QCOMPARE(line.sources.at(4).argument, QByteArray("--not-an-option"));
        QCOMPARE(parse({QStringLiteral("--folder"), QStringLiteral("d")}).sources.value(0).extension, QStringLiteral("htm"));
    }

    // Lines on which nothing prints, and the first line the program writes:
    // an empty name is refused rather than taken for "none" (the default
    // printer, say), a file is no folder, and an --ext leaves the folders
    // before it alone.
    void nothingPrinted_theFirstLineSaysWhy_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty output") << QStringList{u"--output"_s, {}, u"a.htm"_s} << 64 << u"--output wants a DIR, not an empty one"_s;
        QTest::newRow("empty printer") << QStringList{u"--printer"_s, {}} << 64 << u"--printer wants a NAME, not an empty one"_s;
        QTest::newRow("empty list after =") << QStringList{u"--list="_s} << 64 << u"--list wants a FILE, not an empty one"_s;
        QTest::newRow("empty folder among others") << QStringList{u"--folder=A"_s, u"--folder"_s, {}} << 64
                                                   << u"--folder wants a DIR, not an empty one"_s;
        QTest::newRow("timeout past a day") << QStringList{u"--timeout=1e9"_s} << 64
                                            << u"--timeout wants a number of seconds from 1 to 86400"_s;
        QTest::newRow("output is a file") << QStringList{u"--output=taken"_s, u"a.htm"_s} << 2
                                          << u"The folder \"taken\" is a file, not a folder, so nothing was written."_s;
        QTest::newRow("ext only for later folders") << QStringList{u"--folder=A"_s, u"--ext=txt"_s, u"--folder=B"_s} << 2
                                                    << u"nothing to print"_s;
    }
    void nothingPrinted_theFirstLineSaysWhy()
    {
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"A"_s) && QDir(dir.path()).mkpath(u"B"_s));
        for (const QString &name : {u"a.htm"_s, u"taken"_s, u"A/a.txt"_s, u"B/b.htm"_s})
            write(dir.filePath(name), "<h1>Not printed</h1>");
        const Outcome outcome = runProgram(QStringList{u"--print"_s} + options, dir.path());
        // A mistake on the line points to --help; the run's own lines do not.
        const QString hint = status == 64 ? u"; try 'tavimark --help'"_s : QString();
        QCOMPARE(outcome.errorLines, QStringList{u"tavimark: " + error + hint});
        QCOMPARE(outcome.status, status);
    }

    // One range for the bound, on the line and in the environment; outside
    // it the line is refused and the environment's value ignored.
    void timeout_sameRangeOnTheLineAndInTheEnvironment_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<qint64>("bound");  // in ms; 0 when refused
        QTest::newRow("one second") << u"1"_s << qint64(1'000);
        QTest::newRow("a day") << u"86400"_s << qint64(86'400'000);
        QTest::newRow("just under a second") << u"0.999"_s << qint64(0);
        QTest::newRow("nearly nothing") << u"1e-9"_s << qint64(0);
        QTest::newRow("just over a day") << u"86400.5"_s << qint64(0);
        QTest::newRow("not a number") << u"nan"_s << qint64(0);
    }
    void timeout_sameRangeOnTheLineAndInTheEnvironment()
    {
        QFETCH(QString, seconds);
        QFETCH(qint64, bound);
        const CommandLine line = parse({u"--print"_s, u"--timeout"_s, seconds});
        QCOMPARE(line.error.isEmpty(), bound > 0);
        QCOMPARE(qint64(line.timeoutSeconds.value_or(0) * 1000), bound);
        qputenv("TAVIMARK_TIMEOUT", seconds.toUtf8());
        const auto unset = qScopeGuard([] { qunsetenv("TAVIMARK_TIMEOUT"); });
        QCOMPARE(printing::RunSettings::fromEnvironment().documentBound.count(),
                 bound > 0 ? bound : printing::RunSettings::DefaultDocumentBound.count());
    }

    // The window follows every job to the printer's answer; the command
    // line only when it waits for the answer, and never for files.
    void jobsFollowed_inTheWindowAndWhenWaiting_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("follows");
        QTest::newRow("the window") << QStringList{u"a.htm"_s} << true;
        QTest::newRow("printing") << QStringList{u"--print"_s, u"a.htm"_s} << false;
        QTest::newRow("waiting") << QStringList{u"--print"_s, u"--wait"_s, u"a.htm"_s} << true;
        QTest::newRow("writing files") << QStringList{u"--print"_s, u"--wait"_s, u"--output=out"_s, u"a.htm"_s} << false;
    }
    void jobsFollowed_inTheWindowAndWhenWaiting()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, follows);
        const CommandLine line = parse(arguments);
        QVERIFY2(line.error.isEmpty(), qPrintable(line.error));
        QCOMPARE(app::runSettingsFor(line).follow, follows);
    }

    // With its current folder gone, a relative name is named, not resolved
    // against some other folder.
    void relativeNameWithoutACurrentFolder_isNamedNotGuessed()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"gone"_s));
        const Outcome outcome = runCommand(u"sh"_s, {u"-c"_s, u"cd gone && rmdir ../gone && exec \"$0\" --print --output \"$1\" rel.htm"_s,
                                                     qEnvironmentVariable("TAVIMARK_BINARY"), dir.filePath(u"out"_s)},
                                           dir.path());
        QCOMPARE(outcome.errorLines, (QStringList{u"tavimark: cannot use rel.htm (the current folder cannot be read, "
                                                  u"so a relative name cannot be resolved)"_s,
                                                  u"tavimark: nothing to print"_s}));
        QCOMPARE(outcome.status, 2);
    }

    void arguments_becomeEntriesAsADropMakesThem()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("a.html")), "<h1>a</h1>");
        QDir().mkdir(dir.filePath(QStringLiteral("sub")));
        write(dir.filePath(QStringLiteral("sub/b.htm")), "<h1>b</h1>");
        write(dir.filePath(QStringLiteral("sub/c.txt")), "c");
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto back = qScopeGuard([&] { QDir::setCurrent(here); });
        joblist::JobList jobs;
        const QStringList problems = app::addEntries(parse({QStringLiteral("./a.html"), QStringLiteral("sub"),
                                                            QStringLiteral("https://example.org/x"),
                                                            QStringLiteral("--list"), QStringLiteral("gone.txt")})
                                                         .sources,
                                                     jobs);
        QCOMPARE(jobs.count(), 3);
        QCOMPARE(jobs.text(1), dir.filePath(QStringLiteral("a.html")));
        // A folder is walked, as --folder walks it.
        QCOMPARE(jobs.text(2), dir.filePath(QStringLiteral("sub/b.htm")));
        QCOMPARE(jobs.text(3), QStringLiteral("https://example.org/x"));
        QCOMPARE(problems, QStringList{QStringLiteral("list file gone.txt (not found)")});
        QCOMPARE(app::entryForArgument(QByteArray("/d/x\xff.htm")).value_or(QString()), QStringLiteral("file:///d/x%FF.htm"));
    }

    // A mistake on the line is one line on standard error, naming it and
    // pointing to --help, and nothing on standard output.
    void badOption_isOneLineAndStatus64_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("line");
        QTest::newRow("unknown option") << QStringList{u"--foo"_s} << u"tavimark: unknown option --foo; try 'tavimark --help'"_s;
        QTest::newRow("unknown with --print") << QStringList{u"--print"_s, u"--pritner=A"_s, u"a.htm"_s}
                                              << u"tavimark: unknown option --pritner; try 'tavimark --help'"_s;
        QTest::newRow("unknown letter") << QStringList{u"-q"_s} << u"tavimark: unknown option -q; try 'tavimark --help'"_s;
        QTest::newRow("missing value") << QStringList{u"--print"_s, u"-d"_s}
                                       << u"tavimark: missing value after '-d'; try 'tavimark --help'"_s;
        // Checked by the engine before anything is read: what would break
        // out of a script is no selector, and says so on one line.
        QTest::newRow("a selector that is no CSS")
            << QStringList{u"--print"_s, u"--wait-for=\"]);\n</script><script>alert(1)//\\"_s, u"a.htm"_s}
            << u"tavimark: --wait-for wants a CSS selector: \"\"]); </script><script>alert(1)//\\\" is not one; try 'tavimark --help'"_s;
    }
    void badOption_isOneLineAndStatus64()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const Outcome outcome = runProgram(arguments, dir.path());
        QCOMPARE(outcome.status, 64);
        QCOMPARE(outcome.errorLines, QStringList{line});
        QCOMPARE(outcome.out, QString());
    }

    // Every setting the program reads from the environment is in --help:
    // the sources are searched for what they read, so one added there and
    // not here fails.
    void help_namesEveryEnvironmentSettingTheProgramReads()
    {
        static const QRegularExpression read(
            QStringLiteral(R"re((?:qEnvironmentVariable\w*|qgetenv|getenv|secure_getenv)\(\s*"(TAVIMARK_\w+)")re"));
        QStringList names;
        QDirIterator files(QStringLiteral(TAVIMARK_SOURCE_DIR "/src"), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const QRegularExpressionMatch &match : read.globalMatch(QString::fromUtf8(file.readAll())))
                names << match.captured(1);
        }
        names.removeDuplicates();
        QVERIFY2(names.size() >= 4, qPrintable(names.join(u' ')));
        const QString help = app::usageText();
        const QString environment = help.mid(help.indexOf(u"\nEnvironment:\n"));
        QVERIFY2(help.contains(u"\nEnvironment:\n"), qPrintable(help));
        for (const QString &name : std::as_const(names))
            QVERIFY2(environment.contains(u"  " + name + u'='), qPrintable(name + u" is read but not in --help"));
        // And nothing is offered there that the program does not read.
        static const QRegularExpression listed(QStringLiteral(R"(^  (TAVIMARK_\w+)=)"), QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch &match : listed.globalMatch(environment))
            QVERIFY2(names.contains(match.captured(1)), qPrintable(match.captured(1) + u" is in --help but never read"));
    }

    // A relative folder is the folder of that name under the current one,
    // as a relative file is; its files are never taken for web addresses,
    // whatever the folder is called.
    void relativeFolders_areResolvedAgainstTheCurrentFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("walked");  // under the test's folder
        QTest::newRow("a name") << u"A"_s << u"A"_s;
        QTest::newRow("the current folder") << u"."_s << QString();
        QTest::newRow("dot slash") << u"./A"_s << u"A"_s;
        QTest::newRow("final slash") << u"A/"_s << u"A"_s;
        QTest::newRow("named like a host") << u"example.com"_s << u"example.com"_s;
        QTest::newRow("up and down again") << u"A/../example.com/"_s << u"example.com"_s;
    }
    void relativeFolders_areResolvedAgainstTheCurrentFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, walked);
        QTemporaryDir dir;
        for (const QString &name : {u"A"_s, u"example.com"_s}) {
            QVERIFY(QDir(dir.path()).mkdir(name));
            write(dir.filePath(name + u'/' + name + u".htm"), "<h1>x</h1>");
        }
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto back = qScopeGuard([&] { QDir::setCurrent(here); });
        joblist::JobList jobs;
        const QStringList problems = app::addEntries(parse({u"--folder"_s, folder}).sources, jobs);
        QCOMPARE(problems, QStringList());
        QStringList expected;
        for (const QString &name : {u"A"_s, u"example.com"_s}) {
            if (walked.isEmpty() || walked == name)
                expected << dir.filePath(name + u'/' + name + u".htm");
        }
        QStringList entries;
        for (int position = 1; position <= jobs.count(); ++position)
            entries << jobs.text(position);
        QCOMPARE(entries, expected);
    }

    // The whole way, as a script runs it: the folder's one document is
    // written, nothing is looked up as a host.
    void relativeFolder_printsItsFiles()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(u"A"_s));
        write(dir.filePath(u"A/A.htm"_s), "<h1>In a relative folder</h1>");
        const Outcome outcome = runProgram({u"--print"_s, u"--output"_s, u"out"_s, u"--folder"_s, u"A"_s}, dir.path());
        QVERIFY2(outcome.status == 0, qPrintable(outcome.errorLines.join(u'\n')));
        QVERIFY(rig::pdfText(dir.filePath(u"out/A.pdf"_s)).contains(u"In a relative folder"));
    }

    // An address is bytes on the command line; those that are no UTF-8
    // travel as escapes, byte for byte, so two such addresses stay two.
    void addressArguments_keepTheirBytes_data()
    {
        QTest::addColumn<QByteArray>("argument");
        QTest::addColumn<QString>("entry");
        QTest::newRow("text") << QByteArray("https://example.org/caf\xc3\xa9") << u"https://example.org/caf\u00e9"_s;
        QTest::newRow("a Latin-1 byte") << QByteArray("https://example.org/caf\xe9") << u"https://example.org/caf%E9"_s;
        QTest::newRow("another byte") << QByteArray("https://example.org/caf\xe8") << u"https://example.org/caf%E8"_s;
        QTest::newRow("a cut sequence among text")
            << QByteArray("http://h/\xc3\xa9\xe2\x82/\xff") << u"http://h/\u00e9%E2%82/%FF"_s;
        QTest::newRow("an encoded surrogate") << QByteArray("http://h/\xed\xa0\x80") << u"http://h/%ED%A0%80"_s;
    }
    void addressArguments_keepTheirBytes()
    {
        QFETCH(QByteArray, argument);
        QFETCH(QString, entry);
        QCOMPARE(app::entryForArgument(argument).value_or(QString()), entry);
    }

    void help_version_andNoDisplay()
    {
        QTemporaryDir dir;
        const Outcome help = runProgram({QStringLiteral("--help")}, dir.path());
        QCOMPARE(help.status, 0);
        QVERIFY2(help.out.startsWith(u"Usage: tavimark [options] [FILE|URL]..."), qPrintable(help.out));
        const QStringList version = runProgram({QStringLiteral("--version")}, dir.path()).out.split(u'\n');
        QCOMPARE(version.value(0), QStringLiteral("tavimark 0.1"));
        QVERIFY2(version.value(1).startsWith(u"License GPL-3.0-or-later"), qPrintable(version.join(u'\n')));
        const Outcome wrong = runProgram({QStringLiteral("--copies=2")}, dir.path());
        QCOMPARE(wrong.status, 64);
        QCOMPARE(wrong.errorLines,
                 QStringList{u"tavimark: --copies is for printing from the command line: add --print; try 'tavimark --help'"_s});
        QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
        headless.remove(QStringLiteral("DISPLAY"));
        headless.remove(QStringLiteral("WAYLAND_DISPLAY"));
        const Outcome noDisplay = runProgram({QStringLiteral("a.html")}, dir.path(), headless);
        QCOMPARE(noDisplay.status, 2);
        QCOMPARE(noDisplay.errorLines.size(), 1);
        QVERIFY2(noDisplay.errorLines.first().contains(u"--print"), qPrintable(noDisplay.errorLines.first()));
    }

    // A user's language words the lines on standard error; what scripts
    // read on standard output (--json) is the same in every language.
    void language_wordsStandardErrorNotJson_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("missingLine");
        QTest::addColumn<QString>("summary");
        QTest::newRow("English") << u"C.UTF-8"_s << u"[1/2] not printed (file not found): "_s
                                 << u"tavimark: 1 of 2 entries written, 1 not printed"_s;
        QTest::newRow("German") << u"de_DE.UTF-8"_s << u"[1/2] nicht gedruckt (Datei nicht gefunden): "_s
                                << u"tavimark: 1 von 2 Einträgen geschrieben, 1 nicht gedruckt"_s;
        QTest::newRow("Hebrew") << u"he_IL.UTF-8"_s << u"[1/2] לא הודפס (הקובץ לא נמצא): "_s
                                << u"tavimark: 1 מתוך 2 רשומות נכתבו, 1 לא הודפסו"_s;
    }
    void language_wordsStandardErrorNotJson()
    {
        QFETCH(QString, locale);
        QFETCH(QString, missingLine);
        QFETCH(QString, summary);
        // The JSON lines without the seconds each entry took and the size of
        // its file: the browser engine reads the locale too, and lays a page
        // out with the fonts it prefers for the language.
        const auto json = [](const QString &out) {
            static const QRegularExpression measures(u",\"(seconds|bytes)\":[0-9.]+"_s);
            return QString(out).remove(measures);
        };
        QTemporaryDir dir;
        write(dir.filePath(u"page.htm"_s), "<h1>A page</h1>");
        const QStringList arguments{u"--print"_s, u"--json"_s,      u"--output"_s,
                                    u"out"_s,     u"missing.htm"_s, u"page.htm"_s};
        QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
        english.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        const Outcome inEnglish = runProgram(arguments, dir.path(), english);
        QVERIFY(QDir(dir.filePath(u"out"_s)).removeRecursively());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, locale);
        const Outcome outcome = runProgram(arguments, dir.path(), environment);
        QCOMPARE(outcome.status, 1);
        const QString errors = outcome.errorLines.join(u'\n');
        QVERIFY2(outcome.errorLines.value(0).startsWith(missingLine), qPrintable(errors));
        QCOMPARE(outcome.errorLines.value(2), summary);
        QVERIFY2(!json(outcome.out).isEmpty(), qPrintable(outcome.out));
        QCOMPARE(json(outcome.out), json(inEnglish.out));
    }

    // The engine's pages go before its profile, also when the run is over
    // and the event loop has stopped turning.
    void engineIsTornDownInOrder()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("page.htm")), "<h1>Teardown page</h1>");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TAVIMARK_DEBUG"), QStringLiteral("1"));
        const Outcome outcome = runProgram({QStringLiteral("--print"), QStringLiteral("--output=out"), QStringLiteral("page.htm")},
                                           dir.path(), environment);
        QCOMPARE(outcome.status, 0);
        const QString errors = outcome.errorLines.join(u'\n');
        QVERIFY2(errors.contains(u"[1/1] written to out/page.pdf"), qPrintable(errors));
        QVERIFY2(!errors.contains(u"still not deleted"), qPrintable(errors));
    }

    // An argument, or a list file's token, that is no document is named and
    // not loaded; the documents around it print.
    void entriesThatAreNoDocument_areRefusedAndTheRestPrint()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("page.htm")), "<h1>Refusal page</h1>");
        write(dir.filePath(QStringLiteral("list.txt")), "view-source:http://127.0.0.1/\n");
        const Outcome outcome = runProgram({QStringLiteral("--print"), QStringLiteral("--output=out"),
                                            QStringLiteral("javascript:document.title"), QStringLiteral("page.htm"),
                                            QStringLiteral("--list=list.txt")},
                                           dir.path());
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.errorLines.value(0),
                 QStringLiteral("tavimark: cannot use javascript:document.title (not a document address)"));
        QCOMPARE(outcome.errorLines.value(1), u"tavimark: cannot use view-source:http://127.0.0.1/ in list file list.txt (not a document address)");
        QCOMPARE(outcome.errorLines.value(2), u"[1/1] written to out/page.pdf: " + dir.filePath(QStringLiteral("page.htm")));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList{QStringLiteral("page.pdf")});
    }

    // Printing never needs a display, whatever the environment names; the
    // window says in one line which display it could not open instead of
    // aborting, whichever of Qt's platform plugins are installed and tried
    // on the way (the Wayland one, where present, has its own complaint).
    void displaysThatDoNotWork_data()
    {
        QTest::addColumn<QString>("platform");  // QT_QPA_PLATFORM; empty: unset
        QTest::addColumn<QString>("display");   // DISPLAY; empty: unset
        QTest::addColumn<bool>("print");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("named");     // the display the window's line names
        QTest::addColumn<bool>("runtimeFolder");  // XDG_RUNTIME_DIR set
        const QString x = QStringLiteral("the display \":97\"");
        QTest::newRow("print, X named, no display") << QStringLiteral("xcb") << QString() << true << 0 << QString() << true;
        QTest::newRow("print, Wayland named, none there") << QStringLiteral("wayland") << QString() << true << 0 << QString() << true;
        QTest::newRow("window, display not there") << QString() << QStringLiteral(":97") << false << 2 << x << true;
        QTest::newRow("window, X named, display not there") << QStringLiteral("xcb") << QStringLiteral(":97") << false << 2 << x << true;
        QTest::newRow("window, Wayland then X named, neither there")
            << QStringLiteral("wayland;xcb") << QStringLiteral(":97") << false << 2
            << QStringLiteral("the Wayland display \"no-such-wayland\"") << true;
        // The Wayland library, where installed, then writes to standard
        // error itself, past Qt.
        QTest::newRow("window, no runtime folder, display not there")
            << QStringLiteral("wayland;xcb") << QStringLiteral(":97") << false << 2
            << QStringLiteral("the Wayland display \"no-such-wayland\"") << false;
    }
    void displaysThatDoNotWork()
    {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(bool, print);
        QFETCH(int, status);
        QFETCH(QString, named);
        QFETCH(bool, runtimeFolder);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("page.htm")), "<h1>Display page</h1>");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("no-such-wayland"));
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
        environment.remove(QStringLiteral("TAVIMARK_DEBUG"));
        if (!runtimeFolder)
            environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (!display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), display);
        QProcess program;
        if (!platform.isEmpty())
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        else
            environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(dir.path());
        QStringList arguments{QStringLiteral("page.htm")};
        if (print)
            arguments = QStringList{QStringLiteral("--print"), QStringLiteral("--output"), dir.filePath(QStringLiteral("out"))} + arguments;
        program.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
        QVERIFY(program.waitForFinished(120'000));
        const QString errors = QString::fromUtf8(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(program.exitCode() == status, qPrintable(errors));
        if (print) {
            QVERIFY(QFile::exists(dir.filePath(QStringLiteral("out/page.pdf"))));
        } else {
            QVERIFY2(errors.split(u'\n', Qt::SkipEmptyParts).size() == 1, qPrintable(errors));
            QVERIFY2(errors.contains(u"cannot open " + named), qPrintable(errors));
        }
    }

    // A mix of good and missing entries: the missing one is named, the
    // others print, and the status says some were not printed.
    void printWithoutAWindow_namesWhatItCouldNotPrint()
    {
        QFile server(rig::sharedFolder() + u"/server");
        if (!server.open(QIODevice::ReadOnly))
            QSKIP("needs the print test rig; run through ctest, which starts it");
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("one.htm")), "<h1>Command line one</h1>");
        write(dir.filePath(QStringLiteral("two.html")), "<h1>Command line two</h1>");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CUPS_SERVER"), QString::fromLatin1(server.readAll().trimmed()));

        const Outcome outcome = runProgram({QStringLiteral("--print"), QStringLiteral("--folder"), dir.path(),
                                            QStringLiteral("missing.htm")},
                                           dir.path(), environment);

        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.errorLines, (QStringList{
                                         u"[1/3] sent: " + dir.filePath(QStringLiteral("one.htm")),
                                         u"[2/3] sent: " + dir.filePath(QStringLiteral("two.html")),
                                         u"[3/3] not printed (file not found): " + dir.filePath(QStringLiteral("missing.htm")),
                                         QStringLiteral("tavimark: 2 of 3 entries sent, 1 not printed"),
                                     }));
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobTitles(dir.path()).size(), 2, 30'000);
        QVERIFY(rig::jobTexts(dir.path()).value(1).contains(u"Command line two"));
    }

    // A folder named as an argument prints what --folder would find there,
    // with the --ext before it.
    void folderArgument_printsItsDocuments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("relative, htm") << QStringList{u"docs"_s} << QStringList{u"docs/one.htm"_s, u"docs/sub/two.html"_s};
        QTest::newRow("after --ext html") << QStringList{u"--ext"_s, u"html"_s, u"./docs/"_s}
                                          << QStringList{u"docs/sub/two.html"_s};
    }
    void folderArgument_printsItsDocuments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, printed);
        QFile server(rig::sharedFolder() + u"/server");
        if (!server.open(QIODevice::ReadOnly))
            QSKIP("needs the print test rig; run through ctest, which starts it");
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(u"docs/sub"_s));
        write(dir.filePath(u"docs/one.htm"_s), "<h1>Folder argument one</h1>");
        write(dir.filePath(u"docs/sub/two.html"_s), "<h1>Folder argument two</h1>");
        write(dir.filePath(u"docs/notes.txt"_s), "not a page");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CUPS_SERVER"), QString::fromLatin1(server.readAll().trimmed()));

        const Outcome outcome = runProgram(QStringList{u"--print"_s} + arguments, dir.path(), environment);

        QStringList expected;
        for (const QString &file : std::as_const(printed))
            expected << u'[' + QString::number(expected.size() + 1) + u'/' + QString::number(printed.size()) + u"] sent: "
                    + dir.filePath(file);
        expected << u"tavimark: " + QString::number(printed.size()) + u" of " + core::entryCount(printed.size()) + u" sent";
        QCOMPARE(outcome.errorLines, expected);
        QCOMPARE(outcome.status, 0);
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobTitles(dir.path()).size(), printed.size(), 30'000);
    }

    // The whole of a job went out and the scheduler took it, but its answer
    // is lost on the way back, or its body comes late. The entry is never
    // called "not sent" (printing it again would print it twice), and the
    // entries after it print once each, on a fresh connection.
    void answerToAWholeJob_lostOrLate_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("second");  // how the second entry's line begins
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("summary");
        QTest::newRow("answer cut off") << int(AnswerRelay::Fault::CutOff)
                                        << QStringLiteral("[2/4] may have printed (the print system's answer could not be read (")
                                        << 1 << QStringLiteral("tavimark: 3 of 4 entries sent, 1 may have printed");
        QTest::newRow("answer's body late") << int(AnswerRelay::Fault::SlowBody) << QStringLiteral("[2/4] sent: ") << 0
                                            << QStringLiteral("tavimark: 4 of 4 entries sent");
    }
    void answerToAWholeJob_lostOrLate()
    {
        QFETCH(int, fault);
        QFETCH(QString, second);
        QFETCH(int, status);
        QFETCH(QString, summary);
        const QString server = rig::sharedServer();
        if (server.isEmpty())
            QSKIP("needs the print test rig; run through ctest, which starts it");
        AnswerRelay relay(server, 2, AnswerRelay::Fault(fault));
        QTemporaryDir dir;
        QStringList entries;
        for (const char *name : {"one", "two", "three", "four"}) {
            entries << dir.filePath(QString::fromLatin1(name) + u".htm");
            write(entries.last(), QByteArray("<h1>Relayed " + QByteArray(name) + "</h1>"));
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CUPS_SERVER"), relay.address());

        const Outcome outcome = runProgram(QStringList{QStringLiteral("--print")} + entries, dir.path(), environment);

        QVERIFY(relay.struck());
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.errorLines.size(), 5);
        QCOMPARE(outcome.errorLines.at(0), u"[1/4] sent: " + entries.at(0));
        QVERIFY2(outcome.errorLines.at(1).startsWith(second) && outcome.errorLines.at(1).endsWith(u": " + entries.at(1)),
                 qPrintable(outcome.errorLines.at(1)));
        QCOMPARE(outcome.errorLines.at(2), u"[3/4] sent: " + entries.at(2));
        QCOMPARE(outcome.errorLines.at(3), u"[4/4] sent: " + entries.at(3));
        QCOMPARE(outcome.errorLines.at(4), summary);
        // The scheduler took the second job: it comes out, and nothing comes
        // out twice.
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobTitles(dir.path()).size(), 4, 30'000);
        QTRY_VERIFY_WITH_TIMEOUT(rig::queueEmpty(server), 30'000);
        QCOMPARE(rig::jobTitles(dir.path()), entries);
        QVERIFY(rig::jobTexts(dir.path()).value(1).contains(u"Relayed two"));
    }

    // A page whose script takes its renderer over while it is being made
    // into a PDF is given up at its bound, and the program still ends
    // cleanly, with the status that says so and no process left behind.
    void pageStuckWhileRendering_isGivenUpAndTheProgramEndsCleanly()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("stuck.htm")),
              "<h1>Stuck</h1><script>addEventListener('beforeprint', () => {"
              " const end = Date.now() + 100000; while (Date.now() < end) {} });</script>");
        write(dir.filePath(QStringLiteral("fine.htm")), "<h1>Fine</h1>");

        const Outcome outcome = runProgram({QStringLiteral("--print"), QStringLiteral("--timeout=1"), QStringLiteral("--output=out"),
                                            QStringLiteral("stuck.htm"), QStringLiteral("fine.htm")},
                                           dir.path());

        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.errorLines.value(0),
                 u"[1/2] not printed (preparing it for the printer took too long): " + dir.filePath(QStringLiteral("stuck.htm")));
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files), QStringList{QStringLiteral("fine.pdf")});
        QProcess processes;
        processes.start(QStringLiteral("ps"), {QStringLiteral("-eo"), QStringLiteral("stat=,args=")});
        processes.waitForFinished();
        for (const QString &process : QString::fromUtf8(processes.readAllStandardOutput()).split(u'\n'))
            QVERIFY2(!(process.startsWith(u'T') && process.contains(u"QtWebEngineProcess")), qPrintable(process));
    }

    // A renderer stuck in the middle of a PDF is stopped, not ended; it must
    // still end with the program, however the program ends.
    void stoppedRenderers_endWithTheProgramWhateverEndsIt_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("wholeGroup");  // as a closing terminal or Ctrl+C signals
        QTest::newRow("terminated") << int(SIGTERM) << false;
        QTest::newRow("terminal closed") << int(SIGHUP) << true;
        QTest::newRow("killed") << int(SIGKILL) << false;
    }
    void stoppedRenderers_endWithTheProgramWhateverEndsIt()
    {
        QFETCH(int, signal);
        QFETCH(bool, wholeGroup);
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("stuck.htm")), StuckInPrint);
        QStringList arguments{QStringLiteral("--print"), QStringLiteral("--timeout=1"), QStringLiteral("--output=out"),
                              QStringLiteral("stuck.htm")};
        // Enough after it to keep the program busy well past the stop.
        for (int i = 0; i < 10; ++i) {
            const QString name = u"busy" + QString::number(i) + u".htm";
            write(dir.filePath(name), "<h1>Busy</h1><script>const end = Date.now() + 60000; while (Date.now() < end) {}</script>");
            arguments << name;
        }
        QProcess program;
        QVERIFY(startWithRenderers(program, 1, arguments, dir.path()));
        const auto stopped = [&program] { return stoppedRenderersBelow(program.processId()); };
        QTRY_VERIFY_WITH_TIMEOUT(!stopped().isEmpty(), 60000);
        const QList<qint64> renderers = stopped();

        // The program leads a process group of its own (see startWithRenderers).
        ::kill(wholeGroup ? -pid_t(program.processId()) : pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(30000));

        for (const qint64 pid : renderers)
            QTRY_VERIFY2_WITH_TIMEOUT(!processes::running(pid), qPrintable(QString::number(pid)), 10000);
    }

    // The watcher that ends stopped renderers with the program is told of
    // processes by id and start: one whose id another process holds by the
    // time the program ends is left alone, while one still the program's own
    // is ended.
    void stoppedRenderersWatcher_leavesAnIdTakenByAnotherProcess()
    {
        QProcess other;
        other.start(QStringLiteral("sleep"), {QStringLiteral("600")});
        QVERIFY(other.waitForStarted());
        const auto endOther = qScopeGuard([&other] {
            other.kill();
            other.waitForFinished();
        });
        QProcess probe;
        probe.start(qEnvironmentVariable("TAVIMARK_WATCHED_PROCESSES"), {QString::number(other.processId())});
        QVERIFY(probe.waitForFinished(30000));
        QCOMPARE(probe.exitCode(), 0);
        const qint64 ownChild = probe.readAllStandardOutput().trimmed().toLongLong();
        QVERIFY(ownChild > 0);

        // The watcher ends them in the order it was told of them: once the
        // probe's own child is gone, it has passed the other process.
        QTRY_VERIFY_WITH_TIMEOUT(!processes::running(ownChild), 10000);
        QVERIFY(processes::running(other.processId()));
    }

    // The engine's zygote, which starts every renderer, is killed, then the
    // renderers: the document whose renderer died fails alone, and once no
    // renderer can start, the run stops with the rest named not printed
    // because the engine failed, each once on its line, in --json and in
    // the journal, rather than each as a renderer of its own that crashed.
    void engineThatCanStartNoRenderer_stopsTheRunNamingTheRestOnce()
    {
        QTemporaryDir dir;
        // Takes the second entry's request and never answers it, so that the
        // run is at that entry when the engine is broken.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        write(dir.filePath(QStringLiteral("first.htm")), "<h1>First</h1>");
        QStringList entries{dir.filePath(QStringLiteral("first.htm")),
                            u"http://127.0.0.1:" + QString::number(silent.serverPort()) + u"/waits"};
        for (int i = 1; i <= 6; ++i) {
            entries << dir.filePath(u"rest" + QString::number(i) + u".htm");
            write(entries.constLast(), "<h1>The rest</h1>");
        }
        QProcess program;
        QVERIFY(startWithRenderers(program, 1,
                                   QStringList{QStringLiteral("--print"), QStringLiteral("--json"), QStringLiteral("--journal=run.journal"),
                                               QStringLiteral("--output=out"), QStringLiteral("--timeout=60")}
                                       + entries,
                                   dir.path()));
        QTRY_VERIFY_WITH_TIMEOUT(silent.hasPendingConnections(), 60000);

        const qint64 root = program.processId();
        const QList<processes::Process> renderers = processes::renderersBelow(root);
        const QList<qint64> zygotes = processes::zygotesBelow(root);
        QVERIFY(!renderers.isEmpty());
        QVERIFY(!zygotes.isEmpty());
        // Pinned while their zygote is their parent: once it is gone they
        // belong to the system, and only the pidfds still name them surely.
        std::vector<int> pinned;
        for (const processes::Process &renderer : renderers)
            pinned.push_back(int(::syscall(SYS_pidfd_open, pid_t(renderer.pid), 0)));
        for (const qint64 zygote : zygotes)
            QCOMPARE(::kill(pid_t(zygote), SIGKILL), 0);
        for (const int pidfd : pinned) {
            ::syscall(SYS_pidfd_send_signal, pidfd, SIGKILL, nullptr, 0u);
            ::close(pidfd);
        }
        QVERIFY(program.waitForFinished(120000));

        const QString failed = QStringLiteral("not printed (the browser engine failed): ");
        const QStringList lines = QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        const QList<QByteArray> objects = program.readAllStandardOutput().split('\n');
        QFile journalFile(dir.filePath(QStringLiteral("run.journal")));
        QVERIFY(journalFile.open(QIODevice::ReadOnly));
        const QList<QByteArray> records = journalFile.readAll().split('\n');
        QCOMPARE(program.exitCode(), 2);
        QCOMPARE(lines.value(0), u"[1/8] written to out/first.pdf: " + entries.at(0));
        QCOMPARE(lines.value(1), u"[2/8] not printed (the page's renderer crashed): " + entries.at(1));
        for (int step = 3; step <= 8; ++step) {
            const QString entry = entries.at(step - 1);
            QCOMPARE(lines.value(step - 1), u'[' + QString::number(step) + u"/8] " + failed + entry);
            const auto isEntry = [step](const QByteArray &line) {
                const QJsonObject object = QJsonDocument::fromJson(line).object();
                return object.value(u"step").toInt() == step && object.contains(u"outcome");
            };
            const auto object = std::find_if(objects.cbegin(), objects.cend(), isEntry);
            QVERIFY(object != objects.cend());
            QCOMPARE(std::count_if(objects.cbegin(), objects.cend(), isEntry), 1);
            QCOMPARE(QJsonDocument::fromJson(*object).object().value(u"reason").toString(), QStringLiteral("the browser engine failed"));
            const auto record = std::find_if(records.cbegin(), records.cend(), isEntry);
            QVERIFY(record != records.cend());
            QCOMPARE(std::count_if(records.cbegin(), records.cend(), isEntry), 1);
            QCOMPARE(QJsonDocument::fromJson(*record).object().value(u"outcome").toString(), QStringLiteral("not printed"));
            QCOMPARE(QJsonDocument::fromJson(*record).object().value(u"reason").toString(), QStringLiteral("the browser engine failed"));
        }
        QCOMPARE(lines.size(), 9);
        QVERIFY2(lines.value(8).startsWith(u"tavimark: the browser engine failed; "), qPrintable(lines.value(8)));
    }

    // Pages stuck in their own print handlers cannot pile up: past the
    // first two, documents print without running those handlers.
    void manyPagesStuckInPrint_leaveFewRenderersStoppedAndTheRestPrint()
    {
        QTemporaryDir dir;
        QStringList arguments{QStringLiteral("--print"), QStringLiteral("--timeout=1"), QStringLiteral("--output=out")};
        for (int i = 1; i <= 5; ++i) {
            const QString name = u"stuck" + QString::number(i) + u".htm";
            write(dir.filePath(name), StuckInPrint);
            arguments << name;
        }
        QProcess program;
        QVERIFY(startWithRenderers(program, 2, arguments, dir.path()));
        qsizetype mostStopped = 0;
        while (!program.waitForFinished(200))
            mostStopped = std::max(mostStopped, stoppedRenderersBelow(program.processId()).size());
        // Two stopped, and at most one more whose page was already loading
        // when the second stopped.
        QVERIFY2(mostStopped <= 3, qPrintable(QString::number(mostStopped)));
        const QStringList written = QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files);
        QVERIFY2(written.contains(u"stuck4.pdf") && written.contains(u"stuck5.pdf"), qPrintable(written.join(u' ')));
    }

    // Written into a folder instead: one PDF per entry, named after it, and
    // a file already there is never overwritten.
    void outputFolder_getsOnePdfPerEntryAndOverwritesNothing()
    {
        QTemporaryDir dir;
        write(dir.filePath(QStringLiteral("page.htm")), "<h1>Written out</h1>");
        QDir().mkdir(dir.filePath(QStringLiteral("out")));
        write(dir.filePath(QStringLiteral("out/page.pdf")), "already here");

        const Outcome outcome = runProgram({QStringLiteral("--print"), QStringLiteral("--output"), QStringLiteral("out"),
                                            QStringLiteral("page.htm"), QStringLiteral("page.htm")},
                                           dir.path());

        QCOMPARE(outcome.status, 0);
        // Each line names the file written and the entry; none says sent.
        const QString page = dir.filePath(QStringLiteral("page.htm"));
        QCOMPARE(outcome.errorLines, (QStringList{u"[1/2] written to out/page-2.pdf: " + page,
                                                  u"[2/2] written to out/page-3.pdf: " + page,
                                                  u"tavimark: 2 of 2 entries written"_s}));
        QFile kept(dir.filePath(QStringLiteral("out/page.pdf")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("already here"));
        for (const char *name : {"page-2.pdf", "page-3.pdf"})
            QVERIFY2(rig::pdfText(dir.filePath(u"out/" + QString::fromLatin1(name))).contains(u"Written out"), name);
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files).size(), 3);
    }

    // A name longer than a file system allows is cut to fit; where the
    // folder still refuses it (its own path leaves no room), that document
    // alone is not written.
    void outputNamesTooLong_costNoMoreThanTheirOwnDocument_data()
    {
        QTest::addColumn<int>("folderLength");
        QTest::addColumn<QString>("firstLine");  // empty: both written
        QTest::newRow("name cut to fit") << 0 << QString();
        QTest::newRow("folder path leaves no room") << 3900
            << u"[1/2] not printed (the printer refused it: the folder does not take its file name (File name too long)): "_s;
    }
    void outputNamesTooLong_costNoMoreThanTheirOwnDocument()
    {
        QFETCH(int, folderLength);
        QFETCH(QString, firstLine);
        QTemporaryDir dir;
        QString out = dir.filePath(u"out"_s);
        while (out.size() < folderLength)
            out += u'/' + QString(99, u'd');
        PageServer server;
        const QString han(130, QChar(0x6F22));
        const Outcome outcome = runProgram({u"--print"_s, u"--output"_s, out, server.url(u'/' + han + u".htm"), server.url(u"/short.htm"_s)},
                                           dir.path());
        QStringList expected{u"short.pdf"_s};
        if (firstLine.isEmpty())
            expected << han.left(82) + u".pdf";
        else
            QCOMPARE(outcome.errorLines.value(0), firstLine + server.url(u'/' + han + u".htm"));
        QCOMPARE(outcome.status, firstLine.isEmpty() ? 0 : 1);
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name), expected);
        QVERIFY(rig::pdfText(QDir(out).filePath(u"short.pdf"_s)).contains(u"Served page"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
