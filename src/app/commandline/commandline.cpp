// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "joblist/joblist.h"
#include "core/entryaddress.h"
#include "core/reasontext.h"
#include "core/eventyield.h"
#include "platform/files/currentfolder.h"
#include "printing/pagerange/pagerange.h"
#include "printing/runsettings.h"
#include "sources/addfoldercontents.h"
#include "sources/addurllists.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cmath>


namespace app {

namespace {

// The options, for checking and for the usage text. The order in which
// sources are named is read from the arguments themselves, since a parser
// keeps each option's values apart.
struct Options {
    QCommandLineOption print{
        QStringLiteral("print"),
        QCoreApplication::translate("app::CommandLine", "Print without a window (no display needed), then exit.")};
    QCommandLineOption list{
        QStringLiteral("list"),
        QCoreApplication::translate("app::CommandLine", "Add the addresses in the URL list FILE. May repeat."),
        QStringLiteral("FILE")};
    QCommandLineOption folder{
        QStringLiteral("folder"),
        QCoreApplication::translate("app::CommandLine",
                                    "Add every file of the extension under DIR and its subfolders. May repeat."),
        QStringLiteral("DIR")};
    QCommandLineOption ext{
        QStringLiteral("ext"),
        QCoreApplication::translate("app::CommandLine",
                                    "The extension --folder looks for (default: htm, which finds .html too). "
                                    "Applies to the --folder options after it."),
        QStringLiteral("EXT")};
    QCommandLineOption printer{
        {QStringLiteral("d"), QStringLiteral("printer")},
        QCoreApplication::translate("app::CommandLine", "Print on the CUPS queue NAME instead of the default."),
        QStringLiteral("NAME")};
    QCommandLineOption copies{{QStringLiteral("n"), QStringLiteral("copies")},
                              QCoreApplication::translate("app::CommandLine", "Print N copies of each document."),
                              QStringLiteral("N")};
    QCommandLineOption jobOption{
        QStringLiteral("o"),
        QCoreApplication::translate("app::CommandLine",
                                    "Print with the job option NAME=VALUE, as lp takes it: sides=two-sided-long-edge, "
                                    "media=A4, landscape, print-color-mode=monochrome, page-ranges=1-3,7, "
                                    "number-up=2, ... The printer must offer it. May repeat."),
        QStringLiteral("NAME=VALUE")};
    QCommandLineOption listPrinters{
        QStringLiteral("list-printers"),
        QCoreApplication::translate("app::CommandLine",
                                    "List the printers, one a line, the default marked, and exit.")};
    QCommandLineOption timeout{
        QStringLiteral("timeout"),
        QCoreApplication::translate("app::CommandLine",
                                    "Give each document at most SECONDS to load and render (default: 30)."),
        QStringLiteral("SECONDS")};
    QCommandLineOption waitFor{QStringLiteral("wait-for"),
                               QCoreApplication::translate("app::CommandLine",
                                                           "Print each document once an element matching the CSS "
                                                           "SELECTOR exists and the page has settled; else as it "
                                                           "stands at its time bound."),
                               QStringLiteral("SELECTOR")};
    QCommandLineOption delay{QStringLiteral("delay"),
                             QCoreApplication::translate("app::CommandLine",
                                                         "Wait MS milliseconds more after a document has settled, "
                                                         "within its time bound (0 to 60000)."),
                             QStringLiteral("MS")};
    QCommandLineOption output{
        QStringLiteral("output"),
        QCoreApplication::translate("app::CommandLine",
                                    "Write each document as a PDF file into DIR instead of printing it."),
        QStringLiteral("DIR")};
    QCommandLineOption journal{
        QStringLiteral("journal"),
        QCoreApplication::translate("app::CommandLine",
                                    "Keep a record of the run in FILE, on the disk before each next job; run the "
                                    "same command again to print only what it does not show as sent."),
        QStringLiteral("FILE")};
    QCommandLineOption resendUncertain{
        QStringLiteral("resend-uncertain"),
        QCoreApplication::translate("app::CommandLine",
                                    "With --journal: print again the entries it shows may have printed.")};
    QCommandLineOption json{
        QStringLiteral("json"),
        QCoreApplication::translate("app::CommandLine",
                                    "Write a JSON object per entry on standard output as it settles, then a summary.")};
    QCommandLineOption wait{
        QStringLiteral("wait"),
        QCoreApplication::translate("app::CommandLine",
                                    "After the run, wait for the printer to finish, hold or give up every job.")};
    QCommandLineOption waitTimeout{
        QStringLiteral("wait-timeout"),
        QCoreApplication::translate("app::CommandLine", "Let --wait wait at most SECONDS (default: 600)."),
        QStringLiteral("SECONDS")};
    QCommandLineOption noHeaders{
        QStringLiteral("no-headers"),
        QCoreApplication::translate("app::CommandLine",
                                    "Print pages without the title, address, page number and date.")};
    QCommandLineOption cookies{QStringLiteral("cookies"),
                               QCoreApplication::translate("app::CommandLine", "Sign in with the cookies in FILE, a cookies.txt file as browsers export it."),
                               QStringLiteral("FILE")};
    QCommandLineOption header{QStringLiteral("header"),
                              QCoreApplication::translate("app::CommandLine", "Send the header \"Name: value\" with every request to the hosts of the "
                                             "list's own entries, and to no other. May repeat."),
                              QStringLiteral("HEADER")};
    QCommandLineOption netrc{QStringLiteral("netrc-file"),
                             QCoreApplication::translate("app::CommandLine", "Answer a site's request for a password from the netrc FILE instead of "
                                            "~/.netrc."),
                             QStringLiteral("FILE")};
    QCommandLineOption profile{QStringLiteral("profile"),
                               QCoreApplication::translate("app::CommandLine", "Keep the browser's profile (cookies, storage) in DIR, made if missing, "
                                              "so that a sign-in serves later runs."),
                               QStringLiteral("DIR")};
    QCommandLineOption noBookmarks{QStringLiteral("no-bookmarks"),
                                   QCoreApplication::translate("app::CommandLine", "Write PDF files without bookmarks for the documents' headings.")};
    QCommandLineOption combine{QStringLiteral("combine"),
                               QCoreApplication::translate("app::CommandLine", "Make the run's documents one job, in list order, sent once the last is "
                                              "ready; with --output, one PDF file, --output naming it.")};
    QCommandLineOption contents{QStringLiteral("contents"),
                                QCoreApplication::translate("app::CommandLine", "With --combine, begin with a contents page listing the "
                                               "documents and the page each starts on.")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QCoreApplication::translate("app::CommandLine", "Show this help and exit.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                               QCoreApplication::translate("app::CommandLine", "Show the version and exit.")};

    QList<const QCommandLineOption *> all() const
    {
        return {&print,   &list,    &folder,          &ext,  &printer, &copies,      &jobOption, &timeout,
                &waitFor, &delay,   &output,          &journal, &resendUncertain, &json, &wait,    &waitTimeout,
                &noHeaders, &noBookmarks, &combine, &contents, &help, &version, &listPrinters, &cookies, &header, &netrc, &profile};
    }

    // Whether the option an argument names takes the argument after it.
    bool takesValue(const QString &name) const
    {
        for (const QCommandLineOption *option : all()) {
            if (option->names().contains(name))
                return !option->valueName().isEmpty();
        }
        return false;
    }

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QCoreApplication::translate(
            "app::CommandLine",
            "Prints many HTML documents in one run: local files, folders of them, and web addresses."));
        for (const QCommandLineOption *option : all())
            parser.addOption(*option);
        parser.addPositionalArgument(
            QStringLiteral("FILE|URL"),
            QCoreApplication::translate("app::CommandLine",
                                        "Files, folders or addresses to add, in order; a folder is walked "
                                        "as --folder walks it, with the --ext before it."),
            QStringLiteral("[FILE|URL]..."));
    }
};

// The environment's settings the program reads, all of them: --help lists
// these, and a test holds the sources to that.
struct EnvironmentSetting {
    const char16_t *name;
    const char *what;
};
constexpr EnvironmentSetting EnvironmentSettings[] = {
    {u"TAVIMARK_RENDERERS=K",
     QT_TRANSLATE_NOOP("app::CommandLine",
                       "prepare up to K documents at once, each in a browser process of its own\n"
                       "      (1 to 8; default: one per processor core, at least 2)")},
    {u"TAVIMARK_HEADERS=0",
     QT_TRANSLATE_NOOP("app::CommandLine", "print pages without the title, address, page number and date")},
    {u"TAVIMARK_TIMEOUT=SECONDS",
     QT_TRANSLATE_NOOP("app::CommandLine", "give each document this long instead of 30 seconds (1 to 86400)")},
    {u"TAVIMARK_DEBUG=1",
     QT_TRANSLATE_NOOP("app::CommandLine", "keep the browser engine's and Qt's own remarks on standard error")},
};

QString environmentText()
{
    QString text = u'\n' + QCoreApplication::translate("app::CommandLine", "Environment:") + u'\n';
    for (const EnvironmentSetting &setting : EnvironmentSettings) {
        text += u"  " + QString::fromUtf16(setting.name) + u"\n      "
            + QCoreApplication::translate("app::CommandLine", setting.what) + u'\n';
    }
    return text;
}

QString usage(const QCommandLineParser &parser)
{
    QString text = parser.helpText();
    // The parser names the program by the path it was started with, after
    // its own word for "Usage", which Qt's translations word.
    const QString started = qApp && !QCoreApplication::arguments().isEmpty()
        ? QCoreApplication::arguments().constFirst()
        : QStringLiteral("<executable_name>");
    if (const qsizetype at = text.indexOf(started); at >= 0 && at < text.indexOf(u'\n'))
        text.replace(at, started.size(), QStringLiteral("tavimark"));
    return text + u'\n'
        + QCoreApplication::translate(
               "app::CommandLine",
               "Exit status:\n"
               "  0   every entry printed\n"
               "  1   some entries not printed, or may have printed (with --wait: aborted, canceled, "
               "or unknown)\n"
               "  2   the printer or the browser engine failed, nothing could be done,\n"
               "      the journal could not be written, or --wait ran out of time\n"
               "  64  a usage error, or a journal of another list\n"
               "  75  the journal is in use by another run\n")
        + environmentText();
}

// The parser's own words for what it could not read, in the program's: an
// unknown option named as it was given.
QString parseError(const QCommandLineParser &parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) {
        QString error = parser.errorText();
        if (error.endsWith(u'.'))
            error.chop(1);
        return error.isEmpty() ? error : error.front().toLower() + error.mid(1);
    }
    const QString &name = unknown.constFirst();
    return QCoreApplication::translate("app::CommandLine", "unknown option %1")
        .arg((name.size() == 1 ? u"-" : u"--") + name);
}

// An option as a message names it: by its long name where it has one.
QString spelled(const QCommandLineOption &option)
{
    const QString name = option.names().constLast();
    return (name.size() == 1 ? u"-" : u"--") + name;
}

// The option an argument names, with its value when given as --name=value.
struct Spelled {
    QString name;
    std::optional<QByteArray> value;
};

std::optional<Spelled> optionIn(const QByteArray &argument)
{
    if (!argument.startsWith('-') || argument == "-" || argument == "--")
        return std::nullopt;
    QByteArray body = argument.mid(argument.startsWith("--") ? 2 : 1);
    const qsizetype equals = body.indexOf('=');
    if (equals < 0)
        return Spelled{QString::fromUtf8(body), std::nullopt};
    return Spelled{QString::fromUtf8(body.left(equals)), body.mid(equals + 1)};
}

// The sources in the order given, each --folder with the --ext nearest
// before it, or htm when there is none.
QList<EntrySource> orderedSources(const QList<QByteArray> &arguments, const Options &options)
{
    QList<EntrySource> sources;
    QString extension = QStringLiteral("htm");
    bool onlyPositional = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QByteArray &argument = arguments.at(i);
        const std::optional<Spelled> option = onlyPositional ? std::nullopt : optionIn(argument);
        if (argument == "--" && !onlyPositional) {
            onlyPositional = true;
            continue;
        }
        if (!option) {
            sources.append({EntrySource::Kind::Entry, argument, extension});
            continue;
        }
        QByteArray value;
        if (options.takesValue(option->name))
            value = option->value ? *option->value : arguments.value(++i);
        if (option->name == u"list") {
            sources.append({EntrySource::Kind::ListFile, value, {}});
        } else if (option->name == u"folder") {
            sources.append({EntrySource::Kind::Folder, value, extension});
        } else if (option->name == u"ext") {
            extension = QString::fromUtf8(value);
            if (extension.startsWith(u'.'))
                extension.remove(0, 1);
        }
    }
    return sources;
}

