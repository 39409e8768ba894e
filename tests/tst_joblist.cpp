// SPDX-License-Identifier: GPL-3.0-or-later
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "joblist/view/markicons.h"

#include <QIcon>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using joblist::JobList;
using joblist::JobListView;

class TestJobList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void add_appendsAtBottomWithoutChecks()
    {
        JobList jobs;
        jobs.add(QStringLiteral("/docs/a.htm"));
        QCOMPARE(jobs.count(), 1);
        QCOMPARE(jobs.text(1), QStringLiteral("/docs/a.htm"));
        // Duplicates and empty texts are entries like any other.
        jobs.add(QStringLiteral("/docs/a.htm"));
        jobs.add(QString());
        jobs.add(QStringLiteral("https://example.org/x"));
        QCOMPARE(jobs.count(), 4);
        QCOMPARE(jobs.text(2), QStringLiteral("/docs/a.htm"));
        QCOMPARE(jobs.text(3), QString());
        QCOMPARE(jobs.text(4), QStringLiteral("https://example.org/x"));
    }

    void add_neitherSelectsNorScrolls()
    {
        JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        JobListView view;
        view.setJobList(&jobs);
        view.resize(300, 80);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (int i = 0; i < 50; ++i)
            jobs.add(QString::number(i));
        // The view lays out the new rows at its next turn of the event loop;
        // only then could an append have scrolled it.
        QTRY_VERIFY(view.verticalScrollBar()->maximum() > 0);
        QCOMPARE(view.selectedPosition(), 0);
        QCOMPARE(view.verticalScrollBar()->value(), 0);
        QCOMPARE(view.positionAt(QPoint(5, 2)), 1);
    }

    void remove_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("position");
        QTest::newRow("first of five") << 5 << 1;
        QTest::newRow("middle of five") << 5 << 3;
        QTest::newRow("last of five") << 5 << 5;
        QTest::newRow("only entry") << 1 << 1;
    }
    void remove()
    {
        QFETCH(int, count);
        QFETCH(int, position);
        JobList jobs;
        QStringList expected;
        for (int i = 1; i <= count; ++i) {
            jobs.add(QStringLiteral("entry %1").arg(i));
            expected << QStringLiteral("entry %1").arg(i);
        }
        jobs.remove(position);
        expected.removeAt(position - 1);
        QCOMPARE(jobs.count(), count - 1);
        for (int i = 1; i <= jobs.count(); ++i)
            QCOMPARE(jobs.text(i), expected.at(i - 1));
    }

    // The chunked store behind the list against a plain list, over many
    // seeded random appends, removals, exchanges and marks across chunk
    // borders; the first pending entry is checked against a plain scan.
    void store_matchesPlainList_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 7u, 42u, 1234u})
            QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }
    void store_matchesPlainList()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        JobList jobs;
        struct Row {
            QString text;
            std::uint32_t id;
            joblist::Mark mark;
        };
        QList<Row> reference;
        const auto firstPending = [&reference] {
            for (qsizetype i = 0; i < reference.size(); ++i) {
                if (reference.at(i).mark == joblist::Mark::Pending)
                    return int(i) + 1;
            }
            return 0;
        };
        for (int step = 0; step < 20000; ++step) {
            const int choice = random.bounded(12);
            const int position = reference.isEmpty() ? 0 : random.bounded(int(reference.size())) + 1;
            if (choice < 6 || reference.isEmpty()) {
                const QString text = QString::number(step);
                jobs.add(text);
                reference.append({text, jobs.entryId(jobs.count()), joblist::Mark::None});
            } else if (choice < 8) {
                jobs.remove(position);
                reference.removeAt(position - 1);
            } else if (choice < 10) {
                const int other = random.bounded(int(reference.size())) + 1;
                jobs.exchange(position, other);
                reference.swapItemsAt(position - 1, other - 1);
            } else if (choice < 11) {
                const auto mark = joblist::Mark(random.bounded(int(joblist::Mark::NotPrinted) + 1));
                jobs.setMark(position, mark);
                reference[position - 1].mark = mark;
            } else {
                QCOMPARE(jobs.firstPending(), firstPending());
            }
        }
        // Empty the list from the front, crossing every chunk.
        QCOMPARE(jobs.count(), int(reference.size()));
        for (int i = 1; i <= jobs.count(); ++i) {
            QCOMPARE(jobs.text(i), reference.at(i - 1).text);
            QCOMPARE(jobs.entryId(i), reference.at(i - 1).id);
            QCOMPARE(jobs.mark(i), reference.at(i - 1).mark);
        }
        while (jobs.count() > 0) {
            QCOMPARE(jobs.firstPending(), firstPending());
            QCOMPARE(jobs.text(1), reference.first().text);
            jobs.remove(1);
            reference.removeFirst();
        }
        jobs.add(QStringLiteral("after emptying"));
        QCOMPARE(jobs.count(), 1);
        QCOMPARE(jobs.text(1), QStringLiteral("after emptying"));
    }

    // A run marks every entry pending; the list hands out the first pending
    // one however the entries move, and settles the rest in one sweep.
    void pendingEntries_followMovesAndRemovals()
    {
        JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        for (int i = 1; i <= 3000; ++i)
            jobs.add(QString::number(i));
        QCOMPARE(jobs.beginRun(), 3000);
        QCOMPARE(jobs.pendingCount(), 3000);
        for (int position = 1; position <= 2000; ++position)
            jobs.setMark(position, joblist::Mark::Printed, {});
        QCOMPARE(jobs.firstPending(), 2001);
        // A pending entry dragged above the printed ones is next.
        jobs.exchange(2500, 10);
        QCOMPARE(jobs.firstPending(), 10);
        QCOMPARE(jobs.text(10), QStringLiteral("2500"));
        QCOMPARE(jobs.pendingPositions(3), (QList<int>{10, 2001, 2002}));
        jobs.remove(10);
        QCOMPARE(jobs.firstPending(), 2000);
        QCOMPARE(jobs.text(2000), QStringLiteral("2001"));
        const QStringList rest = jobs.settlePending(joblist::Mark::NotPrinted, QStringLiteral("not sent"));
        QCOMPARE(rest.size(), 999);
        QCOMPARE(rest.first(), QStringLiteral("2001"));
        QCOMPARE(jobs.firstPending(), 0);
        QCOMPARE(jobs.reason(2000), QStringLiteral("not sent"));
        QCOMPARE(jobs.data(jobs.index(1999, 0), Qt::ToolTipRole).toString(), QStringLiteral("Not printed: not sent"));
        QCOMPARE(jobs.data(jobs.index(0, 0), joblist::JobList::MarkRole).toInt(), int(jobs.mark(1)));
        QVERIFY(!joblist::markIcon(jobs.mark(1)).isNull());
        // A new run forgets the old marks.
        jobs.beginRun();
        QCOMPARE(jobs.reason(2000), QString());
        QCOMPARE(jobs.firstPending(), 1);
    }

    void removeSelectedEntry_removesTheSelectedOne()
    {
        JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        JobListView view;
        view.setJobList(&jobs);
        for (const char *text : {"a", "b", "c", "d"})
            jobs.add(QString::fromLatin1(text));
        view.selectPosition(2);
        joblist::removeSelectedEntry(jobs, view);
        QCOMPARE(jobs.count(), 3);
        QCOMPARE(jobs.text(1), QStringLiteral("a"));
        QCOMPARE(jobs.text(2), QStringLiteral("c"));
        QCOMPARE(jobs.text(3), QStringLiteral("d"));
    }

    void removeSelectedEntry_withoutSelectionChangesNothing()
    {
        JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        JobListView view;
        view.setJobList(&jobs);
        jobs.add(QStringLiteral("a"));
        jobs.add(QStringLiteral("b"));
        joblist::removeSelectedEntry(jobs, view);
        QCOMPARE(jobs.count(), 2);

        JobList empty;
        JobListView emptyView;
        emptyView.setJobList(&empty);
        joblist::removeSelectedEntry(empty, emptyView);
        QCOMPARE(empty.count(), 0);
    }

    void doubleClickOnList_removesSelectedEntry()
    {
        JobList jobs;
        jobs.addColumnHeader(QStringLiteral("HTML File(s)"));
        JobListView view;
        view.setJobList(&jobs);
        view.resize(300, 200);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        for (const char *text : {"a", "b", "c"})
            jobs.add(QString::fromLatin1(text));
        QObject::connect(&view, &JobListView::listDoubleClicked, &view,
                         [&] { joblist::removeSelectedEntry(jobs, view); });
        const QPoint onB = view.visualRect(jobs.index(1, 0)).center();
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, onB);
        QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, onB);
        QCOMPARE(jobs.count(), 2);
        QCOMPARE(jobs.text(1), QStringLiteral("a"));
        QCOMPARE(jobs.text(2), QStringLiteral("c"));
    }
};

QTEST_MAIN(TestJobList)
#include "tst_joblist.moc"
