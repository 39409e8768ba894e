// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractItemView>

class QHeaderView;

namespace joblist {

class JobList;

// The job list on screen: a report view with one column under a header.
//
// Every row has the same height, so the view finds rows by arithmetic: a hit
// test, a scroll, an append or a removal costs the same with a million
// entries as with ten. (A general tree or table view keeps per-row layout
// records and rebuilds them after every removal.)
//
// Why it is hand-written (bench/joblist, a million entries): removing one
// from the middle and repainting takes 0.7 ms here (median), against 45 to
// 65 ms in a QListView with uniform item sizes under a QHeaderView, which
// lays out every row again after each removal; the goal is under 1 ms.
// Appends meet their goal either way (0.25 s here, 0.3 to 0.4 s there).
//
// The view only translates input into notifications; what they do is
// decided by the gesture handlers and the main window.
class JobListView : public QAbstractItemView {
    Q_OBJECT

public:
    explicit JobListView(QWidget *parent = nullptr);

    void setJobList(JobList *list);
    JobList *jobList() const { return m_list; }
    QHeaderView *header() const { return m_header; }
    int rowHeight() const { return m_rowHeight; }

    // Position (1-based) of the selected entry, or 0 when none is selected.
    int selectedPosition() const;
    void selectPosition(int position);
    // The entry at a point of the viewport, or 0 when there is none.
    int positionAt(const QPoint &point) const;
    void ensurePositionVisible(int position);

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;
    void doItemsLayout() override;

Q_SIGNALS:
    void entryClicked();               // a click that landed on an entry
    void buttonPressed();              // any mouse button went down over the list
    void pointerMoved(const QPoint &point);  // every move, button held or not
    void buttonReleased();             // any mouse button came up over the list
    void listDoubleClicked();
    void deletePressed();              // Delete, the keyboard's way to remove
    void moveKeyPressed(int delta);    // Ctrl+Up (-1) or Ctrl+Down (+1)
    // The entries now stand at other rows than before (some were removed,
    // or the view shows another list); appends renumber nothing.
    void entriesRenumbered();

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void openContextMenuFromKeyboard();
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    int rowCount() const;
    int columnWidth() const;
    int rowAtY(int viewportY) const;
    void updateRowHeight();
    void contentsChanged();
    void rowsArrived(const QModelIndex &parent, int first, int last);
    bool selectCurrentIfNoneSelected(const QKeyEvent *event);

    JobList *m_list = nullptr;
    QHeaderView *m_header = nullptr;
    int m_rowHeight = 18;
};

// Removes the entry that is selected when the list is double-clicked; with no
// entry selected nothing happens.
void removeSelectedEntry(JobList &list, const JobListView &view);

} // namespace joblist
