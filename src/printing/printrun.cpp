#include "printrun.h"

#include "joblist/joblist.h"
#include "platform/desktop.h"
#include "platform/documentprinter.h"
#include "platform/eventyield.h"
#include "platform/mousepointer.h"
#include "platform/namedlist.h"

#include <QDeadlineTimer>
#include <QScopeGuard>

namespace printing {

using platform::LoadState;
using platform::MousePointer;
using platform::namedList;
using platform::PrintState;

namespace {

const QString AllSent = QStringLiteral("Done. Print jobs sent to printer.");
const QString NoFiles = QStringLiteral("No files added.");

QString entries(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 entry") : QString::number(count) + u" entries";
}

} // namespace

QString closingMessage(const QStringList &notPrinted)
{
    if (notPrinted.isEmpty())
        return AllSent;
    return u"Print jobs sent to printer, except for " + entries(notPrinted.size())
        + u" that could not be printed:\n\n" + namedList(notPrinted);
}

QString printerFailedMessage(const QString &failure, const QStringList &sent, const QStringList &notSent)
{
    QString message = u"The printer stopped taking jobs (" + failure + u"), so printing was stopped.";
    message += u"\n\nSent to printer: " + entries(sent.size());
    if (!sent.isEmpty())
        message += u"\n" + namedList(sent);
    message += u"\n\nNot sent: " + entries(notSent.size()) + u'\n' + namedList(notSent);
    return message;
}

PrintRun::PrintRun(Parts parts, QObject *parent)
    : QObject(parent)
    , m_parts(parts)
{
}

void PrintRun::Check2()
{
    // A run's own yields let a second press through; it would start a run
    // inside the run and print the list twice over.
    if (m_running)
        return;
    m_running = true;
    m_windowClosed = false;
    const auto done = qScopeGuard([this] { m_running = false; });

    m_parts.pointer.setMousePointer(MousePointer::Busy);
    if (m_parts.jobs.count() <= 0)
        return finish(NoFiles);
    // Nothing is loaded for a printer that cannot take the jobs.
    if (const std::optional<QString> problem = m_parts.printer.printerProblem())
        return finish(*problem);

    Tally tally;
    printAll(tally);
    if (m_windowClosed)
        return;
    if (!tally.printerFailure.isEmpty())
        return finish(printerFailedMessage(tally.printerFailure, tally.sent, tally.notPrinted + tally.notSent));
    finish(closingMessage(tally.notPrinted));
}

void PrintRun::printAll(Tally &tally)
{
    // Entries added while the run goes on wait for the next run.
    const int n = m_parts.jobs.count();
    for (int i = 1; i <= n; ++i) {
        const int m = m_parts.jobs.count();
        // Entries removed meanwhile: there is nothing left at this position.
        if (i > m)
            return;
        Q_EMIT progress(float(double(i) / double(m) * 100.0));
        m_parts.pointer.setMousePointer(MousePointer::Busy);
        const QString text = m_parts.jobs.text(i);
        m_parts.pointer.setMousePointer(MousePointer::Busy);
        if (!m_parts.yield.yield()) {
            m_windowClosed = true;
            return;
        }
        QString reason;
        switch (APrint1(text, reason)) {
        case Outcome::Sent:
            tally.sent << text;
            Q_EMIT entryFinished(i, text, EntryResult::Sent, {});
            break;
        case Outcome::NotPrinted:
            tally.notPrinted << text + u" (" + reason + u')';
            Q_EMIT entryFinished(i, text, EntryResult::NotPrinted, reason);
            break;
        case Outcome::PrinterFailed:
            tally.printerFailure = reason;
            tally.notSent << text;
            Q_EMIT entryFinished(i, text, EntryResult::NotPrinted, reason);
            for (int rest = i + 1; rest <= std::min(n, m_parts.jobs.count()); ++rest)
                tally.notSent << m_parts.jobs.text(rest);
            return;
        case Outcome::WindowClosed:
            m_windowClosed = true;
            return;
        }
        m_parts.pointer.setMousePointer(MousePointer::Busy);
    }
}

// Loads one document, waits until it is complete or its time is up, prints
// it and returns once the job is in the queue.
PrintRun::Outcome PrintRun::APrint1(const QString &address, QString &reason)
{
    platform::DocumentPrinter &printer = m_parts.printer;
    printer.load(address);
    if (waitWhile([&] { return printer.loadState() == LoadState::Loading; }, m_documentBound) == Wait::Closed)
        return Outcome::WindowClosed;
    if (printer.loadState() == LoadState::Failed) {
        reason = printer.failure();
        return Outcome::NotPrinted;
    }
    // Complete, or still loading at the bound: printed as it stands.
    printer.print(address);
    if (waitWhile([&] { return printer.printState() == PrintState::Printing; }, m_printBound) == Wait::Closed)
        return Outcome::WindowClosed;
    switch (printer.printState()) {
    case PrintState::Queued:
        return Outcome::Sent;
    case PrintState::Printing:
        reason = QStringLiteral("preparing it for the printer took too long");
        return Outcome::NotPrinted;
    case PrintState::DocumentFailed:
        reason = printer.failure();
        return Outcome::NotPrinted;
    case PrintState::PrinterFailed:
        reason = printer.failure();
        return Outcome::PrinterFailed;
    }
    return Outcome::NotPrinted;
}

// Sleeps between events instead of asking over and over: the engine and the
// print system report through the event loop.
PrintRun::Wait PrintRun::waitWhile(const std::function<bool()> &busy, std::chrono::milliseconds bound)
{
    return m_parts.yield.waitUntil([&busy] { return !busy(); }, QDeadlineTimer(bound));
}

void PrintRun::finish(const QString &message)
{
    Q_EMIT finished(message);
    m_parts.messages.show(m_parts.owner, message);
    Q_EMIT progress(0);
    m_parts.pointer.setMousePointer(MousePointer::Default);
}

} // namespace printing
