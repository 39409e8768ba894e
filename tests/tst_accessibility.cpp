// What assistive technology reads from the window: the job list as a list of
// its entries, and the action buttons with their names and descriptions.
#include "app/actionbutton.h"
#include "app/form1.h"
#include "joblist/joblist.h"
#include "joblist/joblistview.h"

#include "fakedesktop.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<app::Form1> shownForm(FakeDesktop &fakes, const QStringList &entries)
{
    auto form = std::make_unique<app::Form1>(fakes.make());
    for (const QString &entry : entries)
        form->jobs().add(entry);
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        return nullptr;
    return form;
}

QAccessibleInterface *listInterface(app::Form1 &form)
{
    return QAccessible::queryAccessibleInterface(form.ListView1());
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void jobList_isAListOfItsEntries()
    {
        FakeDesktop fakes;
        const QStringList entries{u"/docs/a.htm"_s, u"https://example.org/b"_s, u"/docs/c.htm"_s};
        const auto form = shownForm(fakes, entries);
        QVERIFY(form);
        form->ListView1()->selectPosition(2);

        QAccessibleInterface *list = listInterface(*form);
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), u"HTML files to print"_s);
        QVERIFY(list->text(QAccessible::Description).contains(u"Delete"_s));
        QCOMPARE(list->childCount(), 3);
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *entry = list->child(i);
            QVERIFY(entry);
            QCOMPARE(entry->role(), QAccessible::ListItem);
            QCOMPARE(entry->text(QAccessible::Name), entries.at(i));
            QCOMPARE(bool(entry->state().selected), i == 1);
            QVERIFY(!entry->state().offscreen);
            QCOMPARE(entry->parent(), list);
            QCOMPARE(list->indexOfChild(entry), i);
            // The same object every time it is asked for.
            QCOMPARE(list->child(i), entry);
        }
        QCOMPARE(list->focusChild(), list->child(1));
        const QPoint third = list->child(2)->rect().center();
        QCOMPARE(list->childAt(third.x(), third.y()), list->child(2));
    }

    // Entries below a removed one move up: what was said about the old rows
    // must not describe other entries now. Appends move nothing.
    void jobList_entriesFollowRemovalAndAppend()
    {
        FakeDesktop fakes;
        const auto form = shownForm(fakes, {u"A"_s, u"B"_s, u"C"_s});
        QVERIFY(form);
        QAccessibleInterface *list = listInterface(*form);
        const QAccessible::Id firstBefore = QAccessible::uniqueId(list->child(0));

        form->jobs().remove(1);
        QCOMPARE(QAccessible::accessibleInterface(firstBefore), nullptr);
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(0)->text(QAccessible::Name), u"B"_s);

        QAccessibleInterface *first = list->child(0);
        form->jobs().add(u"D"_s);
        QCOMPARE(list->child(0), first);
        QCOMPARE(list->child(2)->text(QAccessible::Name), u"D"_s);
    }

    // A million entries are counted, not made: only those asked for exist.
    void jobList_millionEntries()
    {
        FakeDesktop fakes;
        const auto form = shownForm(fakes, {});
        QVERIFY(form);
        constexpr int Count = 1'000'000;
        for (int i = 1; i <= Count; ++i)
            form->jobs().add(QString::number(i));
        QAccessibleInterface *list = listInterface(*form);
        QCOMPARE(list->childCount(), Count);
        QAccessibleInterface *last = list->child(Count - 1);
        QCOMPARE(last->text(QAccessible::Name), QString::number(Count));
        QVERIFY(last->state().offscreen);
        QCOMPARE(list->indexOfChild(last), Count - 1);
    }

    void buttons_haveNamesAndDescriptions_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("described");
        QTest::newRow("Check1") << 1 << u"Add Local HTML File(s)"_s << u"HTML files"_s;
        QTest::newRow("Check6") << 6 << u"Add Remote HTML URLs From Text File"_s << u"web addresses"_s;
        QTest::newRow("Check4") << 4 << u" Add All HTML Files In Folder"_s << u"folder"_s;
        QTest::newRow("Check2") << 2 << u"Print HTML Files"_s << u"printer"_s;
    }
    void buttons_haveNamesAndDescriptions()
    {
        QFETCH(int, button);
        QFETCH(QString, name);
        QFETCH(QString, described);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const QHash<int, app::ActionButton *> buttons{
            {1, form.Check1()}, {6, form.Check6()}, {4, form.Check4()}, {2, form.Check2()}};
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(buttons.value(button));
        QVERIFY(iface);
        QCOMPARE(iface->role(), QAccessible::Button);
        QCOMPARE(iface->text(QAccessible::Name), name);
        QVERIFY2(iface->text(QAccessible::Description).contains(described),
                 qPrintable(iface->text(QAccessible::Description)));
        // Pressing it through assistive technology is a click.
        QAccessibleActionInterface *actions = iface->actionInterface();
        QVERIFY(actions && actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        QSignalSpy clicked(buttons.value(button), &QAbstractButton::clicked);
        fakes.inputBox->answers << QString();  // Check4 asks first; cancel it
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(clicked.size(), 1);
        QVERIFY(!buttons.value(button)->isChecked());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
