// SPDX-License-Identifier: GPL-3.0-or-later
#include "joblist.h"
#include "marks.h"

#include <algorithm>

namespace joblist {

void JobList::add(const QString &text)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_entries.append({text, m_nextId++, Mark::None});
    endInsertRows();
}

void JobList::changed(int position)
{
    const QModelIndex index = this->index(position - 1, 0);
    Q_EMIT dataChanged(index, index);
}

void JobList::exchange(int first, int second)
{
    if (first == second)
        return;
    m_entries.swap(first - 1, second - 1);
    // A pending entry that lands above the first pending one is next.
    const int upper = std::min(first, second) - 1;
    if (m_entries.at(upper).mark == Mark::Pending)
        m_pendingFrom = std::min(m_pendingFrom, upper);
    changed(first);
    changed(second);
    Q_EMIT entriesExchanged(first, second);
}

void JobList::remove(int position)
{
    const int row = position - 1;
    beginRemoveRows({}, row, row);
    m_reasons.remove(m_entries.at(row).id);
    m_entries.removeAt(row);
    if (row < m_pendingFrom)
        --m_pendingFrom;
    endRemoveRows();
}

int JobList::removeIf(const std::function<bool(const Entry &)> &matches)
{
    // Runs of matching rows, top first, as [first, last] pairs.
    QList<std::pair<int, int>> runs;
    for (int row = 0; row < count(); ++row) {
        if (!matches(m_entries.at(row)))
            continue;
        if (!runs.isEmpty() && runs.last().second == row - 1)
            runs.last().second = row;
        else
            runs.append({row, row});
    }
    int removed = 0;
    for (auto run = runs.crbegin(); run != runs.crend(); ++run) {
        removeRows(run->first, run->second);
        removed += run->second - run->first + 1;
    }
    return removed;
}

void JobList::removeRows(int first, int last)
{
    beginRemoveRows({}, first, last);
    for (int row = first; row <= last; ++row)
        m_reasons.remove(m_entries.at(row).id);
    m_entries.removeRange(first, last - first + 1);
    // The first pending entry keeps its place among those that stay.
    if (last < m_pendingFrom)
        m_pendingFrom -= last - first + 1;
    else if (first < m_pendingFrom)
        m_pendingFrom = first;
    endRemoveRows();
}

int JobList::beginRun()
{
    m_reasons.clear();
    m_entries.markAll(Mark::Pending);
    m_pendingFrom = 0;
    if (count() > 0)
        Q_EMIT dataChanged(index(0, 0), index(count() - 1, 0));
    return count();
}

int JobList::firstPending()
{
    m_pendingFrom = m_entries.nextPending(m_pendingFrom);
    return m_pendingFrom < count() ? m_pendingFrom + 1 : 0;
}

QList<int> JobList::pendingPositions(int limit)
{
    QList<int> positions;
    int position = firstPending();
    while (position > 0 && positions.size() < limit) {
        positions << position;
        const int next = m_entries.nextPending(position);
        position = next < count() ? next + 1 : 0;
    }
    return positions;
}

void JobList::setMark(int position, Mark mark, const QString &reason)
{
    const int row = position - 1;
    m_entries.setMark(row, mark);
    if (mark == Mark::Pending)
        m_pendingFrom = std::min(m_pendingFrom, row);
    const std::uint32_t id = m_entries.at(row).id;
    if (reason.isEmpty())
        m_reasons.remove(id);
    else
        m_reasons.insert(id, reason);
    changed(position);
}

QStringList JobList::settlePending(Mark mark, const QString &reason)
{
    QStringList texts;
    if (m_entries.pendingCount() == 0)
        return texts;
    const int first = m_entries.nextPending(m_pendingFrom);
    int last = first;
    for (int row = first; row < count(); row = m_entries.nextPending(row + 1)) {
        const Entry &entry = m_entries.at(row);
        texts << entry.text;
        if (!reason.isEmpty())
            m_reasons.insert(entry.id, reason);
        m_entries.setMark(row, mark);
        last = row;
    }
    m_pendingFrom = count();
    Q_EMIT dataChanged(index(first, 0), index(last, 0));
    return texts;
}

void JobList::addColumnHeader(const QString &title)
{
    const int column = int(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers.append(title);
    endInsertColumns();
}

int JobList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

int JobList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant JobList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || index.row() >= count())
        return {};
    const Entry &entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.text;
    case MarkRole:
        return int(entry.mark);
    case Qt::ToolTipRole:
        if (const QString tip = markToolTip(entry.mark, m_reasons.value(entry.id)); !tip.isEmpty())
            return tip;
        return {};
    default:
        return {};
    }
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return {};
}

} // namespace joblist
