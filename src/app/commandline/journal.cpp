// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal.h"
#include "core/reasontext.h"

#include "core/jobtitle.h"
#include "core/signin.h"
#include "platform/files/filesync.h"
#include "platform/files/lockedfile.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

namespace app {

namespace {

using State = JournalVerdict::State;

const QString HeaderName = QStringLiteral("tavimark-journal");

// Names the list by its entries, in order: a journal of any other list
// would skip entries it never printed.
QString listHash(const QStringList &entries)
{
    return QString::fromLatin1(QCryptographicHash::hash(entries.join(u'\n').toUtf8(), QCryptographicHash::Sha256).toHex());
}

std::optional<QJsonObject> objectOn(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

// The most bytes a record of this list can take: its entry written out in
// JSON (each UTF-16 unit at most six bytes, as an escape), twice over for a
// reason that names it, and room to spare for the other fields. A line
// longer than that is no record, and is not read whole.
qint64 longestRecord(const QStringList &entries)
{
    qsizetype longest = 0;
    for (const QString &entry : entries)
        longest = std::max(longest, entry.size());
    return 1024 * 1024 + 12 * qint64(longest);
}

Submission submissionOf(const QJsonObject &record)
{
    return {record.value(u"printer").toString(), record.value(u"title").toString().toUtf8(),
            record.value(u"bytes").toInteger(), record.value(u"time").toInteger(), record.value(u"user").toString()};
}

JournalVerdict makeVerdict(State state, const QString &reason = {})
{
    JournalVerdict verdict;
    verdict.state = state;
    verdict.reason = reason;
    return verdict;
}

std::optional<JournalVerdict> verdictOf(const QJsonObject &record)
{
    if (record.value(u"event").toString() == u"submitting")
        return makeVerdict(State::Uncertain,
                           core::reasonText(QT_TRANSLATE_NOOP("Reason", "its job was going out when the run stopped")));
    const QString said = record.value(u"outcome").toString();
    if (said == outcome::Sent || said == outcome::Written || said == outcome::Printed) {
        // Journals written before the printer was recorded name none.
        JournalVerdict done = makeVerdict(State::Done);
        done.printer = record.value(u"printer").toString();
        done.job = record.value(u"job").toInt();
        return done;
    }
    // The printer gave these up: printing them again is what the run is for.
    if (said == outcome::NotPrinted || said == outcome::Aborted || said == outcome::Canceled)
        return makeVerdict(State::ToPrint);
    if (said == outcome::MayHavePrinted || said == outcome::Unknown)
        return makeVerdict(State::Uncertain, record.value(u"reason").toString());
    return std::nullopt;
}

} // namespace

std::optional<JournalProblem> Journal::open(const QString &path, const QStringList &entries)
{
    m_path = path;
    m_entries = entries;
    m_verdicts = QList<JournalVerdict>(entries.size());
    m_submissions = QList<Submission>(entries.size());
    using Refusal = platform::LockRefusal::Kind;
    if (const std::optional<platform::LockRefusal> refused = platform::openLocked(path, m_file)) {
        switch (refused->kind) {
        case Refusal::InUse:
            return JournalProblem{
                QCoreApplication::translate("app::Journal", "the journal %1 is in use by another run").arg(path), true};
        case Refusal::NotAFile:
            return JournalProblem{
                QCoreApplication::translate("app::Journal", "the journal %1 is not a regular file").arg(path)};
        case Refusal::CannotOpen:
            break;
        }
        return JournalProblem{QCoreApplication::translate("app::Journal", "the journal %1 cannot be opened: %2")
                                  .arg(path, refused->words)};
    }
    if (std::optional<QString> problem = read())
        return JournalProblem{*problem};
    if (m_file.size() == 0) {
        append(JsonLine()
                   .add(HeaderName, Version)
                   .add(QStringLiteral("list"), listHash(entries))
                   .add(QStringLiteral("entries"), int(entries.size()))
                   .object(),
               platform::Sync::Now);
    }
    return std::nullopt;
}

std::optional<QString> Journal::read()
{
    if (m_file.size() == 0)
        return std::nullopt;
    // A reader of its own on the journal's descriptor, buffered where the
    // writes are not; the writes add at the end whatever it has read.
    QFile reader;
    if (!reader.open(m_file.handle(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) || !reader.seek(0))
        return QCoreApplication::translate("app::Journal", "the journal %1 cannot be opened: %2")
            .arg(m_path, reader.errorString());
    const qint64 longest = longestRecord(m_entries);
    qsizetype number = 0;
    for (QByteArray line = reader.readLine(longest + 1); !line.isEmpty(); line = reader.readLine(longest + 1)) {
        if (line.endsWith('\n'))
            line.chop(1);
        else if (!reader.atEnd())
            return damaged(number);
        else
            m_owesLineEnd = true;
        if (std::optional<QString> problem = readLine(number++, line))
            return problem;
    }
    if (reader.error() != QFileDevice::NoError)
        return QCoreApplication::translate("app::Journal", "the journal %1 cannot be read: %2")
            .arg(m_path, reader.errorString());
    if (number == 0)
        return damaged(0);
    return std::nullopt;
}

QString Journal::damaged(qsizetype line) const
{
    return QCoreApplication::translate("app::Journal", "line %1 of the journal %2 is damaged")
        .arg(line + 1)
        .arg(m_path);
}

// The line `number` (from 0, the header) of the journal, without its end.
std::optional<QString> Journal::readLine(qsizetype number, const QByteArray &line)
{
    if (number == 0) {
        const std::optional<QJsonObject> header = objectOn(line);
        if (!header || !header->value(HeaderName).isDouble() || header->value(HeaderName).toInt() < 1)
            return damaged(0);
        if (header->value(HeaderName).toInt() > Version)
            return QCoreApplication::translate("app::Journal", "the journal %1 was written by a newer Tavimark")
                .arg(m_path);
        if (header->value(u"list").toString() != listHash(m_entries) || header->value(u"entries").toInt() != m_entries.size())
            return QCoreApplication::translate("app::Journal", "the journal %1 was written for another list")
                .arg(m_path);
        return std::nullopt;
    }
    const std::optional<QJsonObject> record = objectOn(line);
    const int index = record ? record->value(u"step").toInt() : 0;
    if (index < 1 || index > m_entries.size() || record->value(u"entry").toString() != core::withoutUserInfo(m_entries.at(index - 1)))
        return damaged(number);
    const std::optional<JournalVerdict> verdict = verdictOf(*record);
    if (!verdict)
        return damaged(number);
    m_verdicts[index - 1] = *verdict;
    if (record->value(u"event").toString() == u"submitting") {
        m_submissions[index - 1] = submissionOf(*record);
        m_submissions[index - 1].line = number;
    }
    if (const int job = record->value(u"job").toInt(); job > 0) {
        m_jobEntries.insert(job, index);
        if (!m_jobLines.contains(job))
            m_jobLines.insert(job, number);
    }
    return std::nullopt;
}

// With the job's queue, name, size, owner and time, a run resumed after this
// one stopped can look for the job among the queue's jobs.
std::optional<QString> Journal::submitting(int index, qint64 bytes)
{
    return submitting(index, bytes, m_entries.value(index - 1));
}

std::optional<QString> Journal::submitting(int index, qint64 bytes, const QString &jobEntry)
{
    const QString &entry = m_entries.value(index - 1);
    JsonLine record;
    record.add(QStringLiteral("step"), index).add(QStringLiteral("entry"), core::withoutUserInfo(entry)).add(QStringLiteral("event"), QStringLiteral("submitting"));
    if (!m_printer.isEmpty()) {
        addPrinter(record);
        record.add(QStringLiteral("title"), QString::fromUtf8(core::jobTitle(jobEntry)))
            .add(QStringLiteral("bytes"), bytes)
            .add(QStringLiteral("time"), QDateTime::currentSecsSinceEpoch())
            .add(QStringLiteral("user"), m_user);
    }
    return append(record.object(), platform::Sync::Now);
}

QSet<int> Journal::jobsOfOthers(int index) const
{
    QSet<int> jobs;
    for (auto job = m_jobEntries.cbegin(); job != m_jobEntries.cend(); ++job) {
        if (job.value() != index)
            jobs.insert(job.key());
    }
    return jobs;
}

QSet<int> Journal::jobsBefore(qsizetype line) const
{
    QSet<int> jobs;
    for (auto job = m_jobLines.cbegin(); job != m_jobLines.cend(); ++job) {
        if (job.value() < line)
            jobs.insert(job.key());
    }
    return jobs;
}

std::optional<QString> Journal::foundInQueue(int index, const Submission &submission, int job)
{
    JournalVerdict &found = m_verdicts[index - 1];
    found = makeVerdict(State::Done);
    found.printer = submission.printer;
    found.job = job;
    found.foundInQueue = true;
    m_jobEntries.insert(job, index);
    return append(JsonLine()
                      .add(QStringLiteral("step"), index)
                      .add(QStringLiteral("entry"), core::withoutUserInfo(m_entries.value(index - 1)))
                      .add(QStringLiteral("outcome"), outcome::Sent)
                      .add(QStringLiteral("reason"), QStringLiteral("found in the queue"))
                      .add(QStringLiteral("job"), job)
                      .add(QStringLiteral("printer"), submission.printer)
                      .object(),
                  platform::Sync::Now);
}

std::optional<QString> Journal::settled(const SettledEntry &entry)
{
    JsonLine record;
    record.add(QStringLiteral("step"), entry.index)
        .add(QStringLiteral("entry"), entry.entry)
        .add(QStringLiteral("outcome"), entry.outcome)
        .add(QStringLiteral("reason"), entry.reason)
        .add(QStringLiteral("job"), entry.job != 0 ? QJsonValue(entry.job) : QJsonValue());
    addPrinter(record);
    return append(record.object(), platform::Sync::Later);
}

// A run resumed on another queue says where the entries it leaves out went.
void Journal::addPrinter(JsonLine &record) const
{
    if (!m_printer.isEmpty())
        record.add(QStringLiteral("printer"), m_printer);
}

std::optional<QString> Journal::sync()
{
    return append({}, platform::Sync::Now);
}

std::optional<QString> Journal::failure() const
{
    const std::lock_guard lock(m_writing);
    return m_failure;
}

// An empty line writes nothing, and only syncs.
std::optional<QString> Journal::append(const QByteArray &line, platform::Sync sync)
{
    const std::lock_guard lock(m_writing);
    if (m_failure)
        return m_failure;
    const QByteArray bytes = line.isEmpty() ? QByteArray()
                                            : (m_owesLineEnd ? QByteArray("\n") : QByteArray()) + line + '\n';
    if (const std::optional<QString> problem = platform::appendToDisk(m_file, bytes, sync)) {
        m_failure = u"the journal " + m_path + u" cannot be written: " + *problem;
        return m_failure;
    }
    if (!line.isEmpty())
        m_owesLineEnd = false;
    return std::nullopt;
}

} // namespace app
