// SPDX-License-Identifier: GPL-3.0-or-later
#include "batchreport.h"
#include "core/reasontext.h"
#include "commandline.h"
#include "jsonline.h"

#include "core/loadfailure.h"
#include "core/messagetext.h"

#include <QCoreApplication>
#include <cmath>

namespace app {

namespace {

using core::oneLine;
using printing::EntryOutcome;
using printing::JobAnswer;
using printing::RunReport;
using Result = EntryOutcome::Result;

// The lines on standard error are for a person, in the user's language; the
// outcomes and reasons --json and the journal record stay in English.
const QString NoAnswerInTime
    = core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer's answer did not come in time"));

// What became of a document the run wrote to a file, named by that file.
QString writtenWords(const EntryOutcome &outcome)
{
    const QString written = BatchReport::tr("written to %1").arg(oneLine(outcome.file));
    if (outcome.result == Result::SentIncomplete)
        return written + u' '
            + BatchReport::tr("(written before it finished loading: %1)").arg(core::shownReason(outcome.reason));
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
        return withReason(BatchReport::tr("sent"), outcome.reason);
    case Result::SentIncomplete:
        return BatchReport::tr("sent (printed before it finished loading: %1)").arg(core::shownReason(outcome.reason));
    case Result::MayHavePrinted:
        return BatchReport::tr("may have printed (%1)").arg(core::shownReason(outcome.reason));
    case Result::NotPrinted:
        break;
    }
    return BatchReport::tr("not printed (%1)").arg(core::shownReason(outcome.reason));
}

QString withReason(const QString &outcome, const QString &reason)
{
    return reason.isEmpty() ? outcome : outcome + u" (" + core::shownReason(reason) + u')';
}

QString answerWords(const JobAnswer &answer)
{
    switch (answer.state) {
    case JobAnswer::State::Printed:
        return BatchReport::tr("printed");
    case JobAnswer::State::Aborted:
        return withReason(BatchReport::tr("aborted by the printer"), answer.reason);
    case JobAnswer::State::Canceled:
        return withReason(BatchReport::tr("canceled"), answer.reason);
    case JobAnswer::State::Held:
        return withReason(BatchReport::tr("still held"), answer.reason);
    case JobAnswer::State::Working:
        return withReason(BatchReport::tr("sent"), NoAnswerInTime);
    case JobAnswer::State::Unknown:
        break;
    }
    return withReason(BatchReport::tr("sent; the printer's answer is unknown"), answer.reason);
}

// "3 of 20 entries %1", counted in the words the language counts with; one
// entry has its own text, so that English holds with no translation loaded.
QString ofEntries(int done, int entries)
{
    const QString text
        = entries == 1 ? BatchReport::tr("%1 of 1 entry %2") : BatchReport::tr("%1 of %n entries %2", nullptr, entries);
    return text.arg(done);
}

// An entry a journal shows as done: where it went when that was another
// queue, and how the run knows.
QString alreadySentWords(const JournalVerdict &verdict, bool elsewhere)
{
    if (verdict.foundInQueue) {
        // The journal was in doubt; the queue showed the job.
        return elsewhere
            ? BatchReport::tr("already sent to %1 as job %2 (found in the queue)").arg(verdict.printer).arg(verdict.job)
            : BatchReport::tr("already sent as job %1 (found in the queue)").arg(verdict.job);
    }
    return elsewhere ? BatchReport::tr("already sent to %1 (journal)").arg(verdict.printer)
                     : BatchReport::tr("already sent (journal)");
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
            say(step(index) + alreadySentWords(verdict, elsewhere) + u": " + oneLine(entry));
            QString reason = elsewhere ? u"sent" + where : QString();
            if (verdict.foundInQueue)
                reason = QStringLiteral("found in the queue");
            SettledEntry settled = SettledEntry::without(index, entry, outcome::AlreadySent, reason);
            settled.job = verdict.job;
            settle(settled);
        } else {
            say(step(index) + BatchReport::tr("may have printed (journal)") + u": " + oneLine(entry));
            ++m_journalUncertain;
            settle(SettledEntry::without(index, entry, outcome::MayHavePrinted, verdict.reason));
        }
    }
}

