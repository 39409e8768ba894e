// SPDX-License-Identifier: GPL-3.0-or-later
// The reorder gesture on the main window's list, driven by mouse events on
// the list as a user makes them.
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "joblist/view/reordergesture.h"

#include "support/entrytexts.h"
#include "support/fakedesktop.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include <memory>

using core::MousePointer;

namespace {

// Where no entry stands: the points a list leaves below its last entry.
constexpr int BelowEntries = 0;

struct ListUser {
    app::Form1 &form;

    joblist::JobListView *view() const { return form.ListView1(); }
    QWidget *viewport() const { return view()->viewport(); }

    QPoint centreOf(int position) const
    {
        if (position == BelowEntries)
            return {20, viewport()->height() - 2};
        return view()->visualRect(form.jobs().index(position - 1, 0)).center();
    }

    void press(int position) { QTest::mousePress(viewport(), Qt::LeftButton, {}, centreOf(position)); }
    void release(int position) { QTest::mouseRelease(viewport(), Qt::LeftButton, {}, centreOf(position)); }
    void moveHeldTo(int position) { moveTo(centreOf(position), Qt::LeftButton); }
    void moveFreeTo(int position) { moveTo(centreOf(position), Qt::NoButton); }

    void moveTo(const QPoint &point, Qt::MouseButtons buttons)
    {
        QMouseEvent move(QEvent::MouseMove, point, viewport()->mapToGlobal(point), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(viewport(), &move);
    }

    bool fullyVisible(int position) const
    {
        const QRect row = view()->visualRect(form.jobs().index(position - 1, 0));
        return row.top() >= 0 && row.bottom() < viewport()->height();
    }
};

std::unique_ptr<app::Form1> shownFormWith(FakeDesktop &fakes, const QStringList &entries)
{
    auto form = std::make_unique<app::Form1>(fakes.make());
    for (const QString &entry : entries)
        form->jobs().add(entry);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

QStringList letters(const char *spaced)
{
    return QString::fromLatin1(spaced).split(u' ');
}

QStringList numbered(int count)
{
    QStringList entries;
    for (int i = 1; i <= count; ++i)
        entries << QStringLiteral("/docs/entry%1.htm").arg(i);
    return entries;
}

} // namespace

class TestReorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void heldMoves_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("picked");
        QTest::addColumn<QList<int>>("moves");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selected");

