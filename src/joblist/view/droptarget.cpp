// SPDX-License-Identifier: GPL-3.0-or-later
#include "droptarget.h"
#include "joblist/joblist.h"

#include "core/entryaddress.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace joblist {

namespace {

bool offersLocalFile(const QMimeData &data)
{
    if (!data.hasUrls())
        return false;
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.cbegin(), urls.cend(), [](const QUrl &url) { return url.isLocalFile(); });
}

// File managers often propose moving what is dragged. The list only records
// paths, so it takes a copy where the source allows one: a source that
// honours a move would otherwise delete the files it just handed over.
void acceptWithoutMove(QDropEvent *event)
{
    if (event->possibleActions().testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

} // namespace

QStringList droppedPaths(const QMimeData &data)
{
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    const QList<QUrl> urls = data.urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            paths << core::entryTextForUrl(url);
    }
    return paths;
}

DropTarget::DropTarget(JobList &list, QWidget *surface, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_surface(surface)
{
    surface->setAcceptDrops(true);
    surface->installEventFilter(this);
}

bool DropTarget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        dragOver(static_cast<QDragMoveEvent *>(event));
        return true;
    case QEvent::Drop:
        drop(static_cast<QDropEvent *>(event));
        return true;
    default:
        return false;
    }
}

bool DropTarget::accepts(const QMimeData *data) const
{
    return m_mode == DropMode::Manual && data && offersLocalFile(*data);
}

// Refusing while the drag is over the list is what shows the user the "no"
// pointer, and what keeps the drop from happening at all.
void DropTarget::dragOver(QDragMoveEvent *event) const
{
    if (accepts(event->mimeData()))
        acceptWithoutMove(event);
    else
        event->ignore();
}

void DropTarget::drop(QDropEvent *event)
{
    if (!accepts(event->mimeData())) {
        event->ignore();
        return;
    }
    const QStringList paths = droppedPaths(*event->mimeData());
    for (const QString &path : paths)
        m_list.add(path);
    acceptWithoutMove(event);
}

} // namespace joblist
