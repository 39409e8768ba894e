// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "core/eventyield.h"
#include "core/mousepointer.h"
#include "sources/addurllists.h"

#include "support/entrytexts.h"
#include "support/fakedesktop.h"
#include "support/recordingpointer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using core::MousePointer;

namespace {

// Records the pointer at the time a message shows.
struct PointerAtMessage final : core::MessageBox {
    const RecordingPointer *pointer = nullptr;
    QStringList shown;
    QList<MousePointer> pointerWhenShown;
    void show(QWidget *, const QString &text, const QString &) override
    {
        shown << text;
        pointerWhenShown << pointer->current;
    }
};

// One run of the action against real files, with a scripted dialog.
struct Run {
    QTemporaryDir dir;
    ScriptedFileDialog dialog;
    RecordingPointer pointer;
    PointerAtMessage messages;
    core::EventYield yield;
    joblist::JobList jobs;

    Run()
    {
        // Not the default, so an action that leaves the default behind is
        // seen to have set it.
        pointer.current = MousePointer::Custom;
        messages.pointer = &pointer;
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        return QDir::toNativeSeparators(file.fileName());
    }
    // The dialog's answer for several files picked in one folder.
    QStringList picked(const QStringList &names) const
    {
        QStringList paths;
        for (const QString &name : names)
            paths << QDir::toNativeSeparators(dir.filePath(name));
        return paths;
    }
    void act(const QStringList &answer)
    {
        dialog.answers << answer;
        sources::addUrlLists(dialog, messages, nullptr, pointer, yield, jobs);
    }
    QStringList entries() const { return entryTexts(jobs); }
};

} // namespace

class TestAddUrlLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cancel_changesNothing()
    {
        Run run;
        run.jobs.add(QStringLiteral("already there"));
        run.act({});
        QCOMPARE(run.dialog.calls.size(), 1);
        QCOMPARE(run.entries(), QStringList{QStringLiteral("already there")});
        QVERIFY(run.pointer.changes.isEmpty());
        QVERIFY(run.messages.shown.isEmpty());
    }

    void oneFile_addsItsTokensWithTheBusyPointer()
    {
        Run run;
        const QString path = run.write(QStringLiteral("list.txt"), "one two\r\nthree\tfour\rfive");
        run.act({path});
        QCOMPARE(run.entries(), (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three"),
                                            QStringLiteral("four"), QStringLiteral("five")}));
        QCOMPARE(run.pointer.changes, (QList<MousePointer>{MousePointer::Busy, MousePointer::Default}));
        QVERIFY(run.messages.shown.isEmpty());
    }

    void twoFiles_inTheDialogsOrder()
    {
        Run run;
        run.write(QStringLiteral("a.txt"), "http://a.example/1\nhttp://a.example/2\n");
        run.write(QStringLiteral("b.txt"), "\xEF\xBB\xBFhttp://b.example/1\r\nhttp://a.example/1");
        run.act(run.picked({QStringLiteral("b.txt"), QStringLiteral("a.txt")}));
        QCOMPARE(run.entries(), (QStringList{QStringLiteral("http://b.example/1"), QStringLiteral("http://a.example/1"),
                                            QStringLiteral("http://a.example/1"), QStringLiteral("http://a.example/2")}));
        QVERIFY(run.messages.shown.isEmpty());
    }

    void unreadableFiles_areSkippedAndNamedOnce_data()
    {
        QTest::addColumn<QByteArray>("badBytes");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << QByteArray() << QStringLiteral("not found");
        QTest::newRow("binary") << QByteArray("GIF89a\x01\0\x01\0\0\0", 12) << QStringLiteral("not a text file");
    }
    void unreadableFiles_areSkippedAndNamedOnce()
    {
        QFETCH(QByteArray, badBytes);
        QFETCH(QString, why);
        Run run;
        run.write(QStringLiteral("a.txt"), "http://a.example/");
        run.write(QStringLiteral("c.txt"), "http://c.example/");
        if (!badBytes.isEmpty())
            run.write(QStringLiteral("b.txt"), badBytes);
        run.act(run.picked({QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")}));

        QCOMPARE(run.entries(), (QStringList{QStringLiteral("http://a.example/"), QStringLiteral("http://c.example/")}));
        QCOMPARE(run.messages.shown.size(), 1);
        const QString badPath = QDir::toNativeSeparators(run.dir.filePath(QStringLiteral("b.txt")));
        QVERIFY2(run.messages.shown.first().contains(badPath + u" (" + why + u')'), qPrintable(run.messages.shown.first()));
        QVERIFY(!run.messages.shown.first().contains(QStringLiteral("a.txt")));
        // The message follows the work: the busy pointer is gone by then.
        QCOMPARE(run.messages.pointerWhenShown, QList<MousePointer>{MousePointer::Default});
    }

    void emptyFiles_addNothingQuietly()
    {
        Run run;
        run.write(QStringLiteral("empty.txt"), QByteArray());
        run.write(QStringLiteral("blank.txt"), " \r\n\t\r\n\n");
        run.act(run.picked({QStringLiteral("empty.txt"), QStringLiteral("blank.txt")}));
        QCOMPARE(run.jobs.count(), 0);
        QVERIFY(run.messages.shown.isEmpty());
        QCOMPARE(run.pointer.current, MousePointer::Default);
    }

    void manySkippedFiles_nameTwentyAndCountTheRest()
    {
        sources::ListFileProblems problems;
        for (int i = 1; i <= 25; ++i)
            problems.files.append({QStringLiteral("/lists/%1.txt").arg(i), QStringLiteral("not found")});
        const QString message = sources::listFileProblemsMessage(problems);
        QVERIFY(message.contains(QStringLiteral("/lists/1.txt (not found)")));
        QVERIFY(message.contains(QStringLiteral("/lists/20.txt (not found)")));
        QVERIFY(!message.contains(QStringLiteral("/lists/21.txt")));
        QVERIFY(message.endsWith(QStringLiteral("and 5 more.")));
        QCOMPARE(message.count(QStringLiteral("(not found)")), 20);
    }

    // A list file may come from anyone: a token that would not open a
    // document of its own (a script would run inside the document before
    // it) never becomes an entry, and the message names it.
    void tokensThatAreNoDocument_areRefusedAndNamed_data()
    {
        QTest::addColumn<QByteArray>("token");
        QTest::addColumn<QString>("why");
        const QString notADocument = QStringLiteral("not a document address");
        QTest::newRow("script") << QByteArray("javascript:fetch('file:///etc/passwd')") << notADocument;
        QTest::newRow("script, other case") << QByteArray("JavaScript:alert(1)") << notADocument;
        QTest::newRow("browser page") << QByteArray("chrome://settings") << notADocument;
        QTest::newRow("source view") << QByteArray("view-source:http://a.example/") << notADocument;
        QTest::newRow("about, not blank") << QByteArray("about:config") << notADocument;
        QTest::newRow("NUL spelled out") << QByteArray("http://127.0.0.1/a%00b")
                                         << QStringLiteral("the address holds a NUL character (%00), which no document's address can");
    }
    void tokensThatAreNoDocument_areRefusedAndNamed()
    {
        QFETCH(QByteArray, token);
        QFETCH(QString, why);
        Run run;
        run.write(QStringLiteral("list.txt"), "http://a.example/one\n" + token + "\n/docs/two.htm about:blank\n");
        run.act(run.picked({QStringLiteral("list.txt")}));
        QCOMPARE(entryTexts(run.jobs),
                 QStringList({QStringLiteral("http://a.example/one"), QStringLiteral("/docs/two.htm"), QStringLiteral("about:blank")}));
        QCOMPARE(run.messages.shown.size(), 1);
        QVERIFY2(run.messages.shown.first().contains(QString::fromUtf8(token) + u" (" + why + u')'),
                 qPrintable(run.messages.shown.first()));
    }

    void closedWindow_stopsTheAction()
    {
        Run run;
        run.write(QStringLiteral("a.txt"), "http://a.example/");
        run.write(QStringLiteral("b.txt"), QByteArray(1, '\0'));
        run.yield.markClosed();
        run.act(run.picked({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        QCOMPARE(run.jobs.count(), 0);
        QVERIFY(run.messages.shown.isEmpty());
        QCOMPARE(run.pointer.current, MousePointer::Default);
    }

    // The close arrives as an event while the first file is cut into
    // tokens; the action must notice it at its next yield and add nothing.
    void windowClosingMidway_stopsAtTheNextYield()
    {
        Run run;
        run.write(QStringLiteral("a.txt"), "http://a.example/1 http://a.example/2");
        run.write(QStringLiteral("b.txt"), QByteArray(1, '\0'));
        QObject context;
        QMetaObject::invokeMethod(&context, [&run] { run.yield.markClosed(); }, Qt::QueuedConnection);
        run.act(run.picked({QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        QVERIFY(run.yield.closed());
        QCOMPARE(run.jobs.count(), 0);
        QVERIFY(run.messages.shown.isEmpty());
        QCOMPARE(run.pointer.current, MousePointer::Default);
    }

    void check6_addsTheListsTokens()
    {
        QTemporaryDir dir;
        QFile list(dir.filePath(QStringLiteral("urls.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("<https://example.com/a>\n\"https://example.com/b\"\n");
        list.close();
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        fakes.fileDialog->answers << QStringList{QDir::toNativeSeparators(list.fileName())};
        form.Check6()->click();
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QCOMPARE(form.jobs().count(), 2);
        QCOMPARE(form.jobs().text(1), QStringLiteral("https://example.com/a"));
        QCOMPARE(form.jobs().text(2), QStringLiteral("https://example.com/b"));
        QCOMPARE(form.mousePointer(), MousePointer::Default);
        QVERIFY(fakes.messageBox->shown.isEmpty());
    }
};

QTEST_MAIN(TestAddUrlLists)
#include "tst_addurllists.moc"
