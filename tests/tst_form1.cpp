// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/progressbar.h"
#include "app/window/startup.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"

#include "support/fakedesktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTest>

using core::MousePointer;

namespace {
// The design's unit: 15 twips to a pixel at 96 dots per inch.
constexpr int fromTwips(int twips) { return twips / 15; }
} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The load sequence, on a start that draws 7: the home page opens and
    // the window is still made as on any other start.
    void load_setsCaptionColumnBarAndPointer()
    {
        FakeDesktop fakes;
        core::Desktop desktop = fakes.make();
        fakes.random->value = 0.065;
        app::Form1 form(std::move(desktop));
        QCOMPARE(fakes.launcher->opened, QList<QUrl>{app::HomePageUrl});
        QCOMPARE(form.windowTitle(), QStringLiteral("Tavimark"));
        QCOMPARE(form.jobs().columnCount(), 1);
        QCOMPARE(form.jobs().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QStringLiteral("HTML File(s)"));
        QCOMPARE(form.ListView1()->header()->sectionSize(0), fromTwips(7000));
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

    // Each control against the window's design: position and size in twips,
    // its text (a button's caption, the list's tooltip) and its font in
    // points (0 where the design gives none).
    void design_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("points");
        QTest::newRow("ListView1")
            << QStringLiteral("ListView1") << QRect(120, 120, 9015, 2295)
            << QStringLiteral("Drag and drop files here. Double-click item to remove it. "
                              "Move bar to right and out of window to reveal full names.")
            << 9.0;
        QTest::newRow("Check1") << QStringLiteral("Check1") << QRect(120, 2520, 2175, 1455)
                                << QStringLiteral("Add Local HTML File(s)") << 11.25;
        QTest::newRow("Check6") << QStringLiteral("Check6") << QRect(2400, 2520, 2175, 1455)
                                << QStringLiteral("Add Remote HTML URLs From Text File") << 11.25;
        QTest::newRow("Check4") << QStringLiteral("Check4") << QRect(4680, 2520, 2175, 1455)
                                << QStringLiteral(" Add All HTML Files In Folder") << 11.25;
        QTest::newRow("Check2") << QStringLiteral("Check2") << QRect(6960, 2520, 2175, 1455)
                                << QStringLiteral("Print HTML Files") << 11.25;
        QTest::newRow("ProgressBar1") << QStringLiteral("ProgressBar1") << QRect(120, 4080, 9015, 375) << QString() << 0.0;
        QTest::newRow("Command1") << QStringLiteral("Command1") << QRect(-720, 2640, 615, 495)
                                  << QStringLiteral("Command1") << 0.0;
    }
    void design()
    {
        QFETCH(QString, control);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        QFETCH(double, points);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QWidget *widget = controlNamed(form, control);
        QCOMPARE(widget->geometry(),
                 QRect(fromTwips(twips.x()), fromTwips(twips.y()), fromTwips(twips.width()), fromTwips(twips.height())));
        QCOMPARE(shownText(widget), text);
        if (points > 0) {
            QCOMPARE(widget->font().family(), QStringLiteral("Arial"));
            QVERIFY(widget->font().bold());
            // Points at 96 dots per inch.
            QCOMPARE(widget->font().pixelSize(), qRound(points * 96 / 72));
        }
        if (auto *button = qobject_cast<app::ActionButton *>(widget)) {
            QVERIFY(!button->isChecked());
            QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
        }
    }

    void window_isFixedWithoutMaximize()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const QSize designed(fromTwips(9255), fromTwips(4575));
        QCOMPARE(form.minimumSize(), designed);
        QCOMPARE(form.maximumSize(), designed);
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(form.windowFlags() & Qt::WindowCloseButtonHint);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::white));
    }

    // The window carries the program's drawing at every size a desktop asks
    // for, each drawn at that size: the printer opaque in the middle, the
    // corner clear.
    void windowIcon_isTheDrawingAtEverySize()
    {
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const QIcon icon = form.windowIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString at = QString::number(size);
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(at));
            const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY2(image.pixelColor(size / 2, size * 5 / 8).alpha() == 255, qPrintable(at));
            QVERIFY2(image.pixelColor(0, 0).alpha() == 0, qPrintable(at));
        }
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

    void enterOnActionButton_pressesIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers();
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier);
    }
    void enterOnActionButton_pressesIt()
    {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        fakes.fileDialog->answers << QStringList{QStringLiteral("/docs/a.htm")};
        form.Check1()->setFocus();
        QTest::keyClick(form.Check1(), Qt::Key(key), modifiers);
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QCOMPARE(form.jobs().count(), 1);
        QVERIFY(!form.Check1()->isChecked());
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
        // Only the change to pressed runs the action: a button that is
        // pressed without its notification and then raised runs nothing.
        {
            const QSignalBlocker quiet(form.Check1());
            form.Check1()->setChecked(true);
        }
        form.Check1()->setChecked(false);
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QCOMPARE(form.jobs().count(), 1);
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
    static QString shownText(QWidget *control)
    {
        if (auto *button = qobject_cast<app::ActionButton *>(control))
            return button->caption();
        if (auto *button = qobject_cast<QPushButton *>(control))
            return button->text();
        return control->toolTip();
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
