#include "journal.h"
#include "jsonline.h"

#include "platform/files/filesync.h"

#include <QCryptographicHash>
#include <QFileInfo>
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

std::optional<JournalVerdict> verdictOf(const QJsonObject &record)
{
    if (record.value(u"event").toString() == u"submitting")
        return JournalVerdict{State::Uncertain, QStringLiteral("its job was going out when the run stopped")};
    const QString said = record.value(u"outcome").toString();
    if (said == outcome::Sent || said == outcome::Written || said == outcome::Printed)
        return JournalVerdict{State::Done, {}};
    // The printer gave these up: printing them again is what the run is for.
    if (said == outcome::NotPrinted || said == outcome::Aborted || said == outcome::Canceled)
        return JournalVerdict{State::ToPrint, {}};
    if (said == outcome::MayHavePrinted || said == outcome::Unknown)
        return JournalVerdict{State::Uncertain, record.value(u"reason").toString()};
    return std::nullopt;
}

} // namespace

std::optional<QString> Journal::open(const QString &path, const QStringList &entries)
{
    m_path = path;
    m_entries = entries;
    m_verdicts = QList<JournalVerdict>(entries.size());
    if (std::optional<QString> problem = read())
        return problem;
    m_file.setFileName(path);
    // Records go to the system in one write each, past Qt's buffer, so a
    // run killed between two leaves no record half written.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return u"the journal " + path + u" cannot be opened: " + m_file.errorString();
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
    const QFileInfo info(m_path);
    // Only a file holds records; a device such as /dev/null is only written.
    if (!info.exists() || !info.isFile() || info.size() == 0)
        return std::nullopt;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return u"the journal " + m_path + u" cannot be opened: " + file.errorString();
    QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.constLast().isEmpty())
        lines.removeLast();
    else
        m_owesLineEnd = true;
    const auto damaged = [this](qsizetype line) -> QString {
        return u"line " + QString::number(line + 1) + u" of the journal " + m_path + u" is damaged";
    };
    const std::optional<QJsonObject> header = objectOn(lines.value(0));
    if (!header || !header->value(HeaderName).isDouble() || header->value(HeaderName).toInt() < 1)
        return damaged(0);
    if (header->value(HeaderName).toInt() > Version)
        return u"the journal " + m_path + u" was written by a newer Tavimark";
    if (header->value(u"list").toString() != listHash(m_entries) || header->value(u"entries").toInt() != m_entries.size())
        return u"the journal " + m_path + u" was written for another list";
    for (qsizetype line = 1; line < lines.size(); ++line) {
        const std::optional<QJsonObject> record = objectOn(lines.at(line));
        const int index = record ? record->value(u"step").toInt() : 0;
        if (index < 1 || index > m_entries.size() || record->value(u"entry").toString() != m_entries.at(index - 1))
            return damaged(line);
        const std::optional<JournalVerdict> verdict = verdictOf(*record);
        if (!verdict)
            return damaged(line);
        m_verdicts[index - 1] = *verdict;
    }
    return std::nullopt;
}

std::optional<QString> Journal::submitting(int index)
{
    return append(JsonLine()
                      .add(QStringLiteral("step"), index)
                      .add(QStringLiteral("entry"), m_entries.value(index - 1))
                      .add(QStringLiteral("event"), QStringLiteral("submitting"))
                      .object(),
                  platform::Sync::Now);
}

std::optional<QString> Journal::settled(const SettledEntry &entry)
{
    return append(JsonLine()
                      .add(QStringLiteral("step"), entry.index)
                      .add(QStringLiteral("entry"), entry.entry)
                      .add(QStringLiteral("outcome"), entry.outcome)
                      .add(QStringLiteral("reason"), entry.reason)
                      .add(QStringLiteral("job"), entry.job != 0 ? QJsonValue(entry.job) : QJsonValue())
                      .object(),
                  platform::Sync::Later);
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
