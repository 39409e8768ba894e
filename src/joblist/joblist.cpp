#include "joblist.h"

namespace joblist {

void JobList::add(const QString &text)
{
    const int row = count();
    beginInsertRows({}, row, row);
    m_entries.append(text);
    endInsertRows();
}

void JobList::setText(int position, const QString &text)
{
    m_entries[position - 1] = text;
    const QModelIndex changed = index(position - 1, 0);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void JobList::remove(int position)
{
    const int row = position - 1;
    beginRemoveRows({}, row, row);
    m_entries.removeAt(row);
    endRemoveRows();
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
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return m_entries.at(index.row());
    return {};
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_headers.value(section);
    return {};
}

} // namespace joblist
