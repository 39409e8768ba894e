// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "jsonline.h"
#include "settledentry.h"

#include "platform/files/filesync.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <mutex>
#include <optional>

namespace app {

// What a journal says of one entry, by the last record about it.
struct JournalVerdict {
    enum class State {
        ToPrint,    // no record, or one saying it did not print
        Done,       // sent, written, or printed
        Uncertain,  // its job was going out when the run stopped, or went out without an answer
    };
    State state = State::ToPrint;
    QString reason;  // Uncertain: what the journal saw
    QString printer;  // the queue its last job went to, when the journal names one
    int job = 0;      // Done: the print system's number for its job; 0 when unknown
    bool foundInQueue = false;  // Done: the journal was in doubt, and the queue showed the job
};

// What the record written as a job goes out says of it: enough to find the
// job among its queue's jobs when the run is stopped before the answer.
struct Submission {
    QString printer;
    QByteArray title;  // the job's name, as the queue keeps it
    qint64 bytes = 0;
    qint64 time = 0;   // seconds since the epoch on this machine's clock, just before it went out
    QString user;      // whom the print system files the job under
    qsizetype line = 0;  // the journal's line that recorded it
    bool findable() const { return !printer.isEmpty() && !title.isEmpty() && bytes > 0 && time > 0; }
};

// What keeps a journal from serving a run, in words.
struct JournalProblem {
    QString words;
    // Another run holds the journal: the same command may well work later.
    bool inUse = false;
};

// The record a run from the command line keeps of its jobs (--journal), so
// that a run killed part way can be run again without printing anything
// twice. One JSON object a line: a header naming the list, then, for each
// job, a line written before it goes to the printer and one with its
// outcome; each is on the disk before the next job goes out. Deciding what to
// print again from it is the caller's business.
class Journal {
public:
    static constexpr int Version = 1;

    // Opens the journal at `path` (a new one when there is no file), holds it
    // for this run alone until the journal is destroyed, and reads it.
    // Returns what keeps it from serving the list `entries` (another run
    // holding it, something there other than a file, a journal of another
    // list, a damaged line, one from a newer version, one that cannot be
    // opened); the file is then left as it was. It is read a line at a time,
    // and no line longer than a record of this list can be is read whole, so
    // that a huge file costs little memory before it is refused. A first
    // write that fails is no such problem: it is kept for failure().
    std::optional<JournalProblem> open(const QString &path, const QStringList &entries);

    // The queue this run's jobs go to, named in every record written after,
    // and the user the print system files them under; the queue is empty
    // when the run prints on no queue (--output) or cannot tell.
    void setQueue(const QString &printer, const QString &user)
    {
        m_printer = printer;
        m_user = user;
    }

    // For the list's entry `index` (from 1).
    JournalVerdict verdict(int index) const { return m_verdicts.value(index - 1); }
    // What the last record of the entry's job going out says; nothing
    // findable in journals written before it said more than the entry.
    Submission submission(int index) const { return m_submissions.value(index - 1); }
    // The entry at `index`, from 1, as the list holds it.
    QString entry(int index) const { return m_entries.value(index - 1); }
    // The job numbers the journal gives the jobs of entries other than
    // `index`.
    QSet<int> jobsOfOthers(int index) const;
    // The jobs the journal named on its lines before `line`: jobs already in
    // their queue when that line was written.
    QSet<int> jobsBefore(qsizetype line) const;

    // An entry in doubt, settled by what its queue showed: its job `job` is
    // there (recorded, so the next run need not ask), or it is not and the
    // entry prints again.
    std::optional<QString> foundInQueue(int index, const Submission &submission, int job);
    void notInQueue(int index) { m_verdicts[index - 1] = JournalVerdict(); }

    // Each writes one record; the one before a job names the job's size. The line before a job goes out waits until it,
    // and the outcomes written before it, are on the disk; so does sync(),
    // for the outcomes after the last job. Once a write fails nothing more is
    // written, and every call returns that failure. The line before a job is
    // written on the print thread, the outcomes on the program's own.
    std::optional<QString> submitting(int index, qint64 bytes);
    // The same for an entry that goes out in the job named after `jobEntry`
    // (one job for a whole run).
    std::optional<QString> submitting(int index, qint64 bytes, const QString &jobEntry);
    std::optional<QString> settled(const SettledEntry &entry);
    std::optional<QString> sync();
    std::optional<QString> failure() const;

private:
    std::optional<QString> read();
    std::optional<QString> readLine(qsizetype number, const QByteArray &line);
    QString damaged(qsizetype line) const;
    void addPrinter(JsonLine &record) const;
    std::optional<QString> append(const QByteArray &line, platform::Sync sync);

    mutable std::mutex m_writing;

    QString m_path;
    QString m_printer;
    QString m_user;
    QStringList m_entries;
    QList<JournalVerdict> m_verdicts;
    QList<Submission> m_submissions;
    QHash<int, int> m_jobEntries;  // job number, the entry whose job it is
    QHash<int, qsizetype> m_jobLines;  // job number, the first line that named it
    QFile m_file;
    std::optional<QString> m_failure;
    // The journal's last line was cut short (the disk filled up, say): the
    // next record starts on a line of its own.
    bool m_owesLineEnd = false;
};

} // namespace app
