// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printersettings.h"
#include "core/signin.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <optional>

namespace joblist { class JobList; }
namespace printing { struct RunSettings; }

// The program's command line: the entries to start with, and whether to
// print them without a window. The window keeps everything it does without a
// command line; this only adds the ways in people expect on this platform.
namespace app {

// Exit statuses of a run from the command line.
enum ExitStatus : int {
    AllPrinted = 0,
    SomeNotPrinted = 1,
    NothingDone = 2,  // the printer failed, or there was nothing to do
    UsageError = 64,  // as sysexits.h has it
    JournalInUse = 75,  // another run holds the journal; sysexits.h's "try again later"
};

// Where entries come from, in the order the command line names them.
struct EntrySource {
    enum class Kind {
        Entry,     // a file or address, added as a drop adds it; a folder, walked as Folder is
        ListFile,  // a URL list file, read as the list-file button reads it
        Folder,    // every file of an extension below a folder, as the folder button walks it
    };
    Kind kind = Kind::Entry;
    // The argument's bytes, exactly as given: a file's name need not be text.
    QByteArray argument;
    QString extension;  // Folder, and an Entry that turns out a folder: without its dot
};

struct CommandLine {
    // How long --wait waits for the printer's answers, by default and at
    // most: a day covers a printer that waits overnight for paper.
    static constexpr double DefaultWaitSeconds = 600;
    static constexpr double MaxWaitSeconds = 24 * 3600;
    bool print = false;
    bool help = false;
    bool version = false;
    bool headings = true;
    bool bookmarks = true;  // bookmarks in the PDF files written
    bool contents = false;  // with combine: a contents page first
    bool combine = false;   // the run's documents as one job, or one file (--output FILE)
    bool listPrinters = false;
    core::PrinterSettings printer;  // -d, -n and -o
    std::optional<double> timeoutSeconds;
    QString waitFor;                  // a CSS selector each document waits for
    std::chrono::milliseconds delay{0};  // waited after a document has settled
    QString outputFolder;  // write PDFs there instead of printing; with combine, the one file
    QString journal;       // the run's journal, read to resume and then added to
    bool resendUncertain = false;  // print again what the journal says may have printed
    bool json = false;     // an object per entry on standard output
    bool wait = false;     // follow every job to the printer's final answer
    double waitSeconds = DefaultWaitSeconds;
    // Signing in: these name files whose contents are secrets; the command
    // line itself never holds a password or a cookie.
    QString cookiesFile;
    QList<core::ExtraHeader> headers;
    QString netrcFile;      // empty: ~/.netrc, where there is one
    QString profileFolder;  // empty: the window's own, or none for --print
    QList<EntrySource> sources;
    QString error;  // a usage error, in words; empty when the line is sound
};

// Reads the command line. Nothing here needs an application object, so it
// can decide before one exists whether there will be a window at all.
CommandLine parseCommandLine(int argc, const char *const argv[]);

// What --help prints.
QString usageText();
// What a usage error prints: the error, and where to read more.
QString usageErrorLine(const QString &error);
QString versionText();

// Adds the sources' entries to `jobs` in order. Returns what could not be
// used (a list file that cannot be read, a folder that cannot be walked, a
// relative name with no current folder to resolve it in), one line each.
QStringList addEntries(const QList<EntrySource> &sources, joblist::JobList &jobs);

// How the runs of this start of the program go about their work: the
// environment's settings, then the command line's.
printing::RunSettings runSettingsFor(const CommandLine &line);

// The job list text for a file or address given as an argument: an address
// stays as it is, a path becomes absolute (a drop hands over absolute paths).
// Nothing for a relative path when the current folder cannot be read (it was
// removed, say): resolving it against anything else would name another file.
std::optional<QString> entryForArgument(const QByteArray &argument);

} // namespace app
