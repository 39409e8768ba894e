#include "joblistview.h"
#include "joblist.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace joblist {

JobListView::JobListView(QWidget *parent)
    : QTreeView(parent)
{
    // A flat list: every row the same height lets the view lay out and
    // scroll a million entries without measuring each one.
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAllColumnsShowFocus(true);
    setTextElideMode(Qt::ElideNone);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    // Moves without a button held matter too: they reset the window pointer.
    viewport()->setMouseTracking(true);
}

void JobListView::setJobList(JobList *list)
{
    m_list = list;
    setModel(list);
}

int JobListView::selectedPosition() const
{
    if (!selectionModel())
        return 0;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void JobListView::selectPosition(int position)
{
    const QModelIndex index = model()->index(position - 1, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int JobListView::positionAt(const QPoint &point) const
{
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() + 1 : 0;
}

void JobListView::ensurePositionVisible(int position)
{
    scrollTo(model()->index(position - 1, 0));
}

void JobListView::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT buttonPressed();
    QTreeView::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        Q_EMIT entryClicked();
}

void JobListView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointerMoved(event->position().toPoint());
    // The view's own drag selection would fight the reorder gesture.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
}

void JobListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeView::mouseReleaseEvent(event);
    Q_EMIT buttonReleased();
}

void JobListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTreeView::mouseDoubleClickEvent(event);
    Q_EMIT listDoubleClicked();
}

void removeSelectedEntry(JobList &list, const JobListView &view)
{
    const int position = view.selectedPosition();
    if (position >= 1 && position <= list.count())
        list.remove(position);
}

} // namespace joblist
