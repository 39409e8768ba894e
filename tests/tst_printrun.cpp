// SPDX-License-Identifier: GPL-3.0-or-later
// The print run's bookkeeping with scripted pages and a scripted printer: the
// order of its steps, the bar, the messages, and what happens when the list
// or the printer changes under it.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/listmenu.h"
#include "app/window/progressbar.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"
#include "joblist/view/markicons.h"
#include "printing/printqueue.h"
#include "printing/printrun.h"

#include "support/fakedesktop.h"

#include <QAction>
#include <QIcon>
#include <QShortcut>
#include <QRandomGenerator>
#include <QApplication>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>

#include <set>

using namespace std::chrono_literals;
using joblist::Mark;
using core::MousePointer;

namespace {

QString entry(int i) { return u"/docs/" + QString::number(i) + u".htm"; }

QStringList entries(std::initializer_list<int> numbers)
{
    QStringList texts;
    for (const int i : numbers)
        texts << entry(i);
    return texts;
}

struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form;

    explicit Window(int count = 0, int renderers = 3)
    {
        form = std::make_unique<app::Form1>(fakes.make());
        printing::RunSettings settings;
        settings.renderers = renderers;
        form->printRun().setSettings(settings);
        for (int i = 1; i <= count; ++i)
            form->jobs().add(entry(i));
    }
    joblist::JobList &jobs() { return form->jobs(); }
    printing::PrintRun &run() { return form->printRun(); }
    PrinterScript &printer() { return *fakes.printer; }
    RenderScript &pages() { return *fakes.pages.script; }
    QStringList messages() const { return fakes.messageBox->shown; }
    QStringList taken() const { return fakes.printer->takenEntries(); }

    // Presses Print and waits for the closing message.
    bool print()
    {
        const qsizetype before = fakes.messageBox->shown.size();
        QSignalSpy finished(&form->printRun(), &printing::PrintRun::finished);
        form->Check2()->click();
        if (finished.isEmpty() && !finished.wait(20'000))
            return false;
        // The message opens on the next turn of the event loop.
        return QTest::qWaitFor([&] { return fakes.messageBox->shown.size() > before; }, 5'000);
    }
    // Positions of the entries whose texts are `texts`, as they stand now.
    int positionOf(const QString &text)
    {
        for (int position = 1; position <= jobs().count(); ++position) {
            if (jobs().text(position) == text)
                return position;
        }
        return 0;
    }
    // The reorder gesture moves an entry one exchange at a time.
    void drag(int from, int to)
    {
        const int step = to > from ? 1 : -1;
        for (int at = from; at != to; at += step)
            jobs().exchange(at, at + step);
    }
};

// Counts the presses of one key that reach a widget.
class KeyWatch final : public QObject {
public:
    KeyWatch(QWidget *widget, int key, int &seen) : m_key(key), m_seen(seen) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == m_key)
            ++m_seen;
        return false;
    }

private:
    int m_key;
    int &m_seen;
};

} // namespace

