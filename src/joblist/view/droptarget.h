// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class QDragMoveEvent;
class QDropEvent;
class QMimeData;
class QWidget;

namespace joblist {

class JobList;

// Whether the list takes drops at the moment.
enum class DropMode : int {
    None = 0,    // every drag is refused
    Manual = 1,  // drags that offer local files are taken
};

// The local files and folders a drag offers, as job list texts in the drag
// source's order: their paths, or file URLs for names that are not text. Addresses that are no local file are left out; an empty
// result means the drag offers nothing the list can take.
QStringList droppedPaths(const QMimeData &data);

// Lets files and folders be dropped onto the job list: each dropped path
// becomes one entry at the bottom, in the drag's order, with no filter (a
// folder is one entry, duplicates and any extension are kept). Drags that
// offer no local file are refused while they are over the list.
//
// It watches the list's drop surface as an event filter, so the view itself
// needs to know nothing about dropping. Where the drop lands is not used.
class DropTarget : public QObject {
    Q_OBJECT

public:
    DropTarget(JobList &list, QWidget *surface, QObject *parent = nullptr);

    DropMode dropMode() const { return m_mode; }
    void setDropMode(DropMode mode) { m_mode = mode; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool accepts(const QMimeData *data) const;
    void dragOver(QDragMoveEvent *event) const;
    void drop(QDropEvent *event);

    JobList &m_list;
    QWidget *m_surface = nullptr;
    DropMode m_mode = DropMode::Manual;
};

} // namespace joblist
