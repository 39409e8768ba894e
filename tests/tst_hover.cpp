// SPDX-License-Identifier: GPL-3.0-or-later
// Hover feedback of the main window: the pointer moves as the windowing
// system moves it, and the window decides which pointer shows.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/hover.h"
#include "app/window/progressbar.h"
#include "joblist/view/joblistview.h"

#include "support/fakedesktop.h"
#include "support/recordingpointer.h"

#include <QTest>

using core::MousePointer;

namespace {

// A point of the window, in its own coordinates, over the named place.
QPoint pointOver(const app::Form1 &form, const QString &place)
{
    if (place == u"background")  // the gap between Check1 and Check6
        return {(form.Check1()->geometry().right() + form.Check6()->geometry().left()) / 2,
                form.Check1()->geometry().center().y()};
    if (place == u"corner")
        return {2, 2};
    QWidget *const controls[] = {form.Check1(), form.Check6(), form.Check4(), form.Check2(),
                                 form.ProgressBar1(), form.ListView1()};
    for (QWidget *control : controls) {
        if (control->objectName() == place || control->accessibleName() == place)
            return control->geometry().center();
    }
    return {};
}

} // namespace

class TestHover : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules_data()
    {
        QTest::addColumn<bool>("overButton");
        QTest::addColumn<MousePointer>("before");
        QTest::addColumn<MousePointer>("after");
        QTest::newRow("button, arrow") << true << MousePointer::Default << MousePointer::Custom;
        QTest::newRow("button, hand") << true << MousePointer::Custom << MousePointer::Custom;
        QTest::newRow("button, busy") << true << MousePointer::Busy << MousePointer::Busy;
        QTest::newRow("background, hand") << false << MousePointer::Custom << MousePointer::Default;
        QTest::newRow("background, arrow") << false << MousePointer::Default << MousePointer::Default;
        QTest::newRow("background, busy") << false << MousePointer::Busy << MousePointer::Busy;
    }
    void rules()
    {
        QFETCH(bool, overButton);
        QFETCH(MousePointer, before);
        QFETCH(MousePointer, after);
        RecordingPointer window;
        window.current = before;
        if (overButton)
            app::showHandOverButton(window);
        else
            app::showArrowOverBackground(window);
        QCOMPARE(window.current, after);
        // Only a real change reaches the window.
        QCOMPARE(window.changes.size(), before == after ? 0 : 1);
    }

    void pointerMoves_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<MousePointer>("before");
        QTest::addColumn<MousePointer>("after");
        const QStringList buttons{QStringLiteral("Add Local HTML File(s)"),
                                  QStringLiteral("Add Remote HTML URLs From Text File"),
                                  QStringLiteral(" Add All HTML Files In Folder"),
                                  QStringLiteral("Print HTML Files")};
        for (const QString &button : buttons) {
            QTest::addRow("over \"%s\"", qPrintable(button)) << button << MousePointer::Default << MousePointer::Custom;
            QTest::addRow("over \"%s\", busy", qPrintable(button)) << button << MousePointer::Busy << MousePointer::Busy;
        }
        QTest::newRow("background between buttons") << QStringLiteral("background") << MousePointer::Custom << MousePointer::Default;
        QTest::newRow("background corner") << QStringLiteral("corner") << MousePointer::Custom << MousePointer::Default;
        QTest::newRow("background, busy") << QStringLiteral("background") << MousePointer::Busy << MousePointer::Busy;
        QTest::newRow("list") << QStringLiteral("ListView1") << MousePointer::Custom << MousePointer::Default;
        QTest::newRow("list, busy") << QStringLiteral("ListView1") << MousePointer::Busy << MousePointer::Busy;
        // The bar has no say in the pointer.
        QTest::newRow("progress bar") << QStringLiteral("ProgressBar1") << MousePointer::Custom << MousePointer::Custom;
    }
    void pointerMoves()
    {
        QFETCH(QString, place);
        QFETCH(MousePointer, before);
        QFETCH(MousePointer, after);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.ListView1()->setObjectName(QStringLiteral("ListView1"));
        form.ProgressBar1()->setObjectName(QStringLiteral("ProgressBar1"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint target = pointOver(form, place);
        QVERIFY(!target.isNull());
        // Start elsewhere, so the move to the target is a real move.
        QTest::mouseMove(&form, target + QPoint(3, 3));
        form.setMousePointer(before);

        QTest::mouseMove(&form, target);

        QCOMPARE(form.mousePointer(), after);
        const Qt::CursorShape shown = form.cursor().shape();
        if (after == MousePointer::Busy)
            QCOMPARE(shown, Qt::WaitCursor);
        else if (after == MousePointer::Default)
            QCOMPARE(shown, Qt::ArrowCursor);
        else
            QCOMPARE(shown, form.hasMouseIcon() ? Qt::BitmapCursor : Qt::ArrowCursor);
    }

    void fromButtonToButton_showsArrowThenHand()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseMove(&form, form.Check1()->geometry().center());
        QCOMPARE(form.mousePointer(), MousePointer::Custom);
        QTest::mouseMove(&form, pointOver(form, QStringLiteral("background")));
        QCOMPARE(form.mousePointer(), MousePointer::Default);
        QTest::mouseMove(&form, form.Check6()->geometry().center());
        QCOMPARE(form.mousePointer(), MousePointer::Custom);
    }
};

QTEST_MAIN(TestHover)
#include "tst_hover.moc"
