#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace platform {

// Where one document stands between "load it" and "it is in the queue".
enum class LoadState {
    Loading,   // still arriving, or its fonts are not ready yet
    Complete,  // loaded, fonts ready: what a person would call a finished page
    Failed,    // nothing worth printing: missing file, network error, HTTP error, ...
};

enum class PrintState {
    Printing,        // being rendered or handed to the printer
    Queued,          // the job is in the default printer's queue
    DocumentFailed,  // this document could not be rendered; the printer is fine
    PrinterFailed,   // the printer refused the job; later documents would fail too
};

// The off-screen browser page and the default printer behind it: loads one
// document at a time and prints it without a dialog. Both steps run on while
// the event loop turns; callers watch loadState() and printState() between
// turns. Waiting, bounds and reporting to the user are not its business.
class DocumentPrinter {
public:
    virtual ~DocumentPrinter() = default;

    // Why the default printer cannot take jobs now, in words for the user;
    // nothing when it can.
    virtual std::optional<QString> printerProblem() = 0;

    // Starts loading `entry` (a local path or a URL, exactly as it stands in
    // the job list), replacing the previous document.
    virtual void load(const QString &entry) = 0;
    virtual LoadState loadState() const = 0;

    // Prints the document as it stands now, whether or not it completed,
    // as a job called `title`.
    virtual void print(const QString &title) = 0;
    virtual PrintState printState() const = 0;

    // Why the last load or print failed, in words for the user.
    virtual QString failure() const = 0;
};

// How documents reach the printer.
enum class PrintPath {
    Vector,  // the engine's PDF, submitted to the default CUPS queue
    Raster,  // pages painted through QPrinter onto the default printer
};

// The path this build prefers: vector where CUPS was found at build time.
PrintPath preferredPrintPath();

// The real engine and printer. Nothing of the engine starts until the first
// load, so creating this costs the window's start-up nothing. `cupsServer`
// overrides where the print system is reached (empty: the usual place).
std::unique_ptr<DocumentPrinter> makeDocumentPrinter(PrintPath path = preferredPrintPath(),
                                                     const QString &cupsServer = {});

// The engine's sandbox cannot start as root; everyone else keeps it. Must run
// before the application object is created.
void prepareEngineSandbox();

} // namespace platform
