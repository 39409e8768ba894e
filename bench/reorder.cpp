// SPDX-License-Identifier: GPL-3.0-or-later
// Drags one entry down through the live list, one entry per move, as a user
// does with the button held: every move exchanges two texts, moves the
// selection and scrolls the next entry into view. The same drag runs on a
// short and on a long list; a move must cost the same on both.
#include "common.h"
#include "standins.h"

#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "joblist/view/reordergesture.h"

#include <QApplication>
#include <QMouseEvent>

#include <algorithm>
#include <vector>

namespace {

void send(QWidget *viewport, QEvent::Type type, const QPoint &point, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, point, viewport->mapToGlobal(point), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

struct MoveTimes {
    double medianUs = 0;
    double maxUs = 0;
    double withPaintMedianUs = 0;
};

MoveTimes dragThrough(int entries, int moves)
{
    bench::ShownJobList list;
    joblist::JobList &jobs = list.jobs;
    joblist::JobListView &view = list.view;
    for (int i = 0; i < entries; ++i)
        jobs.add(QStringLiteral("/home/user/Documents/reports/2026/department-%1/report.html").arg(i, 8, 10, QChar(u'0')));
    QCoreApplication::processEvents();

    bench::WindowPointer window;
    joblist::ReorderGesture gesture(jobs, view, window);
    QObject::connect(&view, &joblist::JobListView::entryClicked, [&] { gesture.entryClick(); });
    QObject::connect(&view, &joblist::JobListView::buttonPressed, [&] { gesture.buttonPressed(); });
    QObject::connect(&view, &joblist::JobListView::pointerMoved, [&](const QPoint &p) { gesture.pointerMoved(p); });
    QObject::connect(&view, &joblist::JobListView::buttonReleased, [&] { gesture.buttonReleased(); });

    QWidget *viewport = view.viewport();
    const int start = std::max(1, entries / 2 - moves / 2);
    view.ensurePositionVisible(start);
    QCoreApplication::processEvents();
    const auto centreOf = [&](int position) { return view.visualRect(jobs.index(position - 1, 0)).center(); };
    send(viewport, QEvent::MouseButtonPress, centreOf(start), Qt::LeftButton);

    std::vector<double> handling;
    std::vector<double> withPaint;
    handling.reserve(moves);
    withPaint.reserve(moves);
    QElapsedTimer clock;
    for (int i = 0; i < moves && gesture.draggedPosition() < entries; ++i) {
        const QPoint target = centreOf(gesture.draggedPosition() + 1);
        clock.start();
        send(viewport, QEvent::MouseMove, target, Qt::LeftButton);
        handling.push_back(clock.nsecsElapsed() / 1e3);
        viewport->repaint();
        QCoreApplication::processEvents();
        withPaint.push_back(clock.nsecsElapsed() / 1e3);
    }
    send(viewport, QEvent::MouseButtonRelease, centreOf(gesture.draggedPosition()), Qt::NoButton);
    if (gesture.draggedPosition() != start + int(handling.size()))
        std::fprintf(stderr, "the drag did not travel one entry per move\n");

    std::sort(handling.begin(), handling.end());
    std::sort(withPaint.begin(), withPaint.end());
    return {handling[handling.size() / 2], handling.back(), withPaint[withPaint.size() / 2]};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int longList = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 1'000'000;
    const int moves = 2000;

    const MoveTimes small = dragThrough(1000 + moves, moves);
    const MoveTimes large = dragThrough(longList, moves);

    bench::figure("moves_per_drag", moves, "moves");
    bench::figure("short_list_entries", 1000 + moves, "entries");
    bench::figure("short_move_median_us", small.medianUs, "us");
    bench::figure("short_move_max_us", small.maxUs, "us");
    bench::figure("short_move_with_paint_median_us", small.withPaintMedianUs, "us");
    bench::figure("long_list_entries", longList, "entries");
    bench::figure("long_move_median_us", large.medianUs, "us");
    bench::figure("long_move_max_us", large.maxUs, "us");
    bench::figure("long_move_with_paint_median_us", large.withPaintMedianUs, "us");
    bench::figure("long_to_short_median_ratio", large.medianUs / small.medianUs, "x");
    return 0;
}
