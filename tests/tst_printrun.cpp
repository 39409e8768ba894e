// The print run's bookkeeping with a scripted printer: the order of its
// steps, the bar, the messages, and what happens when the list or the
// printer changes under it.
#include "app/actionbutton.h"
#include "app/form1.h"
#include "app/progressbar.h"
#include "joblist/joblist.h"
#include "printing/printrun.h"

#include "fakedesktop.h"

#include <QSignalSpy>
#include <QTest>

using platform::MousePointer;

namespace {

struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form;

    explicit Window(int entries = 0)
    {
        form = std::make_unique<app::Form1>(fakes.make());
        for (int i = 1; i <= entries; ++i)
            form->jobs().add(u"/docs/" + QString::number(i) + u".htm");
    }
    joblist::JobList &jobs() { return form->jobs(); }
    ScriptedPrinter &printer() { return *fakes.printer; }
    void print() { form->Check2()->click(); }
    QStringList messages() const { return fakes.messageBox->shown; }
};

QStringList firstEntries(int count)
{
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts << u"/docs/" + QString::number(i) + u".htm";
    return texts;
}

} // namespace

class TestPrintRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bar_isSetToTheShareBegunBeforeEachEntry_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<float>>("values");
        QTest::newRow("one") << 1 << QList<float>{100.0f};
        QTest::newRow("three, unrounded")
            << 3 << QList<float>{float(1.0 / 3 * 100), float(2.0 / 3 * 100), 100.0f};
        QTest::newRow("four") << 4 << QList<float>{25.0f, 50.0f, 75.0f, 100.0f};
    }
    void bar_isSetToTheShareBegunBeforeEachEntry()
    {
        QFETCH(int, entries);
        QFETCH(QList<float>, values);
        Window window(entries);
        QList<qsizetype> loadedWhenSet;
        connect(&window.form->printRun(), &printing::PrintRun::progress, this,
                [&](float) { loadedWhenSet << window.printer().loaded.size(); });
        QSignalSpy bar(&window.form->printRun(), &printing::PrintRun::progress);

        window.print();

        QList<float> seen;
        for (const QList<QVariant> &call : bar)
            seen << call.first().toFloat();
        QCOMPARE(seen, values + QList<float>{0.0f});
        for (int i = 0; i < entries; ++i)
            QCOMPARE(loadedWhenSet.at(i), qsizetype(i));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
    }

    void run_printsEveryEntryInOrderWithItsTextAsTitle()
    {
        Window window(3);
        QList<MousePointer> pointers;
        window.printer().onLoad = [&](const QString &) { pointers << window.form->mousePointer(); };

        window.print();

        QCOMPARE(window.printer().loaded, firstEntries(3));
        QCOMPARE(window.printer().queued, firstEntries(3));
        QCOMPARE(pointers, QList<MousePointer>(3, MousePointer::Busy));
        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
        QCOMPARE(window.jobs().count(), 3);
    }

    void emptyList_saysNoFilesAddedAndAsksNothingOfThePrinter()
    {
        Window window;
        window.print();
        QCOMPARE(window.messages(), QStringList{QStringLiteral("No files added.")});
        QCOMPARE(window.printer().problemChecks, 0);
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void printerProblem_isSaidBeforeAnythingLoads()
    {
        Window window(2);
        window.printer().problem = QStringLiteral("No default printer is set up, so nothing was printed.");
        window.print();
        QCOMPARE(window.messages(), QStringList{*window.printer().problem});
        QVERIFY(window.printer().loaded.isEmpty());
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void printerFailingPartWay_stopsAndSaysWhatWasSent()
    {
        Window window(4);
        window.printer().printerFailsAfter = 2;
        window.print();
        QCOMPARE(window.printer().loaded, firstEntries(3));
        QCOMPARE(window.messages().size(), 1);
        const QString message = window.messages().first();
        QVERIFY2(message.contains(u"printer on fire"), qPrintable(message));
        QVERIFY2(message.contains(u"Sent to printer: 2 entries\n/docs/1.htm\n/docs/2.htm"), qPrintable(message));
        QVERIFY2(message.contains(u"Not sent: 2 entries\n/docs/3.htm\n/docs/4.htm"), qPrintable(message));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
    }

    void failedLoads_areNamedTwentyAtMost()
    {
        Window window(25);
        for (int i = 1; i <= 24; ++i)
            window.printer().failingLoads.insert(window.jobs().text(i), QStringLiteral("file not found"));
        window.print();
        QCOMPARE(window.printer().queued, QStringList{QStringLiteral("/docs/25.htm")});
        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"Print jobs sent to printer, except for 24 entries that could not be printed:"),
                 qPrintable(message));
        QVERIFY(message.contains(u"/docs/20.htm (file not found)"));
        QVERIFY(!message.contains(u"/docs/21.htm"));
        QVERIFY(message.endsWith(u"... and 4 more."));
    }

    void secondPressDuringARun_isRefused()
    {
        Window window(3);
        window.printer().onLoad = [&](const QString &) { window.print(); };
        window.print();
        QCOMPARE(window.printer().loaded, firstEntries(3));
        QCOMPARE(window.messages().size(), 1);
    }

    void entriesAddedDuringARun_waitForTheNextRun()
    {
        Window window(2);
        window.printer().onLoad = [&](const QString &) { window.jobs().add(QStringLiteral("/docs/late.htm")); };
        window.print();
        QCOMPARE(window.printer().loaded, firstEntries(2));
        QCOMPARE(window.jobs().count(), 4);
    }

    void entriesRemovedDuringARun_endItCleanly_data()
    {
        QTest::addColumn<int>("leftAfterFirst");
        QTest::newRow("one left") << 1;
        QTest::newRow("none left") << 0;
    }
    void entriesRemovedDuringARun_endItCleanly()
    {
        QFETCH(int, leftAfterFirst);
        Window window(4);
        window.printer().onLoad = [&](const QString &) {
            while (window.jobs().count() > leftAfterFirst)
                window.jobs().remove(window.jobs().count());
        };
        QSignalSpy bar(&window.form->printRun(), &printing::PrintRun::progress);
        window.print();
        QCOMPARE(window.printer().loaded.size(), 1);
        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        for (const QList<QVariant> &call : bar)
            QVERIFY(qIsFinite(call.first().toFloat()));
    }

    void closingTheWindow_endsTheRunWithoutAMessage()
    {
        Window window(3);
        window.form->show();
        window.printer().onLoad = [&](const QString &) { window.form->close(); };
        window.print();
        QCOMPARE(window.printer().loaded, firstEntries(1));
        QVERIFY(window.messages().isEmpty());
        QVERIFY(!window.form->printRun().running());
    }

    void messages_data()
    {
        QTest::addColumn<QStringList>("notPrinted");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all sent") << QStringList{} << QStringLiteral("Done. Print jobs sent to printer.");
        QTest::newRow("one not printed")
            << QStringList{QStringLiteral("/a.htm (file not found)")}
            << QStringLiteral("Print jobs sent to printer, except for 1 entry that could not be printed:\n\n"
                              "/a.htm (file not found)");
    }
    void messages()
    {
        QFETCH(QStringList, notPrinted);
        QFETCH(QString, expected);
        QCOMPARE(printing::closingMessage(notPrinted), expected);
    }
};

QTEST_MAIN(TestPrintRun)
#include "tst_printrun.moc"
