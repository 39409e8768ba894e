#include "app/actionbutton.h"
#include "app/form1.h"
#include "app/progressbar.h"
#include "joblist/joblist.h"
#include "joblist/joblistview.h"

#include "fakedesktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

using platform::MousePointer;

class TestForm1 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void load_setsCaptionColumnBarAndPointer()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.windowTitle(), QStringLiteral("Tavimark"));
        QCOMPARE(form.jobs().columnCount(), 1);
        QCOMPARE(form.jobs().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("HTML File(s)"));
        QCOMPARE(form.ListView1()->header()->sectionSize(0), 7000 / 15);
        QCOMPARE(form.jobs().count(), 0);
        QCOMPARE(form.ProgressBar1()->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(form.ProgressBar1()->percent(), 0.0f);
        QCOMPARE(form.mousePointer(), MousePointer::Default);
        QVERIFY(fakes.messageBox->shown.isEmpty());
    }

    void load_findsHandCursorBesideTheProgram()
    {
        const bool present = QFile::exists(QCoreApplication::applicationDirPath() + u"/HAND-M.CUR");
        QVERIFY2(present, "the build puts the cursor files beside every executable");
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QVERIFY(form.hasMouseIcon());
    }

    void load_opensHomePageOnlyOnDrawSeven_data()
    {
        QTest::addColumn<double>("draw");
        QTest::addColumn<int>("opened");
        QTest::newRow("draw 7") << 0.065 << 1;
        QTest::newRow("draw 8") << 0.075 << 0;
    }
    void load_opensHomePageOnlyOnDrawSeven()
    {
        QFETCH(double, draw);
        QFETCH(int, opened);
        FakeDesktop fakes;
        platform::Desktop desktop = fakes.make();
        fakes.random->value = draw;
        app::Form1 form(std::move(desktop));
        QCOMPARE(fakes.launcher->opened.size(), opened);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tavimark"));
    }

    void layout_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("ListView1") << QStringLiteral("ListView1") << QRect(8, 8, 601, 153);
        QTest::newRow("Check1") << QStringLiteral("Check1") << QRect(8, 168, 145, 97);
        QTest::newRow("Check6") << QStringLiteral("Check6") << QRect(160, 168, 145, 97);
        QTest::newRow("Check4") << QStringLiteral("Check4") << QRect(312, 168, 145, 97);
        QTest::newRow("Check2") << QStringLiteral("Check2") << QRect(464, 168, 145, 97);
        QTest::newRow("ProgressBar1") << QStringLiteral("ProgressBar1") << QRect(8, 272, 601, 25);
        QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(-48, 176, 41, 33);
    }
    void layout()
    {
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.size(), QSize(617, 305));
        QCOMPARE(controlNamed(form, control)->geometry(), pixels);
    }

    void window_isFixedWithoutMaximize()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.minimumSize(), QSize(617, 305));
        QCOMPARE(form.maximumSize(), QSize(617, 305));
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(form.windowIcon().pixmap(32, 32).toImage().pixelColor(16, 16).alpha() == 0);
    }

    void buttons_captionsAndFonts_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Check1") << QStringLiteral("Check1") << QStringLiteral("Add Local HTML File(s)");
        QTest::newRow("Check6") << QStringLiteral("Check6") << QStringLiteral("Add Remote HTML URLs From Text File");
        QTest::newRow("Check4") << QStringLiteral("Check4") << QStringLiteral(" Add All HTML Files In Folder");
        QTest::newRow("Check2") << QStringLiteral("Check2") << QStringLiteral("Print HTML Files");
    }
    void buttons_captionsAndFonts()
    {
        QFETCH(QString, control);
        QFETCH(QString, caption);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        auto *button = qobject_cast<app::ActionButton *>(controlNamed(form, control));
        QVERIFY(button);
        QCOMPARE(button->caption(), caption);
        QCOMPARE(button->font().family(), QStringLiteral("Arial"));
        QVERIFY(button->font().bold());
        QCOMPARE(button->font().pixelSize(), 15);
        QVERIFY(!button->isChecked());
        QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
    }

    void list_fontAndTooltip()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.ListView1()->font().family(), QStringLiteral("Arial"));
        QVERIFY(form.ListView1()->font().bold());
        QCOMPARE(form.ListView1()->font().pixelSize(), 12);
        const QString tip = form.ListView1()->toolTip();
        QCOMPARE(tip.size(), 115);
        QVERIFY(tip.startsWith(QStringLiteral("Drag and drop files here.")));
    }

    void focus_startsOnInvisibleCommand1_andTabOrderFollows()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.Command1());
        // Enter and Space on the invisible button do nothing at all.
        QTest::keyClick(form.Command1(), Qt::Key_Space);
        QTest::keyClick(form.Command1(), Qt::Key_Return);
        QVERIFY(fakes.fileDialog->calls.isEmpty());
        QCOMPARE(form.jobs().count(), 0);

        const QList<QWidget *> expected{form.Check1(), form.Check2(), form.ListView1(), form.Check4(), form.Check6()};
        for (QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void actionButton_onePressRunsOneAction()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        fakes.fileDialog->answers << QStringList{QStringLiteral("/docs/a.htm")};
        QTest::mouseClick(form.Check1(), Qt::LeftButton);
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QVERIFY(!form.Check1()->isChecked());
        QCOMPARE(form.jobs().count(), 1);
        // A raise that nobody asked for (value to 0) runs nothing.
        form.Check1()->setChecked(false);
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
    }

    void pointer_values()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.setMousePointer(MousePointer::Busy);
        QCOMPARE(form.cursor().shape(), Qt::WaitCursor);
        form.setMousePointer(MousePointer::Custom);
        QCOMPARE(form.cursor().shape(), form.hasMouseIcon() ? Qt::BitmapCursor : Qt::ArrowCursor);
        form.setMousePointer(MousePointer::Default);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(form.mousePointer(), MousePointer::Default);
    }

    void close_tellsLongActionsToStop()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.eventYield().yield());
        form.close();
        QVERIFY(form.eventYield().closed());
        QVERIFY(!form.eventYield().yield());
        QVERIFY(!form.isVisible());
    }

private:
    static QWidget *controlNamed(app::Form1 &form, const QString &name)
    {
        const QHash<QString, QWidget *> controls{
            {QStringLiteral("ListView1"), form.ListView1()}, {QStringLiteral("Check1"), form.Check1()},
            {QStringLiteral("Check6"), form.Check6()},       {QStringLiteral("Check4"), form.Check4()},
            {QStringLiteral("Check2"), form.Check2()},       {QStringLiteral("ProgressBar1"), form.ProgressBar1()},
            {QStringLiteral("Command1"), form.Command1()},
        };
        return controls.value(name);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
