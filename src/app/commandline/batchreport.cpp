// SPDX-License-Identifier: GPL-3.0-or-later
#include "batchreport.h"
#include "commandline.h"
#include "jsonline.h"

#include "core/loadfailure.h"
#include "core/messagetext.h"

#include <cmath>

namespace app {

namespace {

using core::entryCount;
using core::oneLine;
using printing::EntryOutcome;
using printing::JobAnswer;
using printing::RunReport;
using Result = EntryOutcome::Result;

const QString NoAnswerInTime = QStringLiteral("the printer's answer did not come in time");

// What became of a document the run wrote to a file, named by that file.
QString writtenWords(const EntryOutcome &outcome)
{
    const QString written = u"written to " + oneLine(outcome.file);
    if (outcome.result == Result::SentIncomplete)
        return written + u" (written before it finished loading: " + outcome.reason + u')';
    return written;
}

QString withReason(const QString &words, const QString &reason);

// An entry's line on the log, as it has always read.
QString outcomeWords(const EntryOutcome &outcome, bool writesFiles)
{
    const bool taken = outcome.result == Result::Sent || outcome.result == Result::SentIncomplete;
    if (writesFiles && taken)
        return writtenWords(outcome);
    switch (outcome.result) {
    case Result::Sent:
        return withReason(QStringLiteral("sent"), outcome.reason);
    case Result::SentIncomplete:
        return u"sent (printed before it finished loading: " + outcome.reason + u')';
    case Result::MayHavePrinted:
        return u"may have printed (" + outcome.reason + u')';
    case Result::NotPrinted:
        break;
    }
    return u"not printed (" + outcome.reason + u')';
}

QString withReason(const QString &words, const QString &reason)
{
    return reason.isEmpty() ? words : words + u" (" + reason + u')';
}

QString answerWords(const JobAnswer &answer)
{
    switch (answer.state) {
    case JobAnswer::State::Printed:
        return QStringLiteral("printed");
    case JobAnswer::State::Aborted:
        return withReason(QStringLiteral("aborted by the printer"), answer.reason);
    case JobAnswer::State::Canceled:
        return withReason(QStringLiteral("canceled"), answer.reason);
    case JobAnswer::State::Held:
        return withReason(QStringLiteral("still held"), answer.reason);
    case JobAnswer::State::Working:
        return withReason(QStringLiteral("sent"), NoAnswerInTime);
    case JobAnswer::State::Unknown:
        break;
    }
    return withReason(QStringLiteral("sent; the printer's answer is unknown"), answer.reason);
}

QString answerOutcome(JobAnswer::State state)
{
    switch (state) {
    case JobAnswer::State::Printed:
        return outcome::Printed;
    case JobAnswer::State::Aborted:
        return outcome::Aborted;
    case JobAnswer::State::Canceled:
        return outcome::Canceled;
    case JobAnswer::State::Held:
        return outcome::Held;
    case JobAnswer::State::Working:
        return outcome::Sent;
    case JobAnswer::State::Unknown:
        break;
    }
    return outcome::Unknown;
}

// A job the print system took, which the printer will answer about.
bool taken(const EntryOutcome &outcome)
{
    return outcome.result == Result::Sent || outcome.result == Result::SentIncomplete
        || (outcome.result == Result::MayHavePrinted && outcome.jobId != 0);
}

QString counted(int count, const QString &what)
{
    return count == 0 ? QString() : u", " + QString::number(count) + u' ' + what;
}

QJsonValue orNull(qint64 value)
{
    return value != 0 ? QJsonValue(value) : QJsonValue();
}

} // namespace

BatchReport::BatchReport(QStringList entries, ReportSettings settings)
    : m_entries(std::move(entries))
    , m_settings(std::move(settings))
{
}

QString BatchReport::step(int index) const
{
    return u'[' + QString::number(index) + u'/' + QString::number(m_entries.size()) + u"] ";
}

void BatchReport::say(const QString &line) const
{
    std::fputs(qPrintable(line + u'\n'), m_settings.log);
    std::fflush(m_settings.log);
}

// The entries left out that come before the list's entry `before`.
void BatchReport::reportSkipped(int before)
{
    while (!m_skipped.isEmpty() && m_skipped.firstKey() < before) {
        const int index = m_skipped.firstKey();
        const JournalVerdict verdict = m_skipped.take(index);
        const QString &entry = m_entries.at(index - 1);
        if (verdict.state == JournalVerdict::State::Done) {
            // Resumed on another queue, the run says where these went.
            const bool elsewhere = !verdict.printer.isEmpty() && verdict.printer != m_settings.printer;
            const QString where = elsewhere ? u" to " + verdict.printer : QString();
            // The journal was in doubt; the queue showed the job.
            const QString found = u" as job " + QString::number(verdict.job) + u" (found in the queue)";
            say(step(index) + u"already sent" + where + (verdict.foundInQueue ? found : QStringLiteral(" (journal)")) + u": "
                + oneLine(entry));
            QString reason = elsewhere ? u"sent" + where : QString();
            if (verdict.foundInQueue)
                reason = QStringLiteral("found in the queue");
            SettledEntry settled = SettledEntry::without(index, entry, outcome::AlreadySent, reason);
            settled.job = verdict.job;
            settle(settled);
        } else {
            say(step(index) + u"may have printed (journal): " + oneLine(entry));
            ++m_journalUncertain;
            settle(SettledEntry::without(index, entry, outcome::MayHavePrinted, verdict.reason));
        }
    }
}

SettledEntry BatchReport::settledFrom(int index, const EntryOutcome &outcome) const
{
    SettledEntry settled{index, m_entries.value(index - 1), {}, outcome.reason, outcome.jobId, outcome.bytes, outcome.pages,
                         outcome.seconds, outcome.finalAddress};
    switch (outcome.result) {
    case Result::Sent:
    case Result::SentIncomplete:
        settled.outcome = m_settings.writesFiles ? outcome::Written : outcome::Sent;
        break;
    case Result::NotPrinted:
        settled.outcome = outcome::NotPrinted;
        break;
    case Result::MayHavePrinted:
        settled.outcome = outcome::MayHavePrinted;
        break;
    }
    return settled;
}

void BatchReport::entryFinished(int runStep, const EntryOutcome &outcome)
{
    const int index = indexOf(runStep);
    reportSkipped(index);
    const SettledEntry settled = settledFrom(index, outcome);
    // The journal first: a run killed right after the line below must
    // still find the job in it.
    record(settled);
    say(step(index) + outcomeWords(outcome, m_settings.writesFiles) + u": " + oneLine(settled.entry));
    if (m_settings.waits && !m_settings.writesFiles && taken(outcome))
        m_awaited.insert(index, {settled, std::nullopt});
    else
        settle(settled);
}

void BatchReport::entryAnswered(int runStep, const JobAnswer &answer)
{
    const int index = indexOf(runStep);
    if (answer.final()) {
        SettledEntry answered = SettledEntry::without(index, m_entries.value(index - 1), answerOutcome(answer.state), answer.reason);
        if (const auto awaited = m_awaited.constFind(index); awaited != m_awaited.constEnd()) {
            answered.job = awaited->settled.job;
            answered.finalAddress = awaited->settled.finalAddress;
        }
        record(answered);
    }
    const auto awaited = m_awaited.find(index);
    if (awaited == m_awaited.end())
        return;
    awaited->answer = answer;
    if (answer.final()) {
        answerSettles(*awaited);
        m_awaited.erase(awaited);
    }
}

void BatchReport::answerSettles(Awaited &awaited)
{
    SettledEntry &settled = awaited.settled;
    say(step(settled.index) + answerWords(*awaited.answer) + u": " + oneLine(settled.entry));
    settled.outcome = answerOutcome(awaited.answer->state);
    settled.reason = awaited.answer->reason;
    settle(settled);
}

bool BatchReport::awaiting() const
{
    return !m_awaited.isEmpty();
}

void BatchReport::waitEnded(bool answersDone)
{
    for (Awaited &awaited : m_awaited) {
        if (awaited.answer && awaited.answer->state == JobAnswer::State::Held) {
            m_timedOut = true;
            answerSettles(awaited);
        } else if (answersDone) {
            // A job the print system does not follow: its outcome stands.
            settle(awaited.settled);
        } else {
            m_timedOut = true;
            ++m_unanswered;
            say(step(awaited.settled.index) + u"sent; " + NoAnswerInTime + u": " + oneLine(awaited.settled.entry));
            awaited.settled.outcome = outcome::Sent;
            awaited.settled.reason = NoAnswerInTime;
            settle(awaited.settled);
        }
    }
    m_awaited.clear();
}

void BatchReport::record(const SettledEntry &entry)
{
    // A failure is kept in the journal, and the next job's gate stops the
    // run with it.
    if (m_settings.journal)
        m_settings.journal->settled(entry);
}

void BatchReport::settle(const SettledEntry &entry)
{
    ++m_tally[entry.outcome];
    if (!m_settings.json)
        return;
    const QByteArray line = JsonLine()
                                .add(QStringLiteral("step"), entry.index)
                                .add(QStringLiteral("entry"), entry.entry)
                                .add(QStringLiteral("outcome"), entry.outcome)
                                .add(QStringLiteral("reason"), entry.reason)
                                .add(QStringLiteral("printer"), m_settings.printer)
                                .add(QStringLiteral("paper"), m_paper)
                                .add(QStringLiteral("job"), orNull(entry.job))
                                .add(QStringLiteral("pages"), orNull(entry.pages))
                                .add(QStringLiteral("bytes"), entry.bytes)
                                .add(QStringLiteral("seconds"), std::round(entry.seconds * 1000) / 1000)
                                .add(QStringLiteral("final_url"), entry.finalAddress.isEmpty() ? QJsonValue()
                                                                                                : QJsonValue(entry.finalAddress))
                                .line();
    std::fputs(line.constData(), m_settings.json);
    std::fflush(m_settings.json);
}

// What the journal and the printer's answers add to the summary.
QString BatchReport::summaryLine(const RunReport &report) const
{
    QString line = counted(int(report.mayHavePrinted.size()), QStringLiteral("may have printed"));
    line += counted(m_tally.value(outcome::AlreadySent), outcome::AlreadySent);
    line += counted(m_journalUncertain, QStringLiteral("may have printed (journal)"));
    if (m_settings.waits) {
        line += counted(m_tally.value(outcome::Printed), QStringLiteral("printed"));
        line += counted(m_tally.value(outcome::Aborted), QStringLiteral("aborted by the printer"));
        line += counted(m_tally.value(outcome::Canceled), QStringLiteral("canceled"));
        line += counted(m_tally.value(outcome::Unknown), QStringLiteral("with the printer's answer unknown"));
        line += counted(m_tally.value(outcome::Held), QStringLiteral("still held"));
        line += counted(m_unanswered, QStringLiteral("with no answer in time"));
    }
    return line;
}

QString BatchReport::sentWord() const
{
    return m_settings.writesFiles ? outcome::Written : outcome::Sent;
}

int BatchReport::statusAfterWait(int status) const
{
    if (m_timedOut)
        return NothingDone;
    const bool unsure = m_tally.value(outcome::Aborted) + m_tally.value(outcome::Canceled) + m_tally.value(outcome::Unknown) > 0;
    return unsure ? std::max(status, int(SomeNotPrinted)) : status;
}

int BatchReport::summarise(const RunReport &report, bool problems)
{
    reportSkipped(int(m_entries.size()) + 1);
    switch (report.ending) {
    case RunReport::Ending::NothingToPrint:
        say(QStringLiteral("tavimark: nothing to print"));
        return NothingDone;
    case RunReport::Ending::PrinterUnusable:
        say(u"tavimark: " + oneLine(report.printerReason));
        return NothingDone;
    case RunReport::Ending::SettingRefused:
        say(u"tavimark: " + oneLine(report.printerReason));
        return UsageError;
    case RunReport::Ending::PrinterFailed: {
        const bool journalFailed = m_settings.journal && m_settings.journal->failure() == report.printerReason;
        const QString notSent = journalFailed ? QStringLiteral("not sent: the journal could not be written")
                                              : QStringLiteral("not sent: the printer stopped taking jobs");
        // The first entry not sent has had its line already.
        int runStep = int(m_printed.size() - report.notSent.size()) + 1;
        for (const QString &entry : report.notSent.mid(1)) {
            const int index = indexOf(++runStep);
            reportSkipped(index);
            say(step(index) + u"not printed (" + notSent + u"): " + oneLine(entry));
            settle(SettledEntry::without(index, entry, outcome::NotPrinted, notSent));
        }
        const QString why = (journalFailed ? u"printing was stopped (" : u"the printer stopped taking jobs (")
            + report.printerReason + u')';
        say(u"tavimark: " + why + u"; " + QString::number(report.sent.size()) + u" of " + entryCount(m_entries.size())
            + u' ' + sentWord() + summaryLine(report));
        return NothingDone;
    }
    case RunReport::Ending::EngineFailed:
    case RunReport::Ending::Stopped:
        // Every entry it did not get to has had its line already. Only the
        // window stops a run by hand; should the command line ever, it says so.
        say(u"tavimark: "
            + (report.ending == RunReport::Ending::Stopped ? printing::stoppedReason() : core::engineFailed())
            + u"; " + QString::number(report.sent.size()) + u" of "
            + entryCount(m_entries.size()) + u" sent" + counted(int(report.notPrinted.size()), QStringLiteral("not printed"))
            + summaryLine(report));
        return NothingDone;
    case RunReport::Ending::Finished:
        break;
    }
    QString summary = u"tavimark: " + QString::number(report.sent.size()) + u" of " + entryCount(m_entries.size()) + u' '
        + sentWord();
    summary += counted(int(report.notPrinted.size()), QStringLiteral("not printed"));
    summary += summaryLine(report);
    if (!report.incomplete.isEmpty())
        summary += u", " + QString::number(report.incomplete.size()) + u' '
            + (m_settings.writesFiles ? u"written" : u"printed") + u" before they finished loading";
    say(summary);
    if (m_settings.journal && m_settings.journal->failure()) {
        say(u"tavimark: " + *m_settings.journal->failure());
        return NothingDone;
    }
    const bool allWell = report.notPrinted.isEmpty() && report.mayHavePrinted.isEmpty() && !problems && m_journalUncertain == 0;
    return statusAfterWait(allWell ? AllPrinted : SomeNotPrinted);
}

void BatchReport::finalObject(int status)
{
    if (!m_settings.json)
        return;
    JsonLine counts;
    counts.add(QStringLiteral("entries"), int(m_entries.size()));
    for (const QString &word : {outcome::Sent, outcome::Written, outcome::NotPrinted, outcome::MayHavePrinted,
                                outcome::AlreadySent, outcome::Printed, outcome::Held, outcome::Aborted, outcome::Canceled,
                                outcome::Unknown})
        counts.add(word, m_tally.value(word));
    const QByteArray line = JsonLine().addEncoded(QStringLiteral("summary"), counts.object()).add(QStringLiteral("exit"), status).line();
    std::fputs(line.constData(), m_settings.json);
    std::fflush(m_settings.json);
}

} // namespace app