// An empty name given to an option that names a file, a folder or a queue
// would otherwise quietly stand for "none": the default printer, say.
QString checkNamesGiven(const QCommandLineParser &parser, const Options &options)
{
    for (const QCommandLineOption *named :
         {&options.list, &options.folder, &options.printer, &options.output, &options.journal, &options.cookies,
          &options.netrc, &options.profile}) {
        if (parser.values(*named).contains(QString()))
            return QCoreApplication::translate("app::CommandLine", "%1 wants a %2, not an empty one")
                .arg(spelled(*named), named->valueName());
    }
    return {};
}

// The -o options, each checked as far as it can be without a printer;
// copies given as an option counts as --copies.
QString readJobOptions(const QStringList &values, core::PrinterSettings &settings)
{
    for (const QString &value : values) {
        // lp takes several options in one -o, separated by blanks.
        for (const QString &text : value.split(u' ', Qt::SkipEmptyParts)) {
            const core::ParsedOption parsed = core::parseJobOption(text);
            if (!parsed.option)
                return parsed.error;
            if (parsed.option->name == core::option::PageRanges
                && !printing::parsePageRanges(parsed.option->value))
                return QCoreApplication::translate("app::CommandLine",
                                                   "-o page-ranges=%1 names no pages; write them as 1-3,7 or 5-")
                    .arg(parsed.option->value);
            if (parsed.option->name == core::option::Copies)
                settings.copies = parsed.option->value.toInt();
            else
                settings.set(parsed.option->name, parsed.option->value);
        }
    }
    return {};
}

