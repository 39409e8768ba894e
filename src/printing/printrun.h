#pragma once

#include "platform/eventyield.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

class QWidget;

namespace joblist { class JobList; }

namespace platform {
class DocumentPrinter;
class MessageBox;
class PointerOwner;
}

namespace printing {

// What became of one entry of a run.
enum class EntryResult {
    Sent,        // the job is in the printer's queue
    NotPrinted,  // the document failed; the run went on
};

// The print run behind the "Print HTML Files" button: every entry of the job
// list in turn is loaded in the off-screen page and printed on the default
// printer, and the user is told how it went. It reports through signals and
// the window only listens; it shows no widget of its own beyond the message
// box it is given.
class PrintRun : public QObject {
    Q_OBJECT

public:
    // The most one document may take to load. A document still loading then
    // is printed as it stands, so one endless page cannot hold up the run.
    static constexpr std::chrono::milliseconds DocumentBound{30'000};
    // The most rendering one document and handing it to the printer may take.
    static constexpr std::chrono::milliseconds PrintBound{60'000};

    struct Parts {
        joblist::JobList &jobs;
        platform::DocumentPrinter &printer;
        platform::EventYield &yield;
        platform::PointerOwner &pointer;
        platform::MessageBox &messages;
        QWidget *owner;  // only the message box's parent
    };

    explicit PrintRun(Parts parts, QObject *parent = nullptr);

    // Shorter bounds make tests of never-ending documents quick.
    void setDocumentBound(std::chrono::milliseconds bound) { m_documentBound = bound; }
    void setPrintBound(std::chrono::milliseconds bound) { m_printBound = bound; }

    bool running() const { return m_running; }

    // One press of Print: the whole run, its closing message included. A
    // press while a run is going is refused.
    void Check2();

Q_SIGNALS:
    // The share of entries begun, 0..100, unrounded.
    void progress(float percent);
    void entryFinished(int position, const QString &text, printing::EntryResult result, const QString &reason);
    // The run is over and `message` is about to be shown.
    void finished(const QString &message);

private:
    enum class Outcome { Sent, NotPrinted, PrinterFailed, WindowClosed };
    using Wait = platform::EventYield::Wait;

    struct Tally {
        QStringList sent;
        QStringList notPrinted;  // "entry: reason"
        QStringList notSent;     // entries a failed printer kept from printing
        QString printerFailure;
    };

    void printAll(Tally &tally);
    Outcome APrint1(const QString &address, QString &reason);
    Wait waitWhile(const std::function<bool()> &busy, std::chrono::milliseconds bound);
    void finish(const QString &message);

    Parts m_parts;
    std::chrono::milliseconds m_documentBound = DocumentBound;
    std::chrono::milliseconds m_printBound = PrintBound;
    bool m_running = false;
    bool m_windowClosed = false;
};

// The closing message for a run that went to its end.
QString closingMessage(const QStringList &notPrinted);
// The closing message when the printer failed part way.
QString printerFailedMessage(const QString &failure, const QStringList &sent, const QStringList &notSent);

} // namespace printing