        QTest::newRow("A onto B") << letters("A B C D") << 1 << QList<int>{2} << letters("B A C D") << 2;
        QTest::newRow("A onto B then C") << letters("A B C D") << 1 << QList<int>{2, 3} << letters("B C A D") << 3;
        QTest::newRow("down and back up") << letters("A B C D") << 1 << QList<int>{2, 3, 2} << letters("B A C D") << 2;
        QTest::newRow("fast move A onto C") << letters("A B C D") << 1 << QList<int>{3} << letters("C B A D") << 3;
        QTest::newRow("fast move up D onto A") << letters("A B C D") << 4 << QList<int>{1} << letters("D B C A") << 1;
        QTest::newRow("equal text elsewhere") << letters("A B A D") << 1 << QList<int>{3} << letters("A B A D") << 1;
        QTest::newRow("text differing in case") << letters("A B a D") << 1 << QList<int>{3} << letters("a B A D") << 3;
        QTest::newRow("over the picked entry") << letters("A B C D") << 2 << QList<int>{2} << letters("A B C D") << 2;
        QTest::newRow("below the entries") << letters("A B C D") << 2 << QList<int>{BelowEntries} << letters("A B C D") << 2;
    }
    void heldMoves()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, picked);
        QFETCH(QList<int>, moves);
        QFETCH(QStringList, expected);
        QFETCH(int, selected);
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, entries);
        QVERIFY(form);
        ListUser user{*form};

        user.press(picked);
        QCOMPARE(form->reorderGesture().draggedPosition(), picked);
        for (int position : moves)
            user.moveHeldTo(position);

        QCOMPARE(entryTexts(user.form.jobs()), expected);
        QCOMPARE(form->ListView1()->selectedPosition(), selected);
        QCOMPARE(form->reorderGesture().draggedPosition(), selected);
    }

    void noButtonHeld_changesNothing()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C D"));
        QVERIFY(form);
        ListUser user{*form};
        user.press(1);
        user.release(1);
        QVERIFY(!form->reorderGesture().isButtonHeld());

        user.moveFreeTo(2);
        user.moveFreeTo(3);
        QCOMPARE(entryTexts(user.form.jobs()), letters("A B C D"));
        QCOMPARE(form->ListView1()->selectedPosition(), 1);
    }

    void buttonHeldWithoutEntryClick_changesNothing()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C D"));
        QVERIFY(form);
        ListUser user{*form};
        user.press(BelowEntries);
        QVERIFY(form->reorderGesture().isButtonHeld());
        QCOMPARE(form->reorderGesture().draggedPosition(), 0);

        user.moveHeldTo(4);
        user.moveHeldTo(1);
        QCOMPARE(entryTexts(user.form.jobs()), letters("A B C D"));
    }

    void draggedEntry_survivesRelease()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C D"));
        QVERIFY(form);
        ListUser user{*form};
        user.press(1);
        user.moveHeldTo(2);
        user.release(2);
        QCOMPARE(entryTexts(user.form.jobs()), letters("B A C D"));

        // A press on the empty part picks nothing up; the last moved entry
        // is still the one that travels.
        user.press(BelowEntries);
        user.moveHeldTo(4);
        QCOMPARE(entryTexts(user.form.jobs()), letters("B D C A"));
        QCOMPARE(form->ListView1()->selectedPosition(), 4);
    }

    void removedDraggedEntry_isNotUsed()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C D"));
        QVERIFY(form);
        ListUser user{*form};
        QTest::mouseDClick(user.viewport(), Qt::LeftButton, {}, user.centreOf(2));
        QCOMPARE(entryTexts(user.form.jobs()), letters("A C D"));
        QCOMPARE(form->reorderGesture().draggedPosition(), 0);

        user.press(BelowEntries);
        user.moveHeldTo(1);
        user.moveHeldTo(3);
        QCOMPARE(entryTexts(user.form.jobs()), letters("A C D"));

        // The next entry click picks up again.
        user.release(BelowEntries);
        user.press(3);
        user.moveHeldTo(1);
        QCOMPARE(entryTexts(user.form.jobs()), letters("D C A"));
    }

    void entriesAboveTheDraggedOne_removed_keepItsEntry()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C D"));
        QVERIFY(form);
        ListUser user{*form};
        user.press(3);
        user.release(3);
        form->jobs().remove(1);
        QCOMPARE(form->reorderGesture().draggedPosition(), 2);

        user.press(BelowEntries);
        user.moveHeldTo(3);
        QCOMPARE(entryTexts(user.form.jobs()), letters("B D C"));
    }

    void listPointer_dragImageAfterClick_arrowAfterRelease()
    {
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B"));
        QVERIFY(form);
        ListUser user{*form};
        QCOMPARE(form->reorderGesture().listPointer(), MousePointer::Default);

        user.press(1);
        QCOMPARE(form->reorderGesture().listPointer(), MousePointer::Custom);
        QCOMPARE(user.viewport()->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!user.viewport()->cursor().pixmap().isNull());

        user.release(1);
        QCOMPARE(form->reorderGesture().listPointer(), MousePointer::Arrow);
        QCOMPARE(user.viewport()->cursor().shape(), Qt::ArrowCursor);
    }

    void windowPointer_resetByMovesOverTheList_data()
    {
        QTest::addColumn<MousePointer>("before");
        QTest::addColumn<bool>("buttonHeld");
        QTest::addColumn<MousePointer>("after");
        QTest::newRow("hand, free move") << MousePointer::Custom << false << MousePointer::Default;
        QTest::newRow("hand, held move") << MousePointer::Custom << true << MousePointer::Default;
        QTest::newRow("busy, free move") << MousePointer::Busy << false << MousePointer::Busy;
        QTest::newRow("busy, held move") << MousePointer::Busy << true << MousePointer::Busy;
    }
    void windowPointer_resetByMovesOverTheList()
    {
        QFETCH(MousePointer, before);
        QFETCH(bool, buttonHeld);
        QFETCH(MousePointer, after);
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, letters("A B C"));
        QVERIFY(form);
        ListUser user{*form};
        if (buttonHeld)
            user.press(1);
        form->setMousePointer(before);

        if (buttonHeld)
            user.moveHeldTo(2);
        else
            user.moveFreeTo(2);

        QCOMPARE(form->mousePointer(), after);
        // The gesture goes on under the busy pointer all the same.
        QCOMPARE(entryTexts(user.form.jobs()), buttonHeld ? letters("B A C") : letters("A B C"));
    }

    // The pointer's height in the list decides the scroll: less than 56
    // brings the entry above into view, more than 115 the one below. Each
    // row places the entry under the pointer so that the neighbour in
    // question starts out of view, so a scroll that should not happen shows.
    void scrollAhead_data()
    {
        QTest::addColumn<int>("listY");
        QTest::addColumn<int>("direction");
        QTest::addColumn<bool>("exchange");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("55, top band") << 55 << -1 << true << true;
        QTest::newRow("56, between") << 56 << -1 << true << false;
        QTest::newRow("85, between, entry above") << 85 << -1 << true << false;
        QTest::newRow("85, between, entry below") << 85 << +1 << true << false;
        QTest::newRow("115, between") << 115 << +1 << true << false;
        QTest::newRow("116, bottom band") << 116 << +1 << true << true;
        QTest::newRow("55, no exchange") << 55 << -1 << false << false;
        QTest::newRow("116, no exchange") << 116 << +1 << false << false;
    }
    void scrollAhead()
    {
        QFETCH(int, listY);
        QFETCH(int, direction);
        QFETCH(bool, exchange);
        QFETCH(bool, scrolls);
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, numbered(50));
        QVERIFY(form);
        ListUser user{*form};
        joblist::JobListView *view = form->ListView1();
        // Rows taller than the list's usual ones, so that the entry next to
        // the one under the pointer can be out of view at every height
        // tested here.
        QFont large = view->font();
        large.setPixelSize(30);
        view->setFont(large);
        const int rowHeight = view->rowHeight();
        QVERIFY(rowHeight >= 34);
        const int y = listY - user.viewport()->mapTo(view, QPoint(0, 0)).y();
        QVERIFY(y >= 0 && y < user.viewport()->height());

        // The entry under the pointer ends just below the pointer (top band)
        // or starts at it (bottom band), pushing its neighbour out of view.
        const int target = 20;
        const int rowTop = (target - 1) * rowHeight;
        view->verticalScrollBar()->setValue(direction < 0 ? rowTop + rowHeight - 1 - y : rowTop - y);
        const QPoint point(40, y);
        QCOMPARE(view->positionAt(point), target);
        const int neighbour = target + direction;
        QVERIFY2(!user.fullyVisible(neighbour), "the neighbour starts out of view");

        const int picked = exchange ? target - direction : target;
        QVERIFY(user.fullyVisible(picked));
        user.press(picked);
        const QString pickedText = form->jobs().text(picked);
        const int scrollBefore = view->verticalScrollBar()->value();

        user.moveTo(point, Qt::LeftButton);

        QCOMPARE(form->jobs().text(target), pickedText);
        QCOMPARE(view->verticalScrollBar()->value() != scrollBefore, scrolls);
        QCOMPARE(user.fullyVisible(neighbour), scrolls);
    }

    void scrollAhead_atEitherEndOfTheList_data()
    {
        QTest::addColumn<int>("picked");
        QTest::addColumn<int>("target");
        QTest::newRow("first entry at the top") << 2 << 1;
        QTest::newRow("last entry at the bottom") << 49 << 50;
    }
    void scrollAhead_atEitherEndOfTheList()
    {
        QFETCH(int, picked);
        QFETCH(int, target);
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, numbered(50));
        QVERIFY(form);
        ListUser user{*form};
        form->ListView1()->ensurePositionVisible(target);
        const QString pickedText = form->jobs().text(picked);
        user.press(picked);
        const int scrollBefore = form->ListView1()->verticalScrollBar()->value();
        user.moveHeldTo(target);
        QCOMPARE(form->jobs().text(target), pickedText);
        QCOMPARE(form->ListView1()->verticalScrollBar()->value(), scrollBefore);
    }

    // The keyboard's ways: arrows select, Delete removes as a double-click
    // does, Ctrl+Up/Down move by the drag's own exchange. Position 0: nothing
    // selected, the focus frame on the first entry (as after Tab).
    void keys_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selectedAfter");
        const QKeyCombination down(Qt::Key_Down), del(Qt::Key_Delete);
        const QKeyCombination ctrlUp(Qt::ControlModifier, Qt::Key_Up), ctrlDown(Qt::ControlModifier, Qt::Key_Down);
        const QStringList abcd = letters("A B C D");
        QTest::newRow("Down") << abcd << 2 << QList{down} << abcd << 3;
        QTest::newRow("Up") << abcd << 2 << QList{QKeyCombination(Qt::Key_Up)} << abcd << 1;
        QTest::newRow("first Down selects the focus frame") << abcd << 0 << QList{down} << abcd << 1;
        // The view selects the entry that takes the removed one's place.
        QTest::newRow("Delete twice") << abcd << 2 << QList{del, del} << letters("A D") << 2;
        QTest::newRow("Delete the last entry") << abcd << 4 << QList{del} << letters("A B C") << 3;
        QTest::newRow("Delete, nothing selected") << abcd << 0 << QList{del} << abcd << 0;
        QTest::newRow("Ctrl+Up") << abcd << 2 << QList{ctrlUp} << letters("B A C D") << 1;
        QTest::newRow("Ctrl+Down twice") << abcd << 1 << QList{ctrlDown, ctrlDown} << letters("B C A D") << 3;
        QTest::newRow("Ctrl+Up at the top") << abcd << 1 << QList{ctrlUp} << abcd << 1;
        QTest::newRow("Ctrl+Down at the bottom") << abcd << 4 << QList{ctrlDown} << abcd << 4;
        QTest::newRow("Ctrl+Down, nothing selected") << abcd << 0 << QList{ctrlDown} << abcd << 0;
        QTest::newRow("Ctrl+Down past an equal entry") << letters("A A B") << 1 << QList{ctrlDown, ctrlDown}
                                                       << letters("A B A") << 3;
    }
    void keys()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, selected);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QStringList, expected);
        QFETCH(int, selectedAfter);
        FakeDesktop fakes;
        const auto form = shownFormWith(fakes, entries);
        QVERIFY(form);
        joblist::JobListView *view = form->ListView1();
        view->selectionModel()->setCurrentIndex(form->jobs().index(0, 0), QItemSelectionModel::NoUpdate);
        if (selected > 0)
            view->selectPosition(selected);

        for (const QKeyCombination key : keys)
            QTest::keyClick(view, key.key(), key.keyboardModifiers());
        QCOMPARE(entryTexts(form->jobs()), expected);
        QCOMPARE(view->selectedPosition(), selectedAfter);
        // A keyboard move leaves the moved entry as the one a drag goes on with.
        if (keys.first().keyboardModifiers() == Qt::ControlModifier && expected != entries)
            QCOMPARE(form->reorderGesture().draggedPosition(), selectedAfter);
    }
};

QTEST_MAIN(TestReorder)
#include "tst_reorder.moc"
