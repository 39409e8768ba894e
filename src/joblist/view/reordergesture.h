// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/mousepointer.h"

#include <QPersistentModelIndex>

class QPoint;

namespace joblist {

class JobList;
class JobListView;

// The reorder gesture: an entry click picks an entry up, and while a button
// is held every move over the list exchanges the picked-up entry with the
// entry under the pointer, the selection following it.
//
// An exchange swaps two whole entries, their texts with their ids and marks,
// so a print run under way follows each entry to its new place. The dragged
// entry is kept as a persistent
// index so that an entry removed since it was picked up is noticed; the
// gesture then does nothing until the next entry click.
//
// Each move costs one hit test and one text comparison, and an exchange a
// fixed number of text accesses and at most one scroll, however long the
// list: nothing here looks at more than two entries.
class ReorderGesture {
public:
    // The list's pointer shape goes to the view's viewport; `window` is the
    // main window whose pointer every move over the list resets.
    ReorderGesture(JobList &list, JobListView &view, core::PointerOwner &window);

    void entryClick();
    void buttonPressed();
    // `point` is in the coordinates of the view's viewport.
    void pointerMoved(const QPoint &point);
    void buttonReleased();
    // The keyboard's move (Ctrl+Up, Ctrl+Down): the selected entry trades
    // places with the one `delta` places away, whole as in a drag, and the
    // selection follows it; it becomes the dragged entry too. Unlike a drag,
    // an entry whose text equals its neighbour's is exchanged all the same.
    // Nothing happens without a selection or past either end of the list.
    void moveSelectedBy(int delta);

    bool isButtonHeld() const { return m_buttonHeld; }
    // Position of the dragged entry, or 0 when there is none (never picked
    // up, nothing selected at the click, or removed since).
    int draggedPosition() const;
    // What the list shows: Custom (the drag image) after an entry click whose
    // image could be read, Arrow after a release.
    core::MousePointer listPointer() const { return m_listPointer; }

private:
    void showDragPointer();
    void showArrowPointer();
    void exchangeWith(int underPointer);
    void scrollAhead(int underPointer, const QPoint &point);

    JobList &m_list;
    JobListView &m_view;
    core::PointerOwner &m_window;
    bool m_buttonHeld = false;
    QPersistentModelIndex m_dragged;
    core::MousePointer m_listPointer = core::MousePointer::Default;
};

} // namespace joblist
