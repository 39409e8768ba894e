#include "joblist/joblist.h"
#include "joblist/joblistview.h"

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
    // seeded random appends, removals and rewrites across chunk borders.
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
        QStringList reference;
        for (int step = 0; step < 20000; ++step) {
            const int choice = random.bounded(10);
            if (choice < 6 || reference.isEmpty()) {
                const QString text = QString::number(step);
                jobs.add(text);
                reference << text;
            } else if (choice < 9) {
                const int position = random.bounded(int(reference.size())) + 1;
                jobs.remove(position);
                reference.removeAt(position - 1);
            } else {
                const int position = random.bounded(int(reference.size())) + 1;
                jobs.setText(position, QStringLiteral("x") + QString::number(step));
                reference[position - 1] = QStringLiteral("x") + QString::number(step);
            }
        }
        // Empty the list from the front, crossing every chunk.
        QCOMPARE(jobs.count(), int(reference.size()));
        for (int i = 1; i <= jobs.count(); ++i)
            QCOMPARE(jobs.text(i), reference.at(i - 1));
        while (jobs.count() > 0) {
            QCOMPARE(jobs.text(1), reference.first());
            jobs.remove(1);
            reference.removeFirst();
        }
        jobs.add(QStringLiteral("after emptying"));
        QCOMPARE(jobs.count(), 1);
        QCOMPARE(jobs.text(1), QStringLiteral("after emptying"));
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
