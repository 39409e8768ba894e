// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology reads from the window: the job list as a list of
// its entries, and the action buttons as push buttons that say what they do.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"

#include "support/fakedesktop.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void jobList_isAListOfItsEntries()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const QStringList entries{u"/docs/a.htm"_s, u"https://example.org/b"_s, u"/docs/c.htm"_s};
        for (const QString &entry : entries)
            form.jobs().add(entry);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ListView1()->selectPosition(2);

        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(form.ListView1());
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), u"HTML files to print"_s);
        QCOMPARE(list->childCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *entry = list->child(i);
            QCOMPARE(entry->role(), QAccessible::ListItem);
            QCOMPARE(entry->text(QAccessible::Name), entries.at(i));
            QCOMPARE(bool(entry->state().selected), i == 1);
            QCOMPARE(entry->parent(), list);
            QCOMPARE(list->indexOfChild(entry), i);
            QCOMPARE(list->child(i), entry);  // the same object each time
        }
        QCOMPARE(list->focusChild(), list->child(1));
        const QPoint third = list->child(2)->rect().center();
        QCOMPARE(list->childAt(third.x(), third.y()), list->child(2));

        // Entries below a removed one move up; what was said about the old
        // rows must not describe other entries now. Appends move nothing.
        const QAccessible::Id firstBefore = QAccessible::uniqueId(list->child(0));
        form.jobs().remove(1);
        QCOMPARE(QAccessible::accessibleInterface(firstBefore), nullptr);
        QCOMPARE(list->child(0)->text(QAccessible::Name), entries.at(1));
        QAccessibleInterface *first = list->child(0);
        form.jobs().add(u"/docs/d.htm"_s);
        QCOMPARE(list->child(0), first);
        QCOMPARE(list->childCount(), 3);
    }

    // A million entries are counted, not made: an entry exists once asked for.
    void jobList_millionEntries()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        constexpr int Count = 1'000'000;
        for (int i = 1; i <= Count; ++i)
            form.jobs().add(QString::number(i));
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(form.ListView1());
        QCOMPARE(list->childCount(), Count);
        QAccessibleInterface *last = list->child(Count - 1);
        QCOMPARE(last->text(QAccessible::Name), QString::number(Count));
        QVERIFY(last->state().offscreen);
    }

    void buttons_namedDescribedAndPressable_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("described");
        QTest::newRow("Check1") << 1 << u"Add Local HTML File(s)"_s << u"HTML files"_s;
        QTest::newRow("Check6") << 6 << u"Add Remote HTML URLs From Text File"_s << u"web addresses"_s;
        QTest::newRow("Check4") << 4 << u" Add All HTML Files In Folder"_s << u"folder"_s;
        QTest::newRow("Check2") << 2 << u"Print HTML Files"_s << u"printer"_s;
    }
    void buttons_namedDescribedAndPressable()
    {
        QFETCH(int, button);
        QFETCH(QString, name);
        QFETCH(QString, described);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        app::ActionButton *const widget =
            QHash<int, app::ActionButton *>{{1, form.Check1()}, {6, form.Check6()}, {4, form.Check4()}, {2, form.Check2()}}
                .value(button);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        // A push button to the user, though it is checkable inside.
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY(iface->text(QAccessible::Description).contains(described));

        QSignalSpy clicked(widget, &QAbstractButton::clicked);
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.size(), 1);
        QVERIFY(!widget->isChecked());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