class TestPrintRun : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bar_showsTheShareBegunAtEachStep_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<float>>("values");
        QTest::newRow("one") << 1 << QList<float>{100.0f};
        QTest::newRow("three, unrounded") << 3 << QList<float>{float(1.0 / 3 * 100), float(2.0 / 3 * 100), 100.0f};
        QTest::newRow("four") << 4 << QList<float>{25.0f, 50.0f, 75.0f, 100.0f};
    }
    void bar_showsTheShareBegunAtEachStep()
    {
        QFETCH(int, count);
        QFETCH(QList<float>, values);
        Window window(count);
        QList<qsizetype> takenWhenSet;
        connect(&window.run(), &printing::PrintRun::progress, this, [&](float) { takenWhenSet << window.taken().size(); });
        QSignalSpy bar(&window.run(), &printing::PrintRun::progress);

        QVERIFY(window.print());

        QList<float> seen;
        for (const QList<QVariant> &call : bar)
            seen << call.first().toFloat();
        QCOMPARE(seen, values);
        // Each value is shown before its entry's job goes out.
        for (int i = 0; i < count; ++i)
            QCOMPARE(takenWhenSet.at(i), qsizetype(i));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
    }

    void run_printsEveryEntryOnceInOrderAndMarksIt()
    {
        Window window(5);
        QList<MousePointer> pointers;
        window.fakes.messageBox->whileShown = [&] { pointers << window.form->mousePointer(); };

        QVERIFY(window.print());

        QCOMPARE(window.taken(), entries({1, 2, 3, 4, 5}));
        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QCOMPARE(window.fakes.messageBox->details, QStringList{QString()});
        // The hourglass stays while the message is up, and goes with it.
        QCOMPARE(pointers, QList<MousePointer>{MousePointer::Busy});
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
        QCOMPARE(window.jobs().count(), 5);
        for (int position = 1; position <= 5; ++position) {
            QCOMPARE(window.jobs().text(position), entry(position));
            QCOMPARE(window.jobs().mark(position), Mark::Printed);
        }
        QCOMPARE(window.printer().documents.first(), entry(1).toUtf8());
    }

    void pages_workAheadUpToTheirNumber_data()
    {
        QTest::addColumn<int>("renderers");
        QTest::newRow("strict alternation") << 1;
        QTest::newRow("three pages") << 3;
    }
    // While the first document is late, the pages go on with the next ones,
    // keeping a few ready per page, but nothing reaches the printer out of
    // order; no more pages are made than asked for.
    void pages_workAheadUpToTheirNumber()
    {
        QFETCH(int, renderers);
        Window window(12, renderers);
        window.pages().held = {entry(1)};
        window.form->Check2()->click();
        // One page alone waits on the late document; more go on past it.
        const qsizetype ahead = renderers == 1 ? 1 : std::min(12, renderers * 3);
        QTRY_COMPARE(window.pages().started.size(), ahead);
        QCoreApplication::processEvents();
        QCOMPARE(window.pages().started.size(), ahead);
        QCOMPARE(window.pages().started.first(), entry(1));
        QVERIFY(window.taken().isEmpty());
        QVERIFY(window.fakes.pages.release(entry(1)));
        QTRY_COMPARE(window.messages().size(), 1);
        QCOMPARE(window.taken(), entries({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
        QCOMPARE(window.pages().pagesMade, renderers);
        QCOMPARE(window.pages().started.size(), 12);
    }

    void emptyList_saysNoFilesAddedAndAsksNothingOfThePrinter()
    {
        Window window;
        QVERIFY(window.print());
        QCOMPARE(window.messages(), QStringList{QStringLiteral("No files added.")});
        QCOMPARE(window.printer().checks, 0);
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    // A run that ends while a dialog is open keeps its message until the
    // dialog is closed, so keys typed for the dialog stay the dialog's.
    void runEndingUnderAnOpenDialog_saysSoOnceTheDialogCloses()
    {
        Window window(2);
        QDialog dialog(window.form.get());
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &dialog);

        QSignalSpy finished(&window.run(), &printing::PrintRun::finished);
        window.form->Check2()->click();
        QVERIFY(finished.wait(20'000));
        // The turn of the event loop that would show the message.
        QCoreApplication::processEvents();

        QVERIFY(window.messages().isEmpty());
        QCOMPARE(window.form->mousePointer(), MousePointer::Busy);
        dialog.accept();
        QTRY_COMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    // The closing message opens once the run's own notification is over:
    // all who listen have heard the run end, and Print pressed while the
    // message is up starts a run of its own, which asks the printer before
    // it loads anything.
    void printPressedWhileTheClosingMessageIsUp_startsAFreshRun()
    {
        Window window(2);
        // The last document fails as it arrives, so that the run ends inside
        // the handling of its page's result.
        window.pages().held = {entry(2)};
        window.pages().failing.insert(entry(2), QStringLiteral("file not found"));
        const QString unusable = QStringLiteral("No default printer is set up, so nothing was printed.");
        QSignalSpy finished(&window.run(), &printing::PrintRun::finished);
        bool runOverWhileShown = false;
        window.fakes.messageBox->whileShown = [&] {
            if (window.messages().size() > 1)
                return;
            runOverWhileShown = !window.run().running() && finished.size() == 1;
            {
                QMutexLocker locked(&window.printer().lock);
                window.printer().problem = unusable;
            }
            window.form->Check2()->click();
        };
        window.form->Check2()->click();
        QTRY_COMPARE(window.taken(), entries({1}));
        QVERIFY(window.fakes.pages.release(entry(2)));

        QTRY_COMPARE(window.messages().size(), 2);
        QCOMPARE(window.messages().at(1), unusable);
        QCOMPARE(finished.size(), 2);
        QCOMPARE(window.pages().started, entries({1, 2}));
        QVERIFY(runOverWhileShown);
    }

    // The report keeps what is wrong apart from what to do about it; the
    // message says both.
    void printerProblem_isSaidBeforeAnythingLoads()
    {
        Window window(2);
        window.printer().problem = QStringLiteral("No default printer is set up, so nothing was printed.\n\n"
                                                  "Choose a default printer and print again.");
        QSignalSpy finished(&window.run(), &printing::PrintRun::finished);
        QVERIFY(window.print());
        QCOMPARE(window.messages(), QStringList{*window.printer().problem});
        const auto report = finished.first().first().value<printing::RunReport>();
        QCOMPARE(report.printerReason, QStringLiteral("No default printer is set up, so nothing was printed."));
        QCOMPARE(report.printerAdvice, QStringLiteral("Choose a default printer and print again."));
        QVERIFY(window.pages().started.isEmpty());
        QCOMPARE(window.jobs().mark(1), Mark::None);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void printerFailingPartWay_stopsAndSaysWhatWasSent()
    {
        Window window(4);
        window.printer().failsAfter = 2;
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({1, 2}));
        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"The printer stopped taking jobs (printer on fire), so printing was stopped."),
                 qPrintable(message));
        QVERIFY2(message.contains(u"Sent to printer: 2 entries\n/docs/1.htm\n/docs/2.htm"), qPrintable(message));
        QVERIFY2(message.contains(u"Not sent: 2 entries\n/docs/3.htm\n/docs/4.htm"), qPrintable(message));
        const QList<Mark> marks{window.jobs().mark(1), window.jobs().mark(2), window.jobs().mark(3), window.jobs().mark(4)};
        QCOMPARE(marks, (QList<Mark>{Mark::Printed, Mark::Printed, Mark::NotPrinted, Mark::NotPrinted}));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
    }

    // Once the engine can start no more pages, the run stops after the job
    // with the printer: from the entry that found it so on, every entry is
    // marked not printed because the engine failed, each reported once, and
    // one closing message says so.
    void engineFailingPartWay_stopsAndNamesTheRestOnce()
    {
        Window window(6, 2);
        window.pages().engineGone = {entry(3)};
        QSignalSpy finished(&window.run(), &printing::PrintRun::entryFinished);

        QVERIFY(window.print());

        const QString failed = QStringLiteral("the browser engine failed");
        QCOMPARE(window.messages().size(), 1);
        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"The browser engine failed, so printing was stopped."), qPrintable(message));
        QCOMPARE(finished.size(), 6);
        const int printed = int(window.taken().size());
        QVERIFY2(printed <= 2, qPrintable(window.taken().join(u' ')));
        for (int i = 1; i <= 6; ++i) {
            const QString text = finished.at(i - 1).at(2).toString();
            QCOMPARE(text, entry(i));
            const auto outcome = finished.at(i - 1).at(3).value<printing::EntryOutcome>();
            if (i <= printed) {
                QCOMPARE(window.taken().value(i - 1), entry(i));
                continue;
            }
            QCOMPARE(outcome.reason, failed);
            QCOMPARE(window.jobs().mark(i), Mark::NotPrinted);
            QCOMPARE(window.jobs().reason(i), failed);
            QCOMPARE(message.count(entry(i) + u" (" + failed + u')'), 1);
        }
    }

    // The user's stop, by Esc or by the list's menu, while the printer takes
    // a job or while the next document is still prepared: the job going out
    // completes, no other goes, and every other entry is named not printed
    // because it was stopped, each once, in marks, steps and message alike.
    void stop_letsTheJobGoingOutFinishAndNamesTheRestOnce_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::addColumn<bool>("whileTheJobGoesOut");
        QTest::newRow("Esc, the first job going out") << false << true;
        QTest::newRow("Esc, the second document being prepared") << false << false;
        QTest::newRow("menu, the first job going out") << true << true;
        QTest::newRow("menu, the second document being prepared") << true << false;
    }
    void stop_letsTheJobGoingOutFinishAndNamesTheRestOnce()
    {
        QFETCH(bool, byMenu);
        QFETCH(bool, whileTheJobGoesOut);
        Window window(4, 2);
        window.form->show();
        QVERIFY(QTest::qWaitForWindowActive(window.form.get()));
        if (whileTheJobGoesOut)
            window.printer().deafUntil = std::make_shared<QSemaphore>();
        else
            window.pages().held = {entry(2)};
        QSignalSpy finished(&window.run(), &printing::PrintRun::entryFinished);
        window.form->Check2()->click();
        if (whileTheJobGoesOut)
            QTRY_VERIFY(window.printer().deafened.load());
        else
            QTRY_VERIFY(window.taken().size() == 1 && window.pages().started.contains(entry(2)));

        if (byMenu) {
            window.form->listMenu().updateActions();
            window.form->listMenu().stopAction()->trigger();
        } else {
            QTest::keyClick(window.form->ListView1(), Qt::Key_Escape);
        }
        if (whileTheJobGoesOut) {
            QVERIFY(window.run().running());
            window.printer().deafUntil->release();
        } else {
            // The document was dropped unsent: nothing of it is left to arrive.
            QVERIFY(!window.fakes.pages.release(entry(2)));
        }
        QTRY_COMPARE(window.messages().size(), 1);

        // A deaf printer takes its job without keeping a record of it; a
        // second job would find it deaf again, and the run would never end.
        QCOMPARE(window.taken(), whileTheJobGoesOut ? QStringList{} : entries({1}));
        QCOMPARE(finished.value(0).value(3).value<printing::EntryOutcome>().result, printing::EntryOutcome::Result::Sent);
        QCOMPARE(window.jobs().mark(1), Mark::Printed);
        QCOMPARE(finished.size(), 4);
        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"Stopped. 3 entries were not printed:"), qPrintable(message));
        for (int i = 2; i <= 4; ++i) {
            QCOMPARE(finished.at(i - 1).at(2).toString(), entry(i));
            QCOMPARE(finished.at(i - 1).at(3).value<printing::EntryOutcome>().reason, printing::stoppedReason());
            QCOMPARE(window.jobs().mark(i), Mark::NotPrinted);
            QCOMPARE(window.jobs().reason(i), printing::stoppedReason());
            QCOMPARE(message.count(entry(i)), 1);
        }
        QVERIFY(!message.contains(entry(1)));
        QVERIFY(!window.form->stopKey().isEnabled());
    }

    // Between runs Esc is not the run's: it reaches the list as any key does,
    // and nothing starts, stops or is said.
    void escWithNoRun_doesNothing()
    {
        Window window(2);
        window.form->show();
        QVERIFY(QTest::qWaitForWindowActive(window.form.get()));
        QVERIFY(window.print());
        QSignalSpy started(&window.run(), &printing::PrintRun::started);
        QSignalSpy finished(&window.run(), &printing::PrintRun::finished);
        int escapesSeen = 0;
        KeyWatch watch(window.form->ListView1(), Qt::Key_Escape, escapesSeen);

        QTest::keyClick(window.form->ListView1(), Qt::Key_Escape);
        QCoreApplication::processEvents();

        QCOMPARE(escapesSeen, 1);
        QCOMPARE(started.size(), 0);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(window.messages().size(), 1);
        QCOMPARE(window.jobs().mark(1), Mark::Printed);
        QCOMPARE(window.jobs().mark(2), Mark::Printed);
    }

    // A refusal that concerns one document fails that entry only.
    void documentRefused_failsThatEntryAndTheRunGoesOn()
    {
        Window window(3);
        window.printer().refused = {entry(2)};
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({1, 3}));
        const QString message = window.messages().value(0);
        QVERIFY2(message.endsWith(u"\n\n/docs/2.htm (the printer refused it: Document Unprintable)"), qPrintable(message));
        QCOMPARE(window.jobs().mark(2), Mark::NotPrinted);
        QCOMPARE(window.jobs().reason(2), QStringLiteral("the printer refused it: Document Unprintable"));
    }

    // A job that went out whole but whose answer was lost may be in the
    // queue: the entry says so, the message names it apart from the ones
    // not printed, and the run goes on with the next.
    void answerLostAfterAWholeJob_isMayHavePrintedAndTheRunGoesOn()
    {
        Window window(4);
        window.printer().answerLost = {entry(2)};
        window.pages().failing.insert(entry(3), QStringLiteral("file not found"));
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({1, 2, 4}));
        const QString lost = QStringLiteral("the print system's answer could not be read (the connection was closed)");
        QCOMPARE(window.messages().value(0),
                 u"Print jobs sent to printer, except for 1 entry that could not be printed:\n\n/docs/3.htm (file not found)"
                 u"\n\nThis entry may have printed; check the printer before printing it again:\n\n/docs/2.htm ("
                     + lost + u')');
        const QList<Mark> marks{window.jobs().mark(1), window.jobs().mark(2), window.jobs().mark(3), window.jobs().mark(4)};
        QCOMPARE(marks, (QList<Mark>{Mark::Printed, Mark::MayHavePrinted, Mark::NotPrinted, Mark::Printed}));
        QCOMPARE(window.jobs().data(window.jobs().index(1, 0), Qt::ToolTipRole).toString(), u"May have printed: " + lost);
        QVERIFY(!joblist::markIcon(window.jobs().mark(2)).isNull());
    }

    void failedDocuments_areNamedTwentyAtMostAndAllInTheDetails()
    {
        Window window(25);
        for (int i = 1; i <= 24; ++i)
            window.pages().failing.insert(entry(i), QStringLiteral("file not found"));
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({25}));
        const QString message = window.messages().value(0);
        QVERIFY2(message.startsWith(u"Print jobs sent to printer, except for 24 entries that could not be printed:"),
                 qPrintable(message));
        QVERIFY(message.contains(u"/docs/20.htm (file not found)"));
        QVERIFY(!message.contains(u"/docs/21.htm"));
        QVERIFY(message.endsWith(u"... and 4 more."));
        const QString details = window.fakes.messageBox->details.value(0);
        QVERIFY2(details.contains(u"/docs/24.htm (file not found)"), qPrintable(details));
        QCOMPARE(window.jobs().mark(24), Mark::NotPrinted);
        QCOMPARE(window.jobs().mark(25), Mark::Printed);
    }

    void documentStillLoadingAtItsBound_isPrintedAndNamed()
    {
        Window window(2);
        window.pages().incomplete = {entry(1)};
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({1, 2}));
        QCOMPARE(window.messages().value(0), QStringLiteral("Done. Print jobs sent to printer.\n\n"
                                                            "1 entry was printed before it finished loading:\n\n"
                                                            "/docs/1.htm (still loading after 30 s)"));
        QCOMPARE(window.jobs().mark(1), Mark::PrintedIncomplete);
    }

    void printerThatStopsAnswering_endsTheRunAtItsBound()
    {
        Window window(3);
        window.form->printQueue().setBound(300ms);
        window.printer().stalls = true;
        QVERIFY(window.print());
        // The printer's call gave up at its bound itself; the queue's
        // watchdog, which waits longer, had no part in it.
        QVERIFY(window.printer().stallTimedOut);
        QVERIFY2(window.messages().value(0).startsWith(u"The printer stopped taking jobs (the print system did not answer)"),
                 qPrintable(window.messages().value(0)));
        QVERIFY(window.taken().isEmpty());
    }

    // A print system call deaf to its stop token outlives the queue, whose
    // thread could not be joined at exit: its late answer finds nobody.
    void lateAnswerAfterTheQueueIsGone_findsNobody()
    {
        auto script = std::make_shared<PrinterScript>();
        script->deafUntil = std::make_shared<QSemaphore>();
        {
            printing::PrintQueue queue(std::make_unique<ScriptedSink>(script));
            queue.submit(1, QByteArrayLiteral("%PDF-"), {QStringLiteral("/docs/late.htm")});
            QTRY_VERIFY(script->deafened);
        }
        script->deafUntil->release();
        QTRY_VERIFY(script->answeredLate);
        // Whatever the print thread posted is delivered now, or nowhere.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

    // A page's result is still on its way when the run ends, and the page
    // goes with the settings before the next run begins: the result finds
    // nothing. The next run loads that entry afresh and prints each entry
    // once.
    void resultForAPageThatHasGone_isDropped_data()
    {
        QTest::addColumn<bool>("printerStops");
        QTest::newRow("run abandoned") << false;
        QTest::newRow("run stopped by the printer") << true;
    }
    void resultForAPageThatHasGone_isDropped()
    {
        QFETCH(bool, printerStops);
        Window window(3, 3);
        window.pages().held = {entry(2), entry(3)};
        if (printerStops)
            window.printer().failsAfter = 0;
        else
            window.pages().held.insert(entry(1));
        // No event may be handled between the end of the first run and the
        // start of the next, or the result would arrive while no run goes on.
        const auto runAgainWithOnePage = [&] {
            window.pages().held.clear();
            {
                QMutexLocker locked(&window.printer().lock);
                window.printer().failsAfter = -1;
            }
            printing::RunSettings settings = window.run().settings();
            settings.renderers = 1;
            window.run().setSettings(settings);
            window.run().run();
        };
        QSignalSpy finished(&window.run(), &printing::PrintRun::finished);
        bool answered = false;
        if (printerStops) {
            // Entry 3's page answers just as the printer's failure ends the run.
            connect(&window.run(), &printing::PrintRun::entryFinished, this,
                    [&] { answered = window.fakes.pages.release(entry(3)); }, Qt::SingleShotConnection);
            connect(&window.run(), &printing::PrintRun::finished, this, runAgainWithOnePage, Qt::SingleShotConnection);
            window.form->Check2()->click();
        } else {
            window.form->Check2()->click();
            QTRY_COMPARE(window.pages().started.size(), 3);
            answered = window.fakes.pages.release(entry(3));
            window.run().abandon();
            runAgainWithOnePage();
        }

        QTRY_COMPARE(finished.size(), printerStops ? 2 : 1);
        QVERIFY(answered);
        QCOMPARE(window.pages().pagesMade, 3);
        QCOMPARE(window.pages().started.count(entry(3)), 2);
        QCOMPARE(window.taken(), entries({1, 2, 3}));
        for (int position = 1; position <= 3; ++position)
            QCOMPARE(window.jobs().mark(position), Mark::Printed);
    }

    void secondPressDuringARun_isRefused()
    {
        Window window(3);
        window.pages().held = {entry(1)};
        QSignalSpy started(&window.run(), &printing::PrintRun::started);
        window.form->Check2()->click();
        window.form->Check2()->click();
        QCOMPARE(started.size(), 1);
        QTRY_COMPARE(window.pages().started.size(), 3);
        QVERIFY(window.fakes.pages.release(entry(1)));
        QTRY_COMPARE(window.messages().size(), 1);
        QCOMPARE(started.size(), 1);
        QCOMPARE(window.taken(), entries({1, 2, 3}));
    }

    void closingTheWindow_endsTheRunWithoutAMessage()
    {
        Window window(3);
        window.form->show();
        window.pages().held = {entry(2)};
        window.form->Check2()->click();
        QTRY_COMPARE(window.taken().size(), 1);
        QSignalSpy finishedEntries(&window.run(), &printing::PrintRun::entryFinished);
        window.form->close();
        QVERIFY(!window.run().running());
        // The document under way was dropped with the run: nothing of it is
        // left to arrive.
        QVERIFY(!window.fakes.pages.release(entry(2)));
        QCoreApplication::processEvents();
        QCOMPARE(window.taken(), entries({1}));
        QCOMPARE(finishedEntries.size(), 0);
        QVERIFY(window.messages().isEmpty());
    }

    // The window goes in the middle of a run without being closed first:
    // pages still at work, a job with a printer that answers only as the
    // window goes, or after. The run goes first, giving its pages up while
    // the printer it hands jobs to is still there; nothing of the run
    // outlives the window.
    void windowDestroyedMidRun_leavesNothingBehind_data()
    {
        QTest::addColumn<bool>("deaf");
        QTest::newRow("printer silent until told to stop") << false;
        QTest::newRow("printer deaf to being told") << true;
    }
    void windowDestroyedMidRun_leavesNothingBehind()
    {
        QFETCH(bool, deaf);
        Window window(4);
        window.form->show();
        window.pages().held = {entry(3), entry(4)};
        if (deaf)
            window.printer().deafUntil = std::make_shared<QSemaphore>();
        else
            window.printer().stalls = true;
        int pagesGivenUpWhenThePrinterWent = -1;
        window.printer().whenGone = [&] { pagesGivenUpWhenThePrinterWent = window.pages().cancelled; };
        window.form->Check2()->click();
        QTRY_VERIFY(deaf ? window.printer().deafened.load() : window.printer().stalled.load());
        QTRY_COMPARE(window.pages().started.size(), 4);

        window.form.reset();
        if (deaf) {
            window.printer().deafUntil->release();
            QTRY_VERIFY(window.printer().answeredLate);
        } else {
            QCOMPARE(pagesGivenUpWhenThePrinterWent, 2);
        }
        // Whatever was posted on the run's behalf is delivered now, or nowhere.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();

        QCOMPARE(window.pages().started, entries({1, 2, 3, 4}));
        QCOMPARE(window.pages().cancelled, 2);
        QVERIFY(window.taken().isEmpty());
    }

    // Edits made while a run goes on, each right after a job of the run has
    // gone out. Each step prints the first entry of the list as it then
    // stands that was there when the run began and is not printed yet.
    void editsDuringARun_printEachEntryOnceAtItsPlace_data()
    {
        QTest::addColumn<int>("renderers");
        QTest::addColumn<int>("afterStep");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QStringList>("expected");
        for (const int renderers : {1, 3}) {
            const QString pages = u" (" + QString::number(renderers) + u" pages)";
            QTest::newRow(qPrintable(u"remove a printed entry" + pages))
                << renderers << 2 << QStringLiteral("remove 1") << entries({1, 2, 3, 4, 5, 6});
            QTest::newRow(qPrintable(u"drag the fifth to the top" + pages))
                << renderers << 2 << QStringLiteral("drag 5 1") << entries({1, 2, 5, 3, 4, 6});
            QTest::newRow(qPrintable(u"remove a pending entry" + pages))
                << renderers << 2 << QStringLiteral("remove 4") << entries({1, 2, 3, 5, 6});
            QTest::newRow(qPrintable(u"drag a pending entry to the bottom" + pages))
                << renderers << 1 << QStringLiteral("drag 3 6") << entries({1, 2, 4, 5, 6, 3});
            QTest::newRow(qPrintable(u"drag a printed entry to the bottom" + pages))
                << renderers << 2 << QStringLiteral("drag 1 6") << entries({1, 2, 3, 4, 5, 6});
            QTest::newRow(qPrintable(u"add an entry" + pages))
                << renderers << 1 << QStringLiteral("add 7") << entries({1, 2, 3, 4, 5, 6});
            QTest::newRow(qPrintable(u"remove every pending entry" + pages))
                << renderers << 3 << QStringLiteral("remove 4 4 4") << entries({1, 2, 3});
        }
    }
    void editsDuringARun_printEachEntryOnceAtItsPlace()
    {
        QFETCH(int, renderers);
        QFETCH(int, afterStep);
        QFETCH(QString, edit);
        QFETCH(QStringList, expected);
        Window window(6, renderers);
        connect(&window.run(), &printing::PrintRun::entryFinished, this, [&](int step) {
            if (step != afterStep)
                return;
            const QStringList words = edit.split(u' ');
            if (words.first() == u"remove") {
                for (const QString &position : words.mid(1))
                    window.jobs().remove(position.toInt());
            } else if (words.first() == u"drag") {
                window.drag(words.at(1).toInt(), words.at(2).toInt());
            } else {
                window.jobs().add(entry(words.at(1).toInt()));
            }
        });
        QSignalSpy bar(&window.run(), &printing::PrintRun::progress);

        QVERIFY(window.print());

        QCOMPARE(window.taken(), expected);
        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        for (const QList<QVariant> &call : bar)
            QVERIFY(call.first().toFloat() > 0 && call.first().toFloat() <= 100.0f);
    }

    // The entry being prepared is removed before its job goes out: it is not
    // printed, not reported, and the run goes on.
    void entryRemovedWhileItsDocumentIsPrepared_isSkipped()
    {
        Window window(5, 2);
        window.pages().held = {entry(3)};
        connect(&window.run(), &printing::PrintRun::entryFinished, this, [&](int step) {
            if (step == 2)
                QTimer::singleShot(0, &window.run(), [&] { window.jobs().remove(window.positionOf(entry(3))); });
        });
        QVERIFY(window.print());
        QCOMPARE(window.taken(), entries({1, 2, 4, 5}));
        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
    }

    // Many random edits during long runs: every entry of the run that the
    // user does not remove is printed exactly once; each job is the first
    // entry not yet printed in the list as it stood; nothing added is printed.
    void randomEditsDuringARun_keepExactlyOnce_data()
    {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("renderers");
        for (const quint32 seed : {3u, 17u, 2024u})
            for (const int renderers : {1, 4})
                QTest::newRow(qPrintable(QStringLiteral("seed %1, %2 pages").arg(seed).arg(renderers))) << seed << renderers;
    }
    void randomEditsDuringARun_keepExactlyOnce()
    {
        QFETCH(quint32, seed);
        QFETCH(int, renderers);
        constexpr int Count = 300;
        Window window(Count, renderers);
        QRandomGenerator random(seed);
        std::set<QString> removedUnprinted;
        std::set<QString> printed;
        QString expectedNext;
        QStringList mismatches;
        const auto nextPending = [&] {
            for (int position = 1; position <= window.jobs().count(); ++position) {
                const QString text = window.jobs().text(position);
                if (!text.startsWith(u"new") && !printed.count(text))
                    return text;
            }
            return QString();
        };
        connect(&window.run(), &printing::PrintRun::entryFinished, this, [&](int, int, const QString &text) {
            if (!expectedNext.isEmpty() && text != expectedNext)
                mismatches << text + u" instead of " + expectedNext;
            printed.insert(text);
            for (int edits = random.bounded(3); edits > 0 && window.jobs().count() > 1; --edits) {
                const int a = random.bounded(window.jobs().count()) + 1;
                const int b = random.bounded(window.jobs().count()) + 1;
                switch (random.bounded(3)) {
                case 0:
                    if (!printed.count(window.jobs().text(a)) && !window.jobs().text(a).startsWith(u"new"))
                        removedUnprinted.insert(window.jobs().text(a));
                    window.jobs().remove(a);
                    break;
                case 1:
                    window.jobs().exchange(a, b);
                    break;
                default:
                    window.jobs().add(u"new " + QString::number(a));
                }
            }
            expectedNext = nextPending();
        });

        QVERIFY(window.print());

        QVERIFY2(mismatches.isEmpty(), qPrintable(mismatches.join(u"; ")));
        const QStringList taken = window.taken();
        const std::set<QString> distinct(taken.begin(), taken.end());
        QCOMPARE(qsizetype(distinct.size()), taken.size());
        QCOMPARE(taken.size() + qsizetype(removedUnprinted.size()), qsizetype(Count));
        for (const QString &text : taken) {
            QVERIFY2(!text.startsWith(u"new"), qPrintable(text));
            QVERIFY2(!removedUnprinted.count(text), qPrintable(text));
        }
    }

    void copies_goWithEveryJob()
    {
        Window window(2);
        printing::RunSettings settings = window.run().settings();
        settings.printer.copies = 3;
        window.run().setSettings(settings);
        QVERIFY(window.print());
        QCOMPARE(window.printer().copies, (QList<int>{3, 3}));
    }
};

QTEST_MAIN(TestPrintRun)
#include "tst_printrun.moc"