QString checkWaiting(const QCommandLineParser &parser, const Options &options, CommandLine &line)
{
    if (!parser.isSet(options.waitTimeout))
        return {};
    bool ok = false;
    const double seconds = parser.value(options.waitTimeout).toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 1 || seconds > CommandLine::MaxWaitSeconds)
        return QCoreApplication::translate("app::CommandLine", "--wait-timeout wants a number of seconds from 1 to %1")
            .arg(CommandLine::MaxWaitSeconds);
    if (!parser.isSet(options.wait))
        return QCoreApplication::translate("app::CommandLine", "--wait-timeout goes with --wait: add --wait");
    line.waitSeconds = seconds;
    return {};
}

// A selector is checked as CSS by the engine itself once the program runs
// (see printFromCommandLine); here only what needs no engine.
QString checkReadiness(const QCommandLineParser &parser, const Options &options, CommandLine &line)
{
    if (parser.isSet(options.waitFor)) {
        line.waitFor = parser.value(options.waitFor);
        if (line.waitFor.trimmed().isEmpty())
            return QCoreApplication::translate("app::CommandLine", "--wait-for wants a CSS selector such as #report-done");
    }
    if (parser.isSet(options.delay)) {
        bool ok = false;
        const qint64 ms = parser.value(options.delay).toLongLong(&ok);
        if (!ok || ms < 0 || ms > core::Readiness::MaxDelay.count())
            return QCoreApplication::translate("app::CommandLine",
                                               "--delay wants a whole number of milliseconds from 0 to %1")
                .arg(core::Readiness::MaxDelay.count());
        line.delay = std::chrono::milliseconds(ms);
    }
    return {};
}

