// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace app {

// The words a run from the command line uses for what became of an entry,
// the same in its journal and in its --json objects.
namespace outcome {
inline const QString Sent = QStringLiteral("sent");
inline const QString Written = QStringLiteral("written");  // --output: the PDF file is there
inline const QString NotPrinted = QStringLiteral("not printed");
inline const QString MayHavePrinted = QStringLiteral("may have printed");
inline const QString AlreadySent = QStringLiteral("already sent (journal)");
// The printer's final answers, learned with --wait.
inline const QString Printed = QStringLiteral("printed");
inline const QString Held = QStringLiteral("held");
inline const QString Aborted = QStringLiteral("aborted");
inline const QString Canceled = QStringLiteral("canceled");
inline const QString Unknown = QStringLiteral("unknown");
} // namespace outcome

// One entry of the command line's list, as it settled.
struct SettledEntry {
    int index = 0;  // its place in the whole list, from 1, whether or not this run printed it
    QString entry;
    QString outcome;  // one of the words above
    QString reason;
    int job = 0;  // the print system's number for its job; 0 when none
    qint64 bytes = 0;
    int pages = 0;  // 0 when not counted
    double seconds = 0;
    QString ready;  // how its document was judged ready to print ("settled", ...); empty when none was
    QString finalAddress{};  // where a redirect took its page; empty when nowhere

    // An entry that settled without a job of this run's.
    static SettledEntry without(int index, const QString &entry, const QString &outcome, const QString &reason)
    {
        SettledEntry settled;
        settled.index = index;
        settled.entry = entry;
        settled.outcome = outcome;
        settled.reason = reason;
        return settled;
    }
};

} // namespace app
