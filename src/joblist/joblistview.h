#pragma once

#include <QTreeView>

namespace joblist {

class JobList;

// The job list on screen: a report view with one column under a header. It
// only translates input into notifications; what they do is decided by the
// gesture handlers and the main window.
class JobListView : public QTreeView {
    Q_OBJECT

public:
    explicit JobListView(QWidget *parent = nullptr);

    void setJobList(JobList *list);
    JobList *jobList() const { return m_list; }

    // Position (1-based) of the selected entry, or 0 when none is selected.
    int selectedPosition() const;
    void selectPosition(int position);
    // The entry at a point of the viewport, or 0 when there is none.
    int positionAt(const QPoint &point) const;
    void ensurePositionVisible(int position);

Q_SIGNALS:
    void entryClicked();               // a click that landed on an entry
    void buttonPressed();              // any mouse button went down over the list
    void pointerMoved(const QPoint &point);  // every move, button held or not
    void buttonReleased();             // any mouse button came up over the list
    void listDoubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    JobList *m_list = nullptr;
};

// Removes the entry that is selected when the list is double-clicked; with no
// entry selected nothing happens.
void removeSelectedEntry(JobList &list, const JobListView &view);

} // namespace joblist