QString checkValues(const QCommandLineParser &parser, const Options &options, CommandLine &line)
{
    if (parser.isSet(options.copies)) {
        bool ok = false;
        line.printer.copies = parser.value(options.copies).toInt(&ok);
        if (!ok || line.printer.copies < 1 || line.printer.copies > core::MaxCopies)
            return QCoreApplication::translate("app::CommandLine", "--copies wants a whole number from 1 to %1")
                .arg(core::MaxCopies);
    }
    if (QString problem = readJobOptions(parser.values(options.jobOption), line.printer); !problem.isEmpty())
        return problem;
    if (parser.isSet(options.timeout)) {
        bool ok = false;
        const double seconds = parser.value(options.timeout).toDouble(&ok);
        if (!ok || !printing::RunSettings::boundInRange(seconds))
            return QCoreApplication::translate("app::CommandLine", "--timeout wants a number of seconds from %1 to %2")
                .arg(printing::RunSettings::MinBoundSeconds)
                .arg(printing::RunSettings::MaxBoundSeconds);
        line.timeoutSeconds = seconds;
    }
    if (QString waiting = checkReadiness(parser, options, line); !waiting.isEmpty())
        return waiting;
    if (parser.isSet(options.contents) && !parser.isSet(options.combine))
        return QCoreApplication::translate("app::CommandLine", "--contents goes with --combine");
    if (QString empty = checkNamesGiven(parser, options); !empty.isEmpty())
        return empty;
    for (const QString &value : parser.values(options.ext)) {
        if (value.isEmpty() || value.contains(u'/'))
            return QCoreApplication::translate("app::CommandLine", "--ext wants an extension such as htm");
    }
    if (QString waiting = checkWaiting(parser, options, line); !waiting.isEmpty())
        return waiting;
    for (const QString &text : parser.values(options.header)) {
        const core::ParsedHeader parsed = core::parseHeader(text);
        if (!parsed.header)
            return parsed.error;
        line.headers << *parsed.header;
    }
    if (!line.print) {
        for (const QCommandLineOption *printOnly :
             {&options.printer, &options.copies, &options.jobOption, &options.timeout, &options.waitFor, &options.delay,
              &options.output, &options.journal, &options.resendUncertain, &options.json, &options.wait,
              &options.waitTimeout, &options.cookies, &options.header, &options.netrc}) {
            if (parser.isSet(*printOnly))
                return QCoreApplication::translate("app::CommandLine",
                                                   "%1 is for printing from the command line: add --print")
                    .arg(spelled(*printOnly));
        }
    }
    if (parser.isSet(options.resendUncertain) && !parser.isSet(options.journal))
        return QCoreApplication::translate("app::CommandLine",
                                           "--resend-uncertain goes with --journal: add --journal FILE");
    if (parser.isSet(options.printer) && parser.isSet(options.output))
        return QCoreApplication::translate(
            "app::CommandLine", "--printer and --output do not go together: a run either prints or writes files");
    return {};
}

} // namespace

