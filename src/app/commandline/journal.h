#pragma once

#include "settledentry.h"

#include "platform/files/filesync.h"

#include <QFile>
#include <QList>
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

    // Reads the journal at `path`, if there is one, and opens it to add to.
    // Returns what keeps it from serving the list `entries`, in words (a
    // journal of another list, a damaged line, one from a newer version, one
    // that cannot be opened); the file is then left as it was. A first write
    // that fails is no such problem: it is kept for failure().
    std::optional<QString> open(const QString &path, const QStringList &entries);

    // For the list's entry `index` (from 1).
    JournalVerdict verdict(int index) const { return m_verdicts.value(index - 1); }

    // Each writes one record. The line before a job goes out waits until it,
    // and the outcomes written before it, are on the disk; so does sync(),
    // for the outcomes after the last job. Once a write fails nothing more is
    // written, and every call returns that failure. The line before a job is
    // written on the print thread, the outcomes on the program's own.
    std::optional<QString> submitting(int index);
    std::optional<QString> settled(const SettledEntry &entry);
    std::optional<QString> sync();
    std::optional<QString> failure() const;

private:
    std::optional<QString> read();
    std::optional<QString> append(const QByteArray &line, platform::Sync sync);

    mutable std::mutex m_writing;

    QString m_path;
    QStringList m_entries;
    QList<JournalVerdict> m_verdicts;
    QFile m_file;
    std::optional<QString> m_failure;
    // The journal's last line was cut short (the disk filled up, say): the
    // next record starts on a line of its own.
    bool m_owesLineEnd = false;
};

} // namespace app
