// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"
#include "core/reasontext.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

namespace printing {

// What became of one entry of a run.
struct EntryOutcome {
    enum class Result {
        Sent,            // its job is in the printer's queue
        SentIncomplete,  // printed as it stood when its time was up
        NotPrinted,      // given up; `reason` says why
        MayHavePrinted,  // its job went out whole, but the queue's answer was lost; `reason` says how
    };
    Result result = Result::NotPrinted;
    QString reason;
    int jobId = 0;       // the print system's number for its job; 0 when none
    qint64 bytes = 0;    // the size of its job; 0 when none went out
    int pages = 0;       // its pages, when counted (see RunSettings::countPages)
    double seconds = 0;  // from the start of its step to its outcome
    // How its document was judged ready to print (core::readyByName); empty
    // when no document went out.
    QString ready{};
    QString file{};      // where it was written, when the run writes files
    // Where a redirect took the document (a sign-in form, say), without any
    // user name or password; empty when it printed from its own address.
    QString finalAddress{};
};

// What the printer made of a job it took (see core::JobAnswer).
using JobAnswer = core::JobAnswer;

// An entry and what kept it from printing, or from printing whole.
struct NamedEntry {
    QString entry;
    QString reason;
};

// How a print run went, for the closing message and for the command line.
struct RunReport {
    enum class Ending {
        NothingToPrint,   // the list was empty
        PrinterUnusable,  // the printer could not take jobs; nothing was loaded
        SettingRefused,   // the printer does not offer a setting the user chose; nothing was loaded
        Finished,         // every entry was printed or given up
        PrinterFailed,    // the printer stopped taking jobs part way
        EngineFailed,     // the browser engine could load no more documents; the rest are in notPrinted
        Stopped,          // the user stopped the run; the rest are in notPrinted, named stoppedReason()
    };
    Ending ending = Ending::Finished;
    // PrinterUnusable, SettingRefused and PrinterFailed: why the printer could not go on,
    // in the print system's or the sink's words, one paragraph.
    QString printerReason;
    // PrinterUnusable: what the user can do about it, when there is a word
    // for it.
    QString printerAdvice;
    QStringList sent;                // entries whose jobs reached the queue, in order
    QList<NamedEntry> incomplete;    // of those, the ones printed before they finished loading
    QList<NamedEntry> notPrinted;    // entries given up, in order
    QList<NamedEntry> mayHavePrinted; // entries whose jobs went out whole without an answer, in order
    QStringList notSent;             // PrinterFailed: the entries the run did not get to

};

// Why an entry a stopped run did not get to was not printed.
inline QString stoppedReason()
{
    return core::reasonText(QT_TRANSLATE_NOOP("Reason", "stopped"));
}

// The message the window shows when the run is over. Every entry it quotes
// is shortened, and it names at most twenty of each kind.
QString closingMessage(const RunReport &report);

// Everything the closing message could only summarise, every entry named in
// full; empty when the message says it all.
QString closingDetails(const RunReport &report);

} // namespace printing

Q_DECLARE_METATYPE(printing::RunReport)
