// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "entrystore.h"

#include <QAbstractListModel>
#include <QHash>
#include <QStringList>

#include <functional>

namespace joblist {

// The documents the next print run prints, in print order. This model is the
// only store of the jobs: sources append to it, the user removes and reorders
// entries in it, and the print run reads it as it goes.
//
// Positions are counted from 1 at the top, as the user sees them; Qt rows
// (0-based) appear only in the model interface.
//
// A print run leaves a mark on each entry it covers (see Mark). While a run
// goes on, its entries are "pending" until printed, and the list keeps
// track of where the first pending entry stands however the user edits the
// list meanwhile: each step of the run takes the first pending entry, so an
// entry moved or removed during the run is printed at its new place, or not
// at all, and never twice.
class JobList : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    // The entry's Mark, as an int, for the view's picture of it: the model
    // itself draws nothing.
    static constexpr int MarkRole = Qt::UserRole + 1;

    // The add operation: appends one entry at the bottom and checks nothing:
    // empty texts, duplicates and texts that name no file all become entries.
    void add(const QString &text);

    int count() const { return m_entries.size(); }
    // The entry at `position` (1..count).
    const QString &text(int position) const { return m_entries.at(position - 1).text; }
    std::uint32_t entryId(int position) const { return m_entries.at(position - 1).id; }
    Mark mark(int position) const { return m_entries.at(position - 1).mark; }
    // Why the last run did not print the entry, or printed it incomplete.
    QString reason(int position) const { return m_reasons.value(entryId(position)); }

    // The two entries trade places, each keeping its text, identity and mark.
    void exchange(int first, int second);
    // Removes the entry at `position`; those below move up by one.
    void remove(int position);
    // Removes every entry `matches` picks and returns how many went. Each
    // run of neighbouring entries goes in one removal, bottom run first, so
    // whoever follows positions (a view, a print run) hears of a list that
    // is whole at every step, and thousands of scattered entries cost no
    // more than a pass over the list and one notice per run.
    int removeIf(const std::function<bool(const Entry &)> &matches);

    // ---- print runs --------------------------------------------------------
    // Marks every entry pending and forgets the last run's marks; returns
    // the number of entries the run covers.
    int beginRun();
    // The first pending entry's position, or 0 when none is left.
    int firstPending();
    // The positions of the first `limit` pending entries, top first.
    QList<int> pendingPositions(int limit);
    int pendingCount() const { return m_entries.pendingCount(); }
    void setMark(int position, Mark mark, const QString &reason = {});
    // Gives every entry still pending `mark` (with `reason`) in one sweep, and
    // returns their texts, top first: a run that stops early settles the
    // rest of its entries this way.
    QStringList settlePending(Mark mark, const QString &reason = {});

    // The list shows one column per header added; the window adds exactly one.
    void addColumnHeader(const QString &title);
    QString columnHeader(int column) const { return m_headers.value(column); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // Emitted after two entries traded places (besides dataChanged), so that
    // whoever follows an entry by its position can follow it.
    void entriesExchanged(int first, int second);

private:
    void changed(int position);
    void removeRows(int first, int last);

    EntryStore m_entries;
    QHash<std::uint32_t, QString> m_reasons;
    std::uint32_t m_nextId = 1;
    // Every entry above this row is not pending: the scan for the next
    // pending entry starts here, which keeps a run's steps cheap.
    int m_pendingFrom = 0;
    QStringList m_headers;
};

} // namespace joblist
