// SPDX-License-Identifier: GPL-3.0-or-later
#include "reordergesture.h"
#include "joblist/joblist.h"
#include "joblistview.h"

#include "core/datafiles.h"
#include "core/pointerrule.h"

#include <QCursor>
#include <QPixmap>

namespace joblist {

using core::MousePointer;

namespace {

// The scroll-ahead band, measured down from the list's top edge. An entry
// exchanged in the top strip brings the one above into view, one exchanged
// low in the list the one below, so the user can drag past the visible part.
// The band is the one the window always had around its list; keeping it
// relative to the list makes it work wherever the window stands.
constexpr int ScrollUpAbove = 56;
constexpr int ScrollDownBelow = 115;

// Where the drag image points: the tip of its arrow.
constexpr QPoint DragHotSpot{2, 1};

} // namespace

ReorderGesture::ReorderGesture(JobList &list, JobListView &view, core::PointerOwner &window)
    : m_list(list)
    , m_view(view)
    , m_window(window)
{
}

int ReorderGesture::draggedPosition() const
{
    return m_dragged.isValid() ? m_dragged.row() + 1 : 0;
}

void ReorderGesture::entryClick()
{
    showDragPointer();
    const int selected = m_view.selectedPosition();
    m_dragged = selected > 0 ? QPersistentModelIndex(m_list.index(selected - 1, 0)) : QPersistentModelIndex();
}

void ReorderGesture::buttonPressed()
{
    m_buttonHeld = true;
}

void ReorderGesture::pointerMoved(const QPoint &point)
{
    core::setPointerUnlessBusy(m_window, MousePointer::Default);
    if (!m_buttonHeld)
        return;
    const int underPointer = m_view.positionAt(point);
    const int dragged = draggedPosition();
    if (underPointer == 0 || dragged == 0)
        return;
    // Exact comparison: texts that differ only in case are different jobs.
    // Equal texts include the pointer resting on the dragged entry itself.
    if (m_list.text(dragged) == m_list.text(underPointer))
        return;
    exchangeWith(underPointer);
    scrollAhead(underPointer, point);
}

void ReorderGesture::buttonReleased()
{
    m_buttonHeld = false;
    showArrowPointer();
}

void ReorderGesture::moveSelectedBy(int delta)
{
    const int selected = m_view.selectedPosition();
    const qint64 target = qint64(selected) + delta;
    if (selected == 0 || target < 1 || target > m_list.count())
        return;
    // Unlike a drag, equal neighbours are exchanged too: the texts stay as
    // they are, but the selection moves on, so the next press can go past.
    m_dragged = QPersistentModelIndex(m_list.index(selected - 1, 0));
    exchangeWith(int(target));
}

// A fast move that skips entries exchanges the two ends directly; the
// entries in between keep their places. The texts trade places with
// everything that belongs to them (a print run's marks), so a document
// waiting to be printed still is, at its new place.
void ReorderGesture::exchangeWith(int underPointer)
{
    m_list.exchange(draggedPosition(), underPointer);
    m_view.selectPosition(underPointer);
    m_dragged = QPersistentModelIndex(m_list.index(underPointer - 1, 0));
}

void ReorderGesture::scrollAhead(int underPointer, const QPoint &point)
{
    const int y = m_view.viewport()->mapTo(&m_view, point).y();
    if (y < ScrollUpAbove) {
        if (underPointer > 1)
            m_view.ensurePositionVisible(underPointer - 1);
    } else if (y > ScrollDownBelow) {
        if (underPointer < m_list.count())
            m_view.ensurePositionVisible(underPointer + 1);
    }
}

// The image is read at every click, so a replaced file shows at once. A
// missing or unreadable file leaves the list with the pointer it has.
void ReorderGesture::showDragPointer()
{
    const QPixmap image(core::findDataFile(QStringLiteral("drag.ico")));
    if (image.isNull())
        return;
    m_view.viewport()->setCursor(QCursor(image, DragHotSpot.x(), DragHotSpot.y()));
    m_listPointer = MousePointer::Custom;
}

// The list gives up a pointer of its own rather than setting the arrow: it
// then shows the window's pointer, which over the list is the arrow (every
// move there resets it) except while a long action shows the hourglass.
void ReorderGesture::showArrowPointer()
{
    m_view.viewport()->unsetCursor();
    m_listPointer = MousePointer::Arrow;
}

} // namespace joblist
