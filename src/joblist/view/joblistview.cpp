// SPDX-License-Identifier: GPL-3.0-or-later
#include "joblistview.h"
#include "joblist/joblist.h"
#include "joblistaccessible.h"
#include "markicons.h"

#include <QAccessible>
#include <QHeaderView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace joblist {

namespace {

// Draws each entry's mark, which the model keeps as a number: the model
// draws nothing, so the print run and the command line need no widgets.
class MarkDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // An entry is a path or an address, written left to right in every
    // language; in a right-to-left list it is isolated as such, or its
    // leading slash would show at its end ("tmp/a.htm/").
    QString displayText(const QVariant &value, const QLocale &locale) const override
    {
        const QString text = QStyledItemDelegate::displayText(value, locale);
        const auto *view = qobject_cast<const QWidget *>(parent());
        if (!view || view->layoutDirection() != Qt::RightToLeft)
            return text;
        return QChar(0x2066) + text + QChar(0x2069);
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QIcon icon = markIcon(Mark(index.data(JobList::MarkRole).toInt()));
        if (icon.isNull())
            return;
        option->icon = icon;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = icon.actualSize(option->decorationSize);
    }
};

} // namespace

JobListView::JobListView(QWidget *parent)
    : QAbstractItemView(parent)
    , m_header(new QHeaderView(Qt::Horizontal, this))
{
    setItemDelegate(new MarkDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideNone);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_header->setStretchLastSection(false);
    m_header->setSectionsMovable(false);
    m_header->setSectionsClickable(false);
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Widening the column past the list's edge makes long paths readable by
    // scrolling sideways.
    connect(m_header, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    // Moves without a button held matter too: they reset the window pointer.
    viewport()->setMouseTracking(true);
    updateRowHeight();
    installJobListAccessibility();
}

void JobListView::setJobList(JobList *list)
{
    m_list = list;
    setModel(list);
    m_header->setModel(list);
    // Appends and removals change only the scroll range and what is painted;
    // both are settled once per turn of the event loop, however many rows came.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(list, signal, this, &JobListView::contentsChanged);
    connect(list, &QAbstractItemModel::modelReset, this, &JobListView::contentsChanged);
    connect(list, &QAbstractItemModel::columnsInserted, this, &JobListView::contentsChanged);
    connect(list, &QAbstractItemModel::rowsInserted, this, &JobListView::rowsArrived);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &JobListView::entriesRenumbered);
    connect(list, &QAbstractItemModel::rowsMoved, this, &JobListView::entriesRenumbered);
    connect(list, &QAbstractItemModel::modelReset, this, &JobListView::entriesRenumbered);
    connect(list, &QAbstractItemModel::layoutChanged, this, &JobListView::entriesRenumbered);
    Q_EMIT entriesRenumbered();
}

// Rows added at the bottom leave every other row where it was.
void JobListView::rowsArrived(const QModelIndex &, int, int last)
{
    if (last != rowCount() - 1)
        Q_EMIT entriesRenumbered();
}

void JobListView::contentsChanged()
{
    scheduleDelayedItemsLayout();
}

void JobListView::doItemsLayout()
{
    updateGeometries();
    viewport()->update();
}

int JobListView::rowCount() const
{
    return m_list ? m_list->count() : 0;
}

int JobListView::columnWidth() const
{
    return m_header->count() > 0 ? m_header->sectionSize(0) : 0;
}

int JobListView::rowAtY(int viewportY) const
{
    const qint64 contentY = qint64(viewportY) + verticalOffset();
    if (contentY < 0)
        return -1;
    const qint64 row = contentY / m_rowHeight;
    return row < rowCount() ? int(row) : -1;
}

void JobListView::updateRowHeight()
{
    m_rowHeight = std::max(fontMetrics().height(), 16) + 2;
    verticalScrollBar()->setSingleStep(m_rowHeight);
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

QRect JobListView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.column() != 0)
        return {};
    const qint64 top = qint64(index.row()) * m_rowHeight - verticalOffset();
    return {-horizontalOffset(), int(std::clamp<qint64>(top, INT_MIN / 2, INT_MAX / 2)), columnWidth(), m_rowHeight};
}

void JobListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int viewportHeight = viewport()->height();
    const int top = index.row() * m_rowHeight;
    const int bottom = top + m_rowHeight;
    QScrollBar *bar = verticalScrollBar();
    switch (hint) {
    case PositionAtTop:
        bar->setValue(top);
        break;
    case PositionAtBottom:
        bar->setValue(bottom - viewportHeight);
        break;
    case PositionAtCenter:
        bar->setValue(top - (viewportHeight - m_rowHeight) / 2);
        break;
    case EnsureVisible:
        if (top < bar->value())
            bar->setValue(top);
        else if (bottom > bar->value() + viewportHeight)
            bar->setValue(bottom - viewportHeight);
        break;
    }
}

QModelIndex JobListView::indexAt(const QPoint &point) const
{
    if (point.x() + horizontalOffset() >= columnWidth() || point.x() < 0)
        return {};
    const int row = rowAtY(point.y());
    return row < 0 ? QModelIndex() : model()->index(row, 0);
}

QModelIndex JobListView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = rowCount();
    if (count == 0)
        return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const int page = std::max(1, viewport()->height() / m_rowHeight - 1);
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row = current - 1;
        break;
    case MoveDown:
    case MoveNext:
        row = current + 1;
        break;
    case MovePageUp:
        row = current - page;
        break;
    case MovePageDown:
        row = current + page;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = count - 1;
        break;
    case MoveLeft:
    case MoveRight:
        return currentIndex();
    }
    return model()->index(std::clamp(row, 0, count - 1), 0);
}

int JobListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int JobListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool JobListView::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void JobListView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags flags)
{
    const QRect area = rect.normalized();
    int first = rowAtY(std::max(area.top(), 0));
    int last = rowAtY(std::min(area.bottom(), viewport()->height() - 1));
    if (first < 0 && last < 0) {
        selectionModel()->select(QItemSelection(), flags);
        return;
    }
    if (first < 0)
        first = last;
    if (last < 0)
        last = rowCount() - 1;
    const QItemSelection selection(model()->index(first, 0), model()->index(last, 0));
    selectionModel()->select(selection, flags | QItemSelectionModel::Rows);
}

QRegion JobListView::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    const QRect visible = viewport()->rect();
    for (const QItemSelectionRange &range : selection) {
        const QRect top = visualRect(model()->index(range.top(), 0));
        const QRect bottom = visualRect(model()->index(range.bottom(), 0));
        region += QRect(top.topLeft(), bottom.bottomRight()).intersected(visible);
    }
    return region;
}

void JobListView::updateGeometries()
{
    const int headerHeight = m_header->isHidden() ? 0 : m_header->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    m_header->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

    const qint64 contentHeight = qint64(rowCount()) * m_rowHeight;
    QScrollBar *vertical = verticalScrollBar();
    vertical->setPageStep(area.height());
    vertical->setRange(0, int(std::clamp<qint64>(contentHeight - area.height(), 0, INT_MAX)));
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setPageStep(area.width());
    horizontal->setRange(0, std::max(0, columnWidth() - area.width()));
    m_header->setOffset(horizontalOffset());
    QAbstractItemView::updateGeometries();
}

void JobListView::scrollContentsBy(int dx, int dy)
{
    m_header->setOffset(horizontalOffset());
    viewport()->scroll(dx, dy);
}

void JobListView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const int count = rowCount();
    if (count == 0)
        return;
    const QRect dirty = event->rect();
    const int first = std::max(0, rowAtY(dirty.top()));
    int last = rowAtY(dirty.bottom());
    if (last < 0)
        last = count - 1;

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0);
        QStyleOptionViewItem rowOption = option;
        rowOption.rect = visualRect(index);
        if (selectionModel()->isSelected(index))
            rowOption.state |= QStyle::State_Selected;
        if (index == current && hasFocus())
            rowOption.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, rowOption, index);
    }
}

void JobListView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        updateRowHeight();
        scheduleDelayedItemsLayout();
    }
    QAbstractItemView::changeEvent(event);
}

void JobListView::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT buttonPressed();
    QAbstractItemView::mousePressEvent(event);
    if (indexAt(event->position().toPoint()).isValid())
        Q_EMIT entryClicked();
}

void JobListView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT pointerMoved(event->position().toPoint());
    // The view's own drag selection would fight the reorder gesture.
    if (event->buttons() == Qt::NoButton)
        QAbstractItemView::mouseMoveEvent(event);
}

void JobListView::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseReleaseEvent(event);
    Q_EMIT buttonReleased();
}

void JobListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseDoubleClickEvent(event);
    Q_EMIT listDoubleClicked();
}

// Delete and Ctrl+Up/Down are told to whoever acts on them, Shift+F10 opens
// the context menu as the Menu key does; the other keys keep the item view's
// meaning (arrows, Page Up/Down, Home, End, Space).
void JobListView::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (key == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        Q_EMIT deletePressed();
    } else if ((key == Qt::Key_Up || key == Qt::Key_Down) && modifiers == Qt::ControlModifier) {
        Q_EMIT moveKeyPressed(key == Qt::Key_Up ? -1 : 1);
    } else if (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        openContextMenuFromKeyboard();
    } else if (!selectCurrentIfNoneSelected(event)) {
        QAbstractItemView::keyPressEvent(event);
        return;
    }
    event->accept();
}

// Shift+F10 is the Menu key for keyboards without one. The platform turns
// the Menu key into a context menu event at the point the focused widget
// names for its cursor, which for an item view is the entry in the focus
// frame; this does the same, so both open the menu in the same place.
void JobListView::openContextMenuFromKeyboard()
{
    const QPoint at = inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
    QCoreApplication::sendEvent(this, &menu);
}

// With nothing selected (as when Tab has just brought the focus in) the
// first arrow press selects the entry in the focus frame rather than
// passing over it.
bool JobListView::selectCurrentIfNoneSelected(const QKeyEvent *event)
{
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (!arrow || event->modifiers() != Qt::NoModifier || selectedPosition() != 0 || !currentIndex().isValid())
        return false;
    selectPosition(currentIndex().row() + 1);
    return true;
}

// Assistive technology follows the focus frame and the selection through
// these events; each names one entry, so they cost the same in any list.
void JobListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void JobListView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    const auto announce = [this](const QItemSelection &rows, QAccessible::Event type) {
        if (rows.isEmpty() || !rows.first().isValid())
            return;
        QAccessibleEvent event(this, type);
        event.setChild(rows.first().top());
        QAccessible::updateAccessibility(&event);
    };
    announce(deselected, QAccessible::SelectionRemove);
    announce(selected, QAccessible::SelectionAdd);
}

void removeSelectedEntry(JobList &list, const JobListView &view)
{
    const int position = view.selectedPosition();
    if (position >= 1 && position <= list.count())
        list.remove(position);
}

} // namespace joblist
