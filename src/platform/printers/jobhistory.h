// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

// One job a print queue keeps, as the scheduler describes it to this user.
struct PastJob {
    enum class State {
        InQueue,   // waiting, held, printing, or stopped with its printer: it goes on
        Printed,   // the printer finished it
        GivenUp,   // canceled or aborted: it will not print
    };
    int id = 0;
    State state = State::InQueue;
    // The job's name and owner; empty when the scheduler keeps them from
    // this user (another user's job, by default).
    QByteArray name;
    QString user;
    qint64 kOctets = -1;   // its documents' size, in kilobytes rounded up
    qint64 created = 0;    // seconds since the epoch, on the scheduler's clock
    qint64 completed = 0;  // when it ended (printed or given up); 0 while it has not
};

// Every job the scheduler keeps for a queue, ended ones included, for as long
// as it keeps them (its job history may be short, or off).
struct JobHistory {
    QList<PastJob> jobs;
    // The scheduler's clock less this machine's, in seconds, and by how many
    // seconds that may be off either way: 0 and 0 for a scheduler on this
    // machine, which shares its clock; else read from its answer's date.
    qint64 clockOffset = 0;
    qint64 clockSlack = 0;
};

// The jobs of `queue`, on the print system the environment and the client
// configuration point at; nothing when it cannot be asked, does not know the
// queue, or (elsewhere) does not say what its clock reads.
std::optional<JobHistory> jobHistory(const QString &queue);

// The user this program's jobs are filed under.
QString printSystemUser();

// The kilobytes a scheduler counts for a document of `bytes`.
inline qint64 kilobytesOf(qint64 bytes) { return (bytes + 1023) / 1024; }

} // namespace platform
