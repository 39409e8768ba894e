// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "journal.h"
#include "settledentry.h"

#include "printing/runreport.h"

#include <QCoreApplication>
#include <QHash>
#include <QMap>
#include <QStringList>

#include <cstdio>

namespace app {

// Where a run from the command line reports, and how.
struct ReportSettings {
    std::FILE *log = stderr;
    std::FILE *json = nullptr;    // one object per entry and a summary (--json); none when null
    Journal *journal = nullptr;   // --journal; none when null
    bool writesFiles = false;     // --output: a job is a PDF file, "written" once there
    bool waits = false;           // --wait: an entry settles with the printer's final answer
    QString printer;              // the queue the run prints on, as --json and the journal name it
};

// What a run from the command line says of each entry as it settles: its
// line on the log, its record in the journal, its --json object, and the
// summary at the end. Entries are numbered by their place in the whole list,
// whether or not this run prints them; the run's own steps count only the
// entries it prints, and are mapped back here.
class BatchReport {
    // The lines on standard error are worded in the user's language.
    Q_DECLARE_TR_FUNCTIONS(app::BatchReport)

public:
    BatchReport(QStringList entries, ReportSettings settings);

    // The entry `index` of the list is left out: the journal says it is done,
    // or that it may have printed. It is reported in its place in the list,
    // as the run passes it.
    void skipped(int index, const JournalVerdict &verdict) { m_skipped.insert(index, verdict); }
    // The run prints these entries of the list, in this order.
    void printing(QList<int> indexes) { m_printed = std::move(indexes); }
    // The list's entry that the run's step `step` printed.
    int indexOf(int step) const { return m_printed.value(step - 1); }

    // The paper the run lays its pages out on, as --json names it; known
    // once the printer has been asked.
    void paperIs(const QString &paper) { m_paper = paper; }
    void entryFinished(int step, const printing::EntryOutcome &outcome);
    void entryAnswered(int step, const printing::JobAnswer &answer);
    // Whether an entry still waits for the printer's final answer.
    bool awaiting() const;
    // The wait is over: every job answered (answersDone), or its time ran
    // out; each entry still waiting settles as it stands.
    void waitEnded(bool answersDone);

    // The summary line, after the lines of entries the run did not get to;
    // returns the exit status. `problems`: some entries could not be added.
    int summarise(const printing::RunReport &report, bool problems);
    // The last --json object.
    void finalObject(int status);

    // A line of its own on the log, about the run as a whole.
    void note(const QString &line) const { say(line); }

private:
    struct Awaited {
        SettledEntry settled;
        std::optional<printing::JobAnswer> answer;
    };
    QString step(int index) const;
    void reportSkipped(int before);
    void say(const QString &line) const;
    SettledEntry settledFrom(int index, const printing::EntryOutcome &outcome) const;
    void settle(const SettledEntry &entry);
    void record(const SettledEntry &entry);
    void answerSettles(Awaited &awaited);
    QString summaryLine(const printing::RunReport &report) const;
    int statusAfterWait(int status) const;
    // What the summary calls the jobs that went out: files are written.
    QString sentWord() const;
    QString sentCount(const printing::RunReport &report) const;

    QStringList m_entries;
    ReportSettings m_settings;
    QList<int> m_printed;
    QString m_paper;
    QMap<int, JournalVerdict> m_skipped;  // by the list's index; reported when passed
    QMap<int, Awaited> m_awaited;  // by the list's index
    QHash<QString, int> m_tally;   // settled entries by outcome
    int m_journalUncertain = 0;    // left out: the journal says they may have printed
    int m_unanswered = 0;          // sent, but the printer's answer did not come in time
    bool m_timedOut = false;
};

} // namespace app
