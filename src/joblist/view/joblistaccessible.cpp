// SPDX-License-Identifier: GPL-3.0-or-later
#include "joblistaccessible.h"
#include "joblist/joblist.h"
#include "joblistview.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <unordered_map>

namespace joblist {

namespace {

// One entry of the list, as assistive technology sees it: a list item with
// the entry's text. It holds only the view and the entry's row and reads
// everything else when asked, so a text exchanged by a drag shows at once.
class EntryAccessible : public QAccessibleInterface {
public:
    EntryAccessible(JobListView *view, int row) : m_view(view), m_row(row) { }

    int row() const { return m_row; }
    const JobListView *view() const { return m_view; }

    bool isValid() const override { return m_view && m_view->jobList() && m_row < m_view->jobList()->count(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }

    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !isValid())
            return {};
        return m_view->jobList()->text(m_row + 1);
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_view->visualRect(m_view->model()->index(m_row, 0));
        return {m_view->viewport()->mapToGlobal(local.topLeft()), local.size()};
    }

    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QModelIndex index = m_view->model()->index(m_row, 0);
        state.selectable = true;
        state.focusable = true;
        state.selected = m_view->selectionModel()->isSelected(index);
        state.focused = m_view->hasFocus() && m_view->currentIndex() == index;
        state.offscreen = !m_view->viewport()->rect().intersects(m_view->visualRect(index));
        return state;
    }

private:
    QPointer<JobListView> m_view;
    int m_row;
};

// The list itself: a named list whose children are its entries, one per
// entry and numbered like them. Nothing is made up front: an entry's
// interface is made when it is first asked for and kept, so that assistive
// technology sees the same object each time, until the entries move.
class JobListAccessible : public QAccessibleWidget {
public:
    explicit JobListAccessible(JobListView *view)
        : QAccessibleWidget(view, QAccessible::List)
    {
        // Kept interfaces name rows; once rows renumber they would name
        // other entries, so they are dropped and made again when asked for.
        m_renumbered = QObject::connect(view, &JobListView::entriesRenumbered, view, [this] { forgetEntries(); });
    }

    ~JobListAccessible() override
    {
        QObject::disconnect(m_renumbered);
        forgetEntries();
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        // A view nobody named is known by its column's title.
        if (t == QAccessible::Name && text.isEmpty() && view()->jobList())
            text = view()->jobList()->columnHeader(0);
        return text;
    }

    int childCount() const override { return view()->jobList() ? view()->jobList()->count() : 0; }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto kept = m_entries.find(index); kept != m_entries.end()) {
            if (QAccessibleInterface *entry = QAccessible::accessibleInterface(kept->second))
                return entry;
            m_entries.erase(kept);  // deleted behind our back; make it anew
        }
        auto *entry = new EntryAccessible(view(), index);
        m_entries.emplace(index, QAccessible::registerAccessibleInterface(entry));
        return entry;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *entry = dynamic_cast<const EntryAccessible *>(child);
        return entry && entry->view() == view() && entry->isValid() ? entry->row() : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const int position = view()->positionAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return position > 0 ? child(position - 1) : nullptr;
    }

    // The entry with the keyboard focus, which the arrow keys move.
    QAccessibleInterface *focusChild() const override
    {
        const QModelIndex current = view()->currentIndex();
        return current.isValid() ? child(current.row()) : nullptr;
    }

private:
    JobListView *view() const { return static_cast<JobListView *>(widget()); }

    void forgetEntries()
    {
        for (const auto &[row, id] : m_entries)
            QAccessible::deleteAccessibleInterface(id);
        m_entries.clear();
    }

    mutable std::unordered_map<int, QAccessible::Id> m_entries;
    QMetaObject::Connection m_renumbered;
};

QAccessibleInterface *jobListFactory(const QString &className, QObject *object)
{
    if (className != QLatin1StringView(JobListView::staticMetaObject.className()))
        return nullptr;
    auto *view = qobject_cast<JobListView *>(object);
    return view ? new JobListAccessible(view) : nullptr;
}

} // namespace

void installJobListAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(jobListFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace joblist
