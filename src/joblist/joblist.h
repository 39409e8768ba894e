#pragma once

#include "entrystore.h"

#include <QAbstractListModel>
#include <QStringList>

namespace joblist {

// The documents the next print run prints, in print order. This model is the
// only store of the jobs: sources append to it, the user removes and reorders
// entries in it, and the print run reads it by position.
//
// Positions are counted from 1 at the top, as the user sees them; Qt rows
// (0-based) appear only in the model interface.
class JobList : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // The add operation: appends one entry at the bottom and checks nothing:
    // empty texts, duplicates and texts that name no file all become entries.
    void add(const QString &text);

    int count() const { return m_entries.size(); }
    // The text at `position` (1..count).
    const QString &text(int position) const { return m_entries.at(position - 1); }
    void setText(int position, const QString &text);
    // Removes the entry at `position`; those below move up by one.
    void remove(int position);

    // The list shows one column per header added; the window adds exactly one.
    void addColumnHeader(const QString &title);
    QString columnHeader(int column) const { return m_headers.value(column); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    EntryStore m_entries;
    QStringList m_headers;
};

} // namespace joblist