SettledEntry BatchReport::settledFrom(int index, const EntryOutcome &outcome) const
{
    SettledEntry settled{index, m_entries.value(index - 1), {}, outcome.reason, outcome.jobId, outcome.bytes, outcome.pages,
                         outcome.seconds, outcome.ready, outcome.finalAddress};
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
            answered.ready = awaited->settled.ready;
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
            say(step(awaited.settled.index) + BatchReport::tr("sent; %1").arg(core::shownReason(NoAnswerInTime)) + u": "
                + oneLine(awaited.settled.entry));
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
                                .add(QStringLiteral("ready"), entry.ready)
                                .add(QStringLiteral("final_url"), entry.finalAddress.isEmpty() ? QJsonValue()
                                                                                                : QJsonValue(entry.finalAddress))
                                .line();
    std::fputs(line.constData(), m_settings.json);
    std::fflush(m_settings.json);
}

// What the journal and the printer's answers add to the summary.
QString BatchReport::summaryLine(const RunReport &report) const
{
    QString line = counted(int(report.mayHavePrinted.size()), BatchReport::tr("may have printed"));
    line += counted(m_tally.value(outcome::AlreadySent), BatchReport::tr("already sent (journal)"));
    line += counted(m_journalUncertain, BatchReport::tr("may have printed (journal)"));
    if (m_settings.waits) {
        line += counted(m_tally.value(outcome::Printed), BatchReport::tr("printed"));
        line += counted(m_tally.value(outcome::Aborted), BatchReport::tr("aborted by the printer"));
        line += counted(m_tally.value(outcome::Canceled), BatchReport::tr("canceled"));
        line += counted(m_tally.value(outcome::Unknown), BatchReport::tr("with the printer's answer unknown"));
        line += counted(m_tally.value(outcome::Held), BatchReport::tr("still held"));
        line += counted(m_unanswered, BatchReport::tr("with no answer in time"));
    }
    return line;
}

// "3 of 20 entries sent", the counts in the sentence the language needs.
QString BatchReport::sentCount(const RunReport &report) const
{
    return ofEntries(int(report.sent.size()), int(m_entries.size())).arg(sentWord());
}

QString BatchReport::sentWord() const
{
    return m_settings.writesFiles ? BatchReport::tr("written") : BatchReport::tr("sent");
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
        say(BatchReport::tr("tavimark: nothing to print"));
        return NothingDone;
    case RunReport::Ending::PrinterUnusable:
        say(u"tavimark: " + oneLine(report.printerReason));
        return NothingDone;
    case RunReport::Ending::SettingRefused:
        say(u"tavimark: " + oneLine(report.printerReason));
        return UsageError;
    case RunReport::Ending::PrinterFailed: {
        const bool journalFailed = m_settings.journal && m_settings.journal->failure() == report.printerReason;
        const QString notSent = journalFailed
            ? core::reasonText(QT_TRANSLATE_NOOP("Reason", "not sent: the journal could not be written"))
            : core::reasonText(QT_TRANSLATE_NOOP("Reason", "not sent: the printer stopped taking jobs"));
        // The first entry not sent has had its line already.
        int runStep = int(m_printed.size() - report.notSent.size()) + 1;
        for (const QString &entry : report.notSent.mid(1)) {
            const int index = indexOf(++runStep);
            reportSkipped(index);
            say(step(index) + BatchReport::tr("not printed (%1)").arg(core::shownReason(notSent)) + u": "
                + oneLine(entry));
            settle(SettledEntry::without(index, entry, outcome::NotPrinted, notSent));
        }
        const QString why = (journalFailed ? BatchReport::tr("printing was stopped (%1)")
                                           : BatchReport::tr("the printer stopped taking jobs (%1)"))
                                .arg(core::shownReason(report.printerReason));
        say(u"tavimark: " + why + u"; " + sentCount(report) + summaryLine(report));
        return NothingDone;
    }
    case RunReport::Ending::EngineFailed:
    case RunReport::Ending::Stopped:
        // Every entry it did not get to has had its line already. Only the
        // window stops a run by hand; should the command line ever, it says so.
        say(u"tavimark: "
            + core::shownReason(report.ending == RunReport::Ending::Stopped ? printing::stoppedReason()
                                                                            : core::engineFailed())
            + u"; " + ofEntries(int(report.sent.size()), int(m_entries.size())).arg(BatchReport::tr("sent"))
            + counted(int(report.notPrinted.size()), BatchReport::tr("not printed")) + summaryLine(report));
        return NothingDone;
    case RunReport::Ending::Finished:
        break;
    }
    QString summary = u"tavimark: " + sentCount(report);
    summary += counted(int(report.notPrinted.size()), BatchReport::tr("not printed"));
    summary += summaryLine(report);
    if (!report.incomplete.isEmpty())
        summary += u", "
            + (m_settings.writesFiles ? BatchReport::tr("%1 written before they finished loading")
                                      : BatchReport::tr("%1 printed before they finished loading"))
                  .arg(report.incomplete.size());
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