CommandLine parseCommandLine(int argc, const char *const argv[])
{
    QList<QByteArray> arguments;
    QStringList texts;
    for (int i = 0; i < argc; ++i) {
        arguments << QByteArray(argv[i]);
        texts << QString::fromLocal8Bit(argv[i]);
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const Options options;
    options.addTo(parser);
    CommandLine line;
    if (!parser.parse(texts)) {
        line.error = parseError(parser);
        return line;
    }
    line.help = parser.isSet(options.help);
    line.version = parser.isSet(options.version);
    line.print = parser.isSet(options.print);
    line.headings = !parser.isSet(options.noHeaders);
    line.bookmarks = !parser.isSet(options.noBookmarks);
    line.combine = parser.isSet(options.combine);
    line.contents = parser.isSet(options.contents);
    line.listPrinters = parser.isSet(options.listPrinters);
    line.printer.printer = parser.value(options.printer);
    line.outputFolder = parser.value(options.output);
    line.journal = parser.value(options.journal);
    line.resendUncertain = parser.isSet(options.resendUncertain);
    line.json = parser.isSet(options.json);
    line.wait = parser.isSet(options.wait);
    line.cookiesFile = parser.value(options.cookies);
    line.netrcFile = parser.value(options.netrc);
    line.profileFolder = parser.value(options.profile);
    line.error = checkValues(parser, options, line);
    line.sources = orderedSources(arguments, options);
    return line;
}

printing::RunSettings runSettingsFor(const CommandLine &line)
{
    printing::RunSettings settings = printing::RunSettings::fromEnvironment();
    settings.printer = line.printer;
    settings.headings = settings.headings && line.headings;
    // Bookmarks only go into the files a person opens, and into a combined
    // run's one document, which is one to keep: a printer shows none, and
    // naming the headings costs each job a moment of its page.
    settings.bookmarks = line.bookmarks && (!line.outputFolder.isEmpty() || line.combine);
    // --json names each job's pages. The window follows every job to the
    // printer's answer, its marks changing while it is open; from the
    // command line that is only worth its polling when the program waits
    // for it, and a PDF file written has nothing to follow.
    settings.countPages = line.json;
    settings.follow = !line.print || (line.wait && line.outputFolder.isEmpty());
    if (line.timeoutSeconds)
        settings.documentBound = std::chrono::milliseconds(qint64(*line.timeoutSeconds * 1000));
    settings.waitFor = line.waitFor;
    settings.delay = line.delay;
    return settings;
}

QString usageText()
{
    QCommandLineParser parser;
    Options().addTo(parser);
    return usage(parser);
}

QString usageErrorLine(const QString &error)
{
    return QCoreApplication::translate("app::CommandLine", "tavimark: %1; try 'tavimark --help'").arg(error) + u'\n';
}

QString versionText()
{
    // The licence travels with every copy, so the program says it too.
    return u"tavimark " + QStringLiteral(TAVIMARK_VERSION)
        + u"\nLicense GPL-3.0-or-later: GNU GPL version 3 or later <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
          u"This is free software: you are free to change and redistribute it.\n"
          u"There is NO WARRANTY, to the extent permitted by law.\n";
}

std::optional<QString> entryForArgument(const QByteArray &argument)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    const QString text = core::addressText(argument);
    if (!argument.startsWith('/') && scheme.match(text).hasMatch() && !QFile::exists(QFile::decodeName(argument)))
        return text;
    if (argument.startsWith('/'))
        return core::entryText(argument);
    // Tidied ("./a", "x/../b"), byte for byte.
    const std::optional<QByteArray> absolute = platform::absolutePath(argument);
    if (!absolute)
        return std::nullopt;
    return core::entryText(*absolute);
}

