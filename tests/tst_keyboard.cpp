// The window without a mouse: the list's keys and Enter on the buttons, sent
// as key events to the widget that has the focus, as a keyboard sends them.
#include "app/actionbutton.h"
#include "app/form1.h"
#include "joblist/joblist.h"
#include "joblist/joblistview.h"
#include "joblist/reordergesture.h"

#include "fakedesktop.h"

#include <QApplication>
#include <QTest>

#include <memory>

namespace {

std::unique_ptr<app::Form1> activeForm(FakeDesktop &fakes, const QStringList &entries)
{
    auto form = std::make_unique<app::Form1>(fakes.make());
    for (const QString &entry : entries)
        form->jobs().add(entry);
    form->show();
    if (!QTest::qWaitForWindowActive(form.get()))
        return nullptr;
    return form;
}

QStringList texts(app::Form1 &form)
{
    QStringList all;
    for (int i = 1; i <= form.jobs().count(); ++i)
        all << form.jobs().text(i);
    return all;
}

QStringList letters(const char *spaced)
{
    return QString::fromLatin1(spaced).split(u' ');
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listKeys_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<QKeyCombination>>("keys");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selectedAfter");

        const QKeyCombination up(Qt::Key_Up);
        const QKeyCombination down(Qt::Key_Down);
        const QKeyCombination del(Qt::Key_Delete);
        const QKeyCombination ctrlUp(Qt::ControlModifier, Qt::Key_Up);
        const QKeyCombination ctrlDown(Qt::ControlModifier, Qt::Key_Down);
        const QStringList abcd = letters("A B C D");

        QTest::newRow("Down moves the selection") << abcd << 2 << QList{down} << abcd << 3;
        QTest::newRow("Up moves the selection") << abcd << 2 << QList{up} << abcd << 1;
        QTest::newRow("Down stops at the last entry") << abcd << 4 << QList{down} << abcd << 4;
        QTest::newRow("first Down selects the focus frame") << abcd << 0 << QList{down} << abcd << 1;
        // The view selects the entry that takes the removed one's place.
        QTest::newRow("Delete removes the selected entry") << abcd << 2 << QList{del} << letters("A C D") << 2;
        QTest::newRow("Delete twice") << abcd << 2 << QList{del, del} << letters("A D") << 2;
        QTest::newRow("Delete the last entry") << abcd << 4 << QList{del} << letters("A B C") << 3;
        QTest::newRow("Delete without a selection") << abcd << 0 << QList{del} << abcd << 0;
        QTest::newRow("Ctrl+Down moves the entry") << abcd << 2 << QList{ctrlDown} << letters("A C B D") << 3;
        QTest::newRow("Ctrl+Up moves the entry") << abcd << 2 << QList{ctrlUp} << letters("B A C D") << 1;
        QTest::newRow("Ctrl+Down twice") << abcd << 1 << QList{ctrlDown, ctrlDown} << letters("B C A D") << 3;
        QTest::newRow("Ctrl+Up at the top") << abcd << 1 << QList{ctrlUp} << abcd << 1;
        QTest::newRow("Ctrl+Down at the bottom") << abcd << 4 << QList{ctrlDown} << abcd << 4;
        QTest::newRow("Ctrl+Down without a selection") << abcd << 0 << QList{ctrlDown} << abcd << 0;
        QTest::newRow("Ctrl+Down past an equal entry")
            << letters("A A B") << 1 << QList{ctrlDown, ctrlDown} << letters("A B A") << 3;
    }
    void listKeys()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, selected);
        QFETCH(QList<QKeyCombination>, keys);
        QFETCH(QStringList, expected);
        QFETCH(int, selectedAfter);
        FakeDesktop fakes;
        const auto form = activeForm(fakes, entries);
        QVERIFY(form);
        joblist::JobListView *list = form->ListView1();

        // Tab reaches the list from the button before it.
        form->Check2()->setFocus();
        QTest::keyClick(form->Check2(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        if (selected > 0)
            list->selectPosition(selected);

        for (const QKeyCombination key : keys)
            QTest::keyClick(list, key.key(), key.keyboardModifiers());
        QCOMPARE(texts(*form), expected);
        QCOMPARE(list->selectedPosition(), selectedAfter);
    }

    // The keyboard's move is the drag's exchange: the moved entry is the
    // one a held button drags on from.
    void ctrlMove_leavesTheMovedEntryToDragOn()
    {
        FakeDesktop fakes;
        const auto form = activeForm(fakes, letters("A B C D"));
        QVERIFY(form);
        form->ListView1()->setFocus();
        form->ListView1()->selectPosition(1);
        QTest::keyClick(form->ListView1(), Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(form->reorderGesture().draggedPosition(), 2);
    }

    void enterOnButton_pressesIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void enterOnButton_pressesIt()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        FakeDesktop fakes;
        const auto form = activeForm(fakes, {});
        QVERIFY(form);
        fakes.fileDialog->answers << QStringLiteral("/docs/a.htm");
        form->Check1()->setFocus();
        QTest::keyClick(form->Check1(), Qt::Key(key), modifiers);
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QCOMPARE(texts(*form), QStringList{QStringLiteral("/docs/a.htm")});
        QVERIFY(!form->Check1()->isChecked());

        // The print button runs the print run, which finds nothing to print.
        form->Check2()->setFocus();
        form->jobs().remove(1);
        QTest::keyClick(form->Check2(), Qt::Key(key), modifiers);
        QCOMPARE(fakes.messageBox->shown, QStringList{QStringLiteral("No files added.")});
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