namespace {

QString noCurrentFolder()
{
    return QCoreApplication::translate("app::CommandLine",
                                       "(the current folder cannot be read, so a relative name cannot be resolved)");
}

void addFolder(const QByteArray &folder, const QString &extension, joblist::JobList &jobs, QStringList &problems)
{
    sources::FolderWalk walk({});
    sources::addFolderTree(folder, extension, walk, jobs);
    for (const QByteArray &unread : walk.unreadableFolders())
        problems << QCoreApplication::translate("app::CommandLine", "folder %1 (it could not be read)")
                        .arg(sources::displayFolder(unread));
}

// The folder an argument names, absolute and tidied as a file's entry is;
// nothing when it names none. A folder given as an argument is walked as
// --folder walks one: as an entry of its own it could only fail to load.
std::optional<QByteArray> folderNamed(const QByteArray &argument)
{
    const std::optional<QByteArray> path = platform::absolutePath(argument);
    if (!path || !QFileInfo(QFile::decodeName(*path)).isDir())
        return std::nullopt;
    return path;
}

} // namespace

QStringList addEntries(const QList<EntrySource> &sources, joblist::JobList &jobs)
{
    QStringList problems;
    core::EventYield yield;
    for (const EntrySource &source : sources) {
        switch (source.kind) {
        case EntrySource::Kind::Entry: {
            if (const std::optional<QByteArray> folder = folderNamed(source.argument)) {
                addFolder(*folder, source.extension, jobs, problems);
                break;
            }
            const std::optional<QString> entry = entryForArgument(source.argument);
            if (!entry) {
                problems << QFile::decodeName(source.argument) + u' ' + noCurrentFolder();
            } else if (const QString problem = core::documentAddressProblem(*entry); !problem.isEmpty()) {
                problems << *entry + u" (" + core::shownReason(problem) + u')';
            } else {
                jobs.add(*entry);
            }
            break;
        }
        case EntrySource::Kind::ListFile: {
            sources::ListFileProblems listProblems;
            sources::addListFile(QFile::decodeName(source.argument), yield, jobs, listProblems);
            for (const sources::SkippedListFile &file : listProblems.files)
                problems
                    << QCoreApplication::translate("app::CommandLine", "list file %1 (%2)").arg(file.path, file.why);
            for (const sources::RefusedToken &token : listProblems.tokens)
                problems << QCoreApplication::translate("app::CommandLine", "%1 in list file %2 (%3)")
                                .arg(token.token, QFile::decodeName(source.argument), core::shownReason(token.why));
            break;
        }
        case EntrySource::Kind::Folder: {
            // A relative folder is under the current one, as a relative file
            // is; its files' entries must be whole paths, or they would be
            // taken for web addresses.
            const std::optional<QByteArray> folder =
                source.argument.startsWith('/') ? source.argument : platform::absolutePath(source.argument);
            if (!folder) {
                problems << QCoreApplication::translate("app::CommandLine", "folder %1")
                                .arg(QFile::decodeName(source.argument))
                        + u' ' + noCurrentFolder();
                break;
            }
            addFolder(*folder, source.extension, jobs, problems);
            break;
        }
        }
    }
    return problems;
}

} // namespace app
