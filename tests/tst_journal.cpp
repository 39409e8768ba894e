// SPDX-License-Identifier: GPL-3.0-or-later
// A run from the command line that keeps a journal (--journal), so that a
// killed run prints nothing twice when run again, and one that describes each
// entry in JSON (--json): the real program against the rig's queue.
#include "app/commandline/commandline.h"

#include "support/answerrelay.h"
#include "support/arguments.h"
#include "support/printrig.h"
#include "support/rundocuments.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cstring>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using Outcome = ProgramRun;

// The number of the one job waiting at `server`; 0 when there is none.
int queuedJob(const QString &server)
{
    QProcess lpstat;
    lpstat.start(u"lpstat"_s, {u"-h"_s, server, u"-o"_s});
    lpstat.waitForFinished(10000);
    // "Paused-7  root  1024  date": the queue, then the job's number.
    const QString first = QString::fromUtf8(lpstat.readAllStandardOutput()).section(u' ', 0, 0);
    return first.section(u'-', -1).toInt();
}

// A scheduler that forgets each job as it ends, as busy print servers do.
const QString NoHistory = QStringLiteral("PreserveJobHistory No");

QProcessEnvironment environmentFor(const QString &server, int renderers = 0)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"CUPS_SERVER"_s, server);
    if (renderers > 0)
        environment.insert(u"TAVIMARK_RENDERERS"_s, QString::number(renderers));
    return environment;
}

Outcome runProgram(const QStringList &arguments, const QString &server)
{
    return runTavimark(arguments, environmentFor(server), 180'000);
}

app::CommandLine parse(const QStringList &arguments)
{
    return parseArguments(arguments);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// `count` small documents in `folder`, named so that none is the start of
// another's name (the rig's job titles are the entries' paths).
QStringList documents(const QString &folder, int count, const QByteArray &body = "<p>A page</p>")
{
    QStringList paths;
    for (int i = 1; i <= count; ++i) {
        const QString path = folder + u"/doc"_s + QString::number(i).rightJustified(2, u'0') + u".html"_s;
        write(path, "<title>Document " + QByteArray::number(i) + "</title>" + body);
        paths << path;
    }
    return paths;
}

// Small documents in `folder` under `names`, in that order.
QStringList documentsNamed(const QString &folder, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names) {
        const QString path = folder + u'/' + name;
        write(path, "<title>" + name.toUtf8() + "</title><p>A page</p>");
        paths << path;
    }
    return paths;
}

// What the log says last of each of `entries`, in the list's
// order: the words between "[i/N] " and ": ENTRY".
QStringList lastWordsOf(const QStringList &lines, const QStringList &entries)
{
    QStringList words;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString step = u'[' + QString::number(i + 1) + u'/' + QString::number(entries.size()) + u"] "_s;
        const QString tail = u": "_s + entries.at(i);
        QString last;
        for (const QString &line : lines) {
            if (line.startsWith(step) && line.endsWith(tail))
                last = line.sliced(step.size(), line.size() - step.size() - tail.size());
        }
        words << last;
    }
    return words;
}

// The journal's header for `entries`, as the README describes it.
QByteArray headerFor(const QStringList &entries, int version = 1)
{
    const QByteArray hash = QCryptographicHash::hash(entries.join(u'\n').toUtf8(), QCryptographicHash::Sha256).toHex();
    return "{\"tavimark-journal\":" + QByteArray::number(version) + ",\"list\":\"" + hash + "\",\"entries\":"
        + QByteArray::number(entries.size()) + "}\n";
}

QByteArray record(int step, const QString &entry, const QByteArray &what)
{
    return "{\"step\":" + QByteArray::number(step) + ",\"entry\":\"" + entry.toUtf8() + "\"," + what + "}\n";
}

// How many jobs of each entry reached the rig, once it has printed them all.
QMap<QString, int> jobsPerEntry(const QString &server, const QString &prefix)
{
    QMap<QString, int> jobs;
    if (!QTest::qWaitFor([&] { return rig::queueEmpty(server); }, 60'000))
        return jobs;
    for (const QString &title : rig::jobTitles(prefix))
        ++jobs[title];
    return jobs;
}

// How many jobs of each entry the rig in `folder` at `server` printed, once
// it has printed them all.
QMap<QString, int> jobsPerEntryOn(const QString &server, const QString &folder, const QString &prefix)
{
    QMap<QString, int> jobs;
    if (!QTest::qWaitFor([&] { return rig::queueEmpty(server); }, 60'000))
        return jobs;
    for (const QString &title : rig::jobTitles(prefix, folder))
        ++jobs[title];
    return jobs;
}

QStringList errorLinesOf(QProcess &program)
{
    return QString::fromUtf8(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
}

// The entries a run's lines say `what` of, as "[i/N] WHAT: ENTRY".
QStringList entriesSaid(const QStringList &lines, const QString &what)
{
    const QRegularExpression said(u"^\\[\\d+/\\d+\\] "_s + QRegularExpression::escape(what) + u": (.*)$"_s);
    QStringList entries;
    for (const QString &line : lines) {
        if (const QRegularExpressionMatch match = said.match(line); match.hasMatch())
            entries << match.captured(1);
    }
    return entries;
}

} // namespace

class TestJournal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_server = rig::sharedServer();
        if (m_server.isEmpty())
            QSKIP("needs the print test rig; run through ctest, which starts it");
    }

    // The new options print, and some only go with others (exit 64).
    void optionsAreChecked_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        QTest::addColumn<double>("waitSeconds");
        QTest::newRow("journal without --print") << QStringList{u"--journal"_s, u"j"_s, u"a.html"_s}
                                                 << u"--journal is for printing from the command line: add --print"_s << 0.0;
        QTest::newRow("json without --print") << QStringList{u"--json"_s}
                                              << u"--json is for printing from the command line: add --print"_s << 0.0;
        QTest::newRow("wait without --print") << QStringList{u"--wait"_s}
                                              << u"--wait is for printing from the command line: add --print"_s << 0.0;
        QTest::newRow("an empty journal name") << QStringList{u"--print"_s, u"--journal="_s}
                                               << u"--journal wants a FILE, not an empty one"_s << 0.0;
        QTest::newRow("resend without a journal") << QStringList{u"--print"_s, u"--resend-uncertain"_s}
                                                  << u"--resend-uncertain goes with --journal: add --journal FILE"_s << 0.0;
        QTest::newRow("wait time without --wait") << QStringList{u"--print"_s, u"--wait-timeout"_s, u"5"_s}
                                                  << u"--wait-timeout goes with --wait: add --wait"_s << 0.0;
        QTest::newRow("no wait time") << QStringList{u"--print"_s, u"--wait"_s, u"--wait-timeout"_s, u"0"_s}
                                      << u"--wait-timeout wants a number of seconds from 1 to 86400"_s << 0.0;
        QTest::newRow("more than a day") << QStringList{u"--print"_s, u"--wait"_s, u"--wait-timeout=86401"_s}
                                         << u"--wait-timeout wants a number of seconds from 1 to 86400"_s << 0.0;
        QTest::newRow("the default wait") << QStringList{u"--print"_s, u"--wait"_s} << QString() << 600.0;
        QTest::newRow("a wait of its own") << QStringList{u"--print"_s, u"--wait"_s, u"--wait-timeout"_s, u"2.5"_s} << QString()
                                           << 2.5;
    }
    void optionsAreChecked()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        QFETCH(double, waitSeconds);
        const app::CommandLine line = parse(arguments);
        QCOMPARE(line.error, error);
        if (error.isEmpty())
            QCOMPARE(line.waitSeconds, waitSeconds);
    }

    // Killed part way and started again with the same journal, the run
    // prints every document once: the ones before the kill are left out,
    // and only the one going out at the kill may be in doubt.
    void killedRunPrintsEachDocumentOnce()
    {
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 20);
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"--journal"_s, journal} + docs;

        QProcess first;
        first.setProcessEnvironment(environmentFor(m_server, 1));
        QByteArray said;
        // Killed the moment the line is read, to cut the run as close to
        // its fifth job as a user's kill -9 could.
        connect(&first, &QProcess::readyReadStandardError, &first, [&] {
            said += first.readAllStandardError();
            if (said.contains("[5/20] sent: "))
                first.kill();
        });
        first.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::NotRunning, 120'000);
        QCOMPARE(first.exitStatus(), QProcess::CrashExit);

        const Outcome second = runProgram(arguments, m_server);
        const QStringList uncertain = entriesSaid(second.errorLines, u"may have printed (journal)"_s);
        QVERIFY2(uncertain.size() <= 1, qPrintable(second.errorLines.join(u'\n')));
        QCOMPARE(second.status, uncertain.isEmpty() ? 0 : 1);
        const QStringList alreadySent = entriesSaid(second.errorLines, u"already sent (journal)"_s);
        QVERIFY(alreadySent.size() >= 5);
        QCOMPARE(alreadySent.mid(0, 5), docs.mid(0, 5));
        // The second run had work left: the first was cut short.
        QVERIFY(!entriesSaid(second.errorLines, u"sent"_s).isEmpty());

        const QMap<QString, int> jobs = jobsPerEntry(m_server, dir.path());
        for (const QString &doc : docs) {
            if (uncertain.contains(doc))
                QVERIFY2(jobs.value(doc) <= 1, qPrintable(doc));
            else
                QVERIFY2(jobs.value(doc) == 1, qPrintable(doc + u" printed "_s + QString::number(jobs.value(doc)) + u" times"_s));
        }
    }

    // A run killed while a job goes out leaves its entry in doubt; run
    // again, it asks the queue before calling the entry "may have printed".
    // The kill comes on purpose at the second job, with a relay between the
    // program and the queue that either holds back the queue's answer (the
    // job is there) or stops the document before it is whole (no job is
    // made). The resumed run's verdict is held against what the queue did.
    void entryInDoubtIsLookedFor_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("forget");   // the scheduler loses its jobs before the run resumes
        QTest::addColumn<bool>("older");    // the queue shows a job that ended a whole second before the run
        QTest::addColumn<QString>("said");  // of the second entry, by the resumed run; JOB for its job's number
        QTest::addColumn<int>("printed");   // the second entry's jobs on the rig in the end
        QTest::addColumn<int>("status");
        const QStringList fine{u"one.html"_s, u"two.html"_s, u"three.html"_s};
        QTest::newRow("taken, its answer lost") << fine << int(AnswerRelay::Fault::HoldAnswer) << false << true
                                                << u"already sent as job JOB (found in the queue)"_s << 1 << 0;
        QTest::newRow("its document cut short") << fine << int(AnswerRelay::Fault::HoldDocument) << false << true << u"sent"_s << 1
                                                << 0;
        QTest::newRow("taken, then aborted") << QStringList{u"one.html"_s, u"two-abort-this-job.html"_s, u"three.html"_s}
                                             << int(AnswerRelay::Fault::HoldAnswer) << false << true << u"sent"_s << 0 << 0;
        QTest::newRow("the queue's history lost") << fine << int(AnswerRelay::Fault::HoldAnswer) << true << true
                                                  << u"may have printed (journal)"_s << 0 << 1;
        // Only the run's own first job shows how far back the queue reaches.
        QTest::newRow("cut short, on a scheduler with no older job")
            << fine << int(AnswerRelay::Fault::HoldDocument) << false << false << u"sent"_s << 1 << 0;
    }
    void entryInDoubtIsLookedFor()
    {
        QFETCH(QStringList, names);
        QFETCH(int, fault);
        QFETCH(bool, forget);
        QFETCH(bool, older);
        QFETCH(QString, said);
        QFETCH(int, printed);
        QFETCH(int, status);
        rig::PrivateRig printer;
        QVERIFY(printer.isUp());
        QTemporaryDir dir;
        const QStringList docs = documentsNamed(dir.path(), names);
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"--json"_s, u"--journal"_s, journal} + docs;

        // A job that ended a whole second before the run: the queue shows
        // that its history reaches back past the job in doubt.
        if (older) {
            QProcess lp;
            lp.setStandardOutputFile(QProcess::nullDevice());
            lp.start(u"lp"_s, {u"-h"_s, printer.server(), u"-t"_s, u"earlier"_s, docs[0]});
            QVERIFY(lp.waitForFinished() && lp.exitCode() == 0);
            QVERIFY(QTest::qWaitFor([&] { return rig::queueEmpty(printer.server()); }, 60'000));
            const qint64 ended = QDateTime::currentSecsSinceEpoch();
            QTRY_VERIFY(QDateTime::currentSecsSinceEpoch() > ended);
        }

        AnswerRelay relay(printer.server(), 2, AnswerRelay::Fault(fault));
        QProcess first;
        first.setProcessEnvironment(environmentFor(relay.address(), 1));
        const auto endFirst = qScopeGuard([&] {
            first.kill();
            first.waitForFinished();
        });
        first.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
        QVERIFY(first.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(relay.struck() || first.state() == QProcess::NotRunning, 120'000);
        QVERIFY(relay.struck());
        first.kill();
        QVERIFY(first.waitForFinished());
        if (forget)
            QVERIFY(printer.restartForgettingJobs());

        const Outcome again = runProgram(arguments, printer.server());
        const QList<QJsonObject> objects = jsonLines(again.out);
        QCOMPARE(objects.size(), docs.size() + 1);
        const int job = objects.at(1).value(u"job"_s).toInt();
        QCOMPARE(lastWordsOf(again.errorLines, docs).value(1), QString(said).replace(u"JOB"_s, QString::number(job)));
        QCOMPARE(again.status, status);
        const QMap<QString, int> jobs = jobsPerEntryOn(printer.server(), printer.folder(), dir.path());
        QCOMPARE(jobs.value(docs[1]), printed);
        if (said.contains(u"JOB"_s)) {
            // The job named is the entry's, on the queue.
            const QString file = printer.folder() + u"/jobs/job-"_s + QString::number(job).rightJustified(6, u'0') + u".pdf"_s;
            QCOMPARE(rig::titleOf(file), docs[1]);
        }
        QCOMPARE(jobs.value(docs[2]), 1);
    }

    // A journal written by hand as the README describes it is followed: what
    // it shows as sent is left out, what may have printed is named and left
    // out unless asked for, and what did not print prints.
    void documentedJournalIsFollowed_data()
    {
        QTest::addColumn<bool>("resend");
        QTest::addColumn<QStringList>("printed");  // the documents' names
        QTest::addColumn<int>("status");
        QTest::newRow("uncertain left out") << false << QStringList{u"doc04.html"_s} << 1;
        QTest::newRow("uncertain sent again") << true << QStringList{u"doc02.html"_s, u"doc03.html"_s, u"doc04.html"_s} << 0;
    }
    void documentedJournalIsFollowed()
    {
        QFETCH(bool, resend);
        QFETCH(QStringList, printed);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 4);
        const QString journal = dir.filePath(u"run.journal"_s);
        write(journal, headerFor(docs) + record(1, docs[0], "\"event\":\"submitting\"")
                           + record(1, docs[0], "\"outcome\":\"sent\",\"reason\":\"\",\"job\":7")
                           + record(2, docs[1], "\"event\":\"submitting\"")
                           + record(3, docs[2], "\"outcome\":\"may have printed\",\"reason\":\"lost\",\"job\":null")
                           + record(4, docs[3], "\"outcome\":\"not printed\",\"reason\":\"file not found\",\"job\":null"));
        QStringList arguments{u"--print"_s, u"--journal"_s, journal};
        if (resend)
            arguments << u"--resend-uncertain"_s;
        const Outcome run = runProgram(arguments + docs, m_server);
        QCOMPARE(run.status, status);
        QCOMPARE(run.errorLines.value(0), u"[1/4] already sent (journal): "_s + docs[0]);
        if (!resend) {
            QCOMPARE(entriesSaid(run.errorLines, u"may have printed (journal)"_s), (QStringList{docs[1], docs[2]}));
        }
        QStringList expected;
        for (const QString &name : printed)
            expected << dir.filePath(name);
        QCOMPARE(jobsPerEntry(m_server, dir.path()).keys(), expected);
        // The run went on with the journal: run once more, nothing prints.
        const Outcome again = runProgram(arguments + docs, m_server);
        QCOMPARE(entriesSaid(again.errorLines, u"sent"_s), QStringList());
        QCOMPARE(jobsPerEntry(m_server, dir.path()).keys(), expected);
    }

    // A journal the run cannot trust stops it before anything prints, and
    // stays byte for byte as it was.
    void untrustedJournalIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("journal");  // @ stands for the first document, # for the second
        QTest::addColumn<QString>("said");        // after "tavimark: "; FILE for the journal's path
        QTest::newRow("another list") << QByteArray("{\"tavimark-journal\":1,\"list\":\"00ff\",\"entries\":2}\n")
                                      << u"the journal FILE was written for another list"_s;
        QTest::newRow("another number of entries") << QByteArray("HEADER3")
                                                    << u"the journal FILE was written for another list"_s;
        QTest::newRow("a line cut short") << QByteArray("HEADER2{\"step\":1,\"entry\":\"@\",\"event\":\"submitting\"}\n{\"step\":1,")
                                          << u"line 3 of the journal FILE is damaged"_s;
        QTest::newRow("a step past the list") << QByteArray("HEADER2{\"step\":3,\"entry\":\"@\",\"event\":\"submitting\"}\n")
                                              << u"line 2 of the journal FILE is damaged"_s;
        QTest::newRow("another entry at a step") << QByteArray("HEADER2{\"step\":2,\"entry\":\"@\",\"outcome\":\"sent\"}\n")
                                                 << u"line 2 of the journal FILE is damaged"_s;
        QTest::newRow("an outcome unheard of") << QByteArray("HEADER2{\"step\":2,\"entry\":\"#\",\"outcome\":\"eaten\"}\n")
                                               << u"line 2 of the journal FILE is damaged"_s;
        QTest::newRow("no journal at all") << QByteArray("<html>\n") << u"line 1 of the journal FILE is damaged"_s;
        QTest::newRow("a newer version") << QByteArray("HEADER2v2") << u"the journal FILE was written by a newer Tavimark"_s;
    }
    void untrustedJournalIsLeftAlone()
    {
        QFETCH(QByteArray, journal);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 2);
        journal.replace("HEADER2v2", headerFor(docs, 2));
        journal.replace("HEADER2", headerFor(docs));
        journal.replace("HEADER3", headerFor(docs).replace("\"entries\":2", "\"entries\":3"));
        journal.replace('@', docs[0].toUtf8()).replace('#', docs[1].toUtf8());
        const QString path = dir.filePath(u"run.journal"_s);
        write(path, journal);

        const Outcome run = runProgram(QStringList{u"--print"_s, u"--journal"_s, path} + docs, m_server);
        QCOMPARE(run.status, 64);
        QCOMPARE(run.errorLines, QStringList{u"tavimark: "_s + QString(said).replace(u"FILE"_s, path)});
        QCOMPARE(contents(path), journal);
        QCOMPARE(jobsPerEntry(m_server, dir.path()), (QMap<QString, int>()));
    }

    // A journal belongs to one run at a time. Of two runs started at once on
    // one journal, one prints and the other stops before printing anything,
    // saying that the journal is in use. The queue is stopped and the runs
    // wait for its answers, so that the first holds the journal for as long
    // as the test needs; started again, the queue prints each document once.
    void secondRunOnAJournalStops()
    {
        const rig::PrivateRig printer;
        QVERIFY(printer.isUp());
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 3);
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"-d"_s, u"Paused"_s, u"--wait"_s, u"--wait-timeout"_s,
                                                  u"60"_s, u"--journal"_s, journal}
            + docs;
        std::array<QProcess, 2> runs;
        const auto endRuns = qScopeGuard([&] {
            for (QProcess &run : runs) {
                run.kill();
                run.waitForFinished();
            }
        });
        for (QProcess &run : runs) {
            run.setProcessEnvironment(environmentFor(printer.server()));
            run.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
        }
        for (QProcess &run : runs)
            QVERIFY(run.waitForStarted());

        QTRY_VERIFY_WITH_TIMEOUT(runs[0].state() == QProcess::NotRunning || runs[1].state() == QProcess::NotRunning, 120'000);
        QProcess &second = runs[0].state() == QProcess::NotRunning ? runs[0] : runs[1];
        QProcess &first = &second == &runs[0] ? runs[1] : runs[0];
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(errorLinesOf(second), QStringList{u"tavimark: the journal "_s + journal + u" is in use by another run"_s});
        QCOMPARE(second.exitCode(), 75);
        QCOMPARE(first.state(), QProcess::Running);

        QCOMPARE(QProcess::execute(u"cupsenable"_s, {u"-h"_s, printer.server(), u"Paused"_s}), 0);
        QVERIFY(first.waitForFinished(120'000));
        QCOMPARE(first.exitCode(), 0);
        QMap<QString, int> once;
        for (const QString &doc : docs)
            once.insert(doc, 1);
        QCOMPARE(jobsPerEntryOn(printer.server(), printer.folder(), dir.path()), once);
    }

    // Only a regular file, or a name not yet taken, holds a journal: anything
    // else is refused at once, before anything prints, and a huge file is
    // refused without being read whole (the run is given far less memory
    // than the file's size).
    void journalThatIsNoFileIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("said");  // after "tavimark: "; FILE for the journal's path
        QTest::newRow("a fifo") << u"fifo"_s << u"the journal FILE is not a regular file"_s;
        QTest::newRow("a device") << u"device"_s << u"the journal FILE is not a regular file"_s;
        QTest::newRow("a gigabyte of nothing") << u"huge"_s << u"line 1 of the journal FILE is damaged"_s;
    }
    void journalThatIsNoFileIsRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 2);
        QString journal = dir.filePath(u"run.journal"_s);
        constexpr qint64 Gigabyte = 1024 * 1024 * 1024;
        if (kind == u"fifo"_s)
            QCOMPARE(::mkfifo(QFile::encodeName(journal).constData(), 0600), 0);
        else if (kind == u"device"_s)
            journal = u"/dev/null"_s;
        else {
            // Sparse: the test writes none of it.
            QFile huge(journal);
            QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(Gigabyte));
        }

        QProcess run;
        run.setProcessEnvironment(environmentFor(m_server));
        run.setChildProcessModifier([] {
            const rlimit data{256 * 1024 * 1024, 256 * 1024 * 1024};
            ::setrlimit(RLIMIT_DATA, &data);
        });
        run.start(qEnvironmentVariable("TAVIMARK_BINARY"), QStringList{u"--print"_s, u"--journal"_s, journal} + docs);
        const bool ended = run.waitForFinished(60'000);
        if (!ended)
            run.kill();
        QVERIFY2(ended, "the run waited on its journal");
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QCOMPARE(errorLinesOf(run), QStringList{u"tavimark: "_s + QString(said).replace(u"FILE"_s, journal)});
        QCOMPARE(run.exitCode(), 64);
        if (kind == u"huge"_s)
            QCOMPARE(QFileInfo(journal).size(), Gigabyte);
        QCOMPARE(jobsPerEntry(m_server, dir.path()), (QMap<QString, int>()));
    }

    // A journal that cannot be written stops the run before its first job:
    // here a new journal on a disk that is already full.
    void unwritableJournalStopsTheRun()
    {
        QTemporaryDir dir;
        const QString disk = dir.filePath(u"disk"_s);
        QVERIFY(QDir().mkdir(disk));
        if (QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=4k"_s, u"tmpfs"_s, disk}) != 0)
            QSKIP("needs to mount a small file system (root)");
        const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {disk}); });
        QFile filler(disk + u"/filler"_s);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(512, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        const QStringList docs = documents(dir.path(), 3);
        const QString journal = disk + u"/run.journal"_s;
        const Outcome run = runProgram(QStringList{u"--print"_s, u"--journal"_s, journal} + docs, m_server);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.errorLines.value(0), u"[1/3] not printed (the journal "_s + journal + u" cannot be written: "_s
                                              + QString::fromLocal8Bit(std::strerror(ENOSPC)) + u"): "_s + docs[0]);
        QCOMPARE(jobsPerEntry(m_server, dir.path()), (QMap<QString, int>()));
    }

    // A disk that fills up part way stops the run before the next job, and
    // the record it could write only part of is taken back: the journal
    // still reads, and shows every job that reached the printer.
    void fullDiskStopsTheRunAndKeepsTheJournalWhole()
    {
        QTemporaryDir dir;
        const QString disk = dir.filePath(u"disk"_s);
        QVERIFY(QDir().mkdir(disk));
        // A file system of one page: room for the records of some twenty jobs.
        if (QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=4k"_s, u"tmpfs"_s, disk}) != 0)
            QSKIP("needs to mount a small file system (root)");
        const auto unmount = qScopeGuard([&] { QProcess::execute(u"umount"_s, {disk}); });
        const QStringList docs = documents(dir.path(), 40);
        const QString journal = disk + u"/run.journal"_s;

        const Outcome run = runProgram(QStringList{u"--print"_s, u"--journal"_s, journal} + docs, m_server);
        QCOMPARE(run.status, 2);
        QVERIFY(run.errorLines.constLast().contains(u"cannot be written: "_s + QString::fromLocal8Bit(std::strerror(ENOSPC))));
        const QByteArray written = contents(journal);
        QVERIFY(written.endsWith('\n'));
        const QList<QJsonObject> records = jsonLines(written);
        QVERIFY(records.size() > 2);
        QStringList shownSent;
        QString goingOut;
        for (const QJsonObject &record : records.mid(1)) {
            goingOut = record.contains(u"event"_s) ? record.value(u"entry"_s).toString() : QString();
            if (record.value(u"outcome"_s).toString() == u"sent"_s)
                shownSent << record.value(u"entry"_s).toString();
        }
        QVERIFY(shownSent.size() < docs.size());
        // The rig has what the journal shows as sent, and at most the job
        // that was going out when the disk filled up.
        QStringList printed = jobsPerEntry(m_server, dir.path()).keys();
        printed.removeOne(goingOut);
        QCOMPARE(printed, shownSent);
    }

    // The journal records the queue each job went to: resumed on another
    // queue, the run says where the entries it leaves out went; resumed on
    // the same one, named or the default, it says what it always said.
    void resumedElsewhereNamesThePrinter_data()
    {
        QTest::addColumn<QStringList>("options");  // the second run's
        QTest::addColumn<QString>("said");
        QTest::newRow("on another queue") << QStringList{u"-d"_s, u"Hall"_s} << u"already sent to Rig (journal)"_s;
        QTest::newRow("on the same queue") << QStringList{u"-d"_s, u"Rig"_s} << u"already sent (journal)"_s;
        QTest::newRow("on the default queue") << QStringList() << u"already sent (journal)"_s;
    }
    void resumedElsewhereNamesThePrinter()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, said);
        QTemporaryDir dir;
        const QStringList docs = documents(dir.path(), 2);
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments{u"--print"_s, u"--journal"_s, journal};
        QCOMPARE(runProgram(arguments + docs, m_server).status, 0);
        const Outcome again = runProgram(arguments + options + docs, m_server);
        QCOMPARE(again.status, 0);
        QCOMPARE(lastWordsOf(again.errorLines, docs), QStringList(docs.size(), said));
        QCOMPARE(jobsPerEntry(m_server, dir.path()).keys(), docs);
    }

    // --json: one object per entry on standard output, each field of the
    // type the README gives, the job named the rig's own, and a summary
    // whose counts and status agree with the run.
    void jsonDescribesEachEntry()
    {
        QTemporaryDir dir;
        QStringList docs = documents(dir.path(), 2, "<h1>One</h1><h1 style='break-before: page'>Two</h1>");
        docs.insert(1, dir.filePath(u"missing.html"_s));
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"--json"_s, u"--journal"_s, journal} + docs;
        const Outcome run = runProgram(arguments, m_server);
        QCOMPARE(run.status, 1);
        const QList<QJsonObject> objects = jsonLines(run.out);
        QCOMPARE(objects.size(), 4);

        const QStringList outcomes{u"sent"_s, u"not printed"_s, u"sent"_s};
        for (int i = 0; i < 3; ++i) {
            const QJsonObject entry = objects.at(i);
            QCOMPARE(entry.value(u"step"_s).toInt(), i + 1);
            QCOMPARE(entry.value(u"entry"_s).toString(), docs.at(i));
            QCOMPARE(entry.value(u"outcome"_s).toString(), outcomes.at(i));
            QVERIFY(entry.value(u"reason"_s).isString());
            QCOMPARE(entry.value(u"printer"_s).toString(), u"Rig"_s);
            QVERIFY(entry.value(u"seconds"_s).isDouble() && entry.value(u"seconds"_s).toDouble() >= 0);
            const bool sent = outcomes.at(i) == u"sent"_s;
            QCOMPARE(entry.value(u"reason"_s).toString().isEmpty(), sent);
            // Static files, quiet as soon as they have loaded.
            QCOMPARE(entry.value(u"ready"_s).toString(u"absent"_s), sent ? u"at-once"_s : QString());
            QCOMPARE(entry.value(u"pages"_s).toInt(-1), sent ? 2 : -1);
            QCOMPARE(entry.value(u"job"_s).isNull(), !sent);
            QVERIFY(sent ? entry.value(u"bytes"_s).toInteger() > 0 : entry.value(u"bytes"_s).toInteger() == 0);
            if (sent) {
                // The rig keeps each job as job-NNNNNN.pdf, titled by its entry.
                const QString job = rig::sharedFolder() + u"/jobs/job-"_s
                    + QString::number(entry.value(u"job"_s).toInt()).rightJustified(6, u'0') + u".pdf"_s;
                // The backend writes the title first and moves the document
                // into place last: the document's being there is the sign.
                QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(job), 60'000);
                QCOMPARE(rig::titleOf(job), docs.at(i));
                QCOMPARE(QFileInfo(job).size(), entry.value(u"bytes"_s).toInteger());
            }
        }
        const QJsonObject summary = objects.constLast().value(u"summary"_s).toObject();
        QCOMPARE(summary.value(u"entries"_s).toInt(), 3);
        QCOMPARE(summary.value(u"sent"_s).toInt(), 2);
        QCOMPARE(summary.value(u"not printed"_s).toInt(), 1);
        QCOMPARE(summary.value(u"already sent (journal)"_s).toInt(), 0);
        QCOMPARE(objects.constLast().value(u"exit"_s).toInt(-1), run.status);

        // Again: the journal accounts for the two sent, in their places.
        const Outcome again = runProgram(arguments, m_server);
        const QList<QJsonObject> resumed = jsonLines(again.out);
        QCOMPARE(resumed.size(), 4);
        QStringList said;
        for (const QJsonObject &entry : resumed.mid(0, 3))
            said << QString::number(entry.value(u"step"_s).toInt()) + u' ' + entry.value(u"outcome"_s).toString();
        QCOMPARE(said, (QStringList{u"1 already sent (journal)"_s, u"2 not printed"_s, u"3 already sent (journal)"_s}));
        QCOMPARE(resumed.constLast().value(u"summary"_s).toObject().value(u"already sent (journal)"_s).toInt(), 2);
        QCOMPARE(resumed.constLast().value(u"exit"_s).toInt(-1), again.status);
    }

    // With --output there is nothing to follow: --wait returns at once and
    // each PDF file written is final.
    void waitingForFilesWritten()
    {
        QTemporaryDir dir;
        QTemporaryDir output;
        const QStringList docs = documents(dir.path(), 2);
        const Outcome run =
            runProgram(QStringList{u"--print"_s, u"--json"_s, u"--wait"_s, u"--output"_s, output.path()} + docs, m_server);
        QCOMPARE(run.status, 0);
        const QList<QJsonObject> objects = jsonLines(run.out);
        QCOMPARE(objects.size(), 3);
        QCOMPARE(objects.at(0).value(u"outcome"_s).toString(), u"written"_s);
        QCOMPARE(objects.at(1).value(u"outcome"_s).toString(), u"written"_s);
        QCOMPARE(objects.at(0).value(u"printer"_s).toString(), QString());
        QCOMPARE(objects.at(2).value(u"summary"_s).toObject().value(u"written"_s).toInt(), 2);
    }

    // --wait follows every job to the printer's answer, on a rig of the
    // test's own (a failed job and a stopped queue stay on it): each entry's
    // last line and its --json object give that answer, the exit status
    // follows from the answers, and the rig holds a job for exactly the
    // entries called printed, the one --json names.
    void waitingForThePrinter_data()
    {
        QTest::addColumn<QString>("scheduler");  // the rig's own settings
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("said");      // each entry's last words on the log
        QTest::addColumn<QStringList>("outcomes");  // each entry's --json outcome
        QTest::addColumn<int>("status");
        const QStringList fine{u"one.html"_s, u"two.html"_s, u"three.html"_s};
        const QStringList printed{u"printed"_s, u"printed"_s, u"printed"_s};
        QTest::newRow("every job printed") << QString() << fine << QStringList() << printed << printed << 0;
        // A busy print server keeps no job history: it forgets each job as
        // it ends, and only the end's event tells what became of it.
        QTest::newRow("no job history") << NoHistory << fine << QStringList() << printed << printed << 0;
        QTest::newRow("aborted, no job history")
            << NoHistory << QStringList{u"one.html"_s, u"two-abort-this-job.html"_s}
            << QStringList() << QStringList{u"printed"_s, u"aborted by the printer (the print system gave it up)"_s}
            << QStringList{u"printed"_s, u"aborted"_s} << 1;
        QTest::newRow("one job aborted") << QString() << QStringList{u"one.html"_s, u"two-abort-this-job.html"_s, u"three.html"_s}
                                         << QStringList()
                                         << QStringList{u"printed"_s, u"aborted by the printer (the rig fails this job on purpose)"_s,
                                                        u"printed"_s}
                                         << QStringList{u"printed"_s, u"aborted"_s, u"printed"_s} << 1;
        QTest::newRow("a stopped queue") << QString() << QStringList{u"one.html"_s}
                                         << QStringList{u"-d"_s, u"Paused"_s, u"--wait-timeout"_s, u"3"_s}
                                         << QStringList{u"still held (the printer is stopped)"_s} << QStringList{u"held"_s} << 2;
        // Jobs keep coming while the printers are asked about: none of them
        // is taken for one the print system forgot.
        QStringList many;
        for (int i = 1; i <= 40; ++i)
            many << u"held-"_s + QString::number(i) + u".html"_s;
        QTest::newRow("many on a stopped queue") << QString() << many << QStringList{u"-d"_s, u"Paused"_s, u"--wait-timeout"_s, u"5"_s}
                                                 << QStringList(40, u"still held (the printer is stopped)"_s)
                                                 << QStringList(40, u"held"_s) << 2;
    }
    void waitingForThePrinter()
    {
        QFETCH(QString, scheduler);
        QFETCH(QStringList, names);
        QFETCH(QStringList, options);
        QFETCH(QStringList, said);
        QFETCH(QStringList, outcomes);
        QFETCH(int, status);
        const rig::PrivateRig printer(scheduler);
        QVERIFY(printer.isUp());
        QTemporaryDir dir;
        const QStringList docs = documentsNamed(dir.path(), names);
        const Outcome run = runProgram(QStringList{u"--print"_s, u"--wait"_s, u"--json"_s} + options + docs, printer.server());
        QCOMPARE(run.status, status);
        QCOMPARE(lastWordsOf(run.errorLines, docs), said);

        const QList<QJsonObject> objects = jsonLines(run.out);
        QCOMPARE(objects.size(), docs.size() + 1);
        const QString queue = options.contains(u"-d"_s) ? options.at(options.indexOf(u"-d"_s) + 1) : u"Rig"_s;
        QStringList printedEntries;
        QMap<QString, int> tally;
        for (qsizetype i = 0; i < docs.size(); ++i) {
            const QJsonObject entry = objects.at(i);
            QCOMPARE(entry.value(u"entry"_s).toString(), docs.at(i));
            QCOMPARE(entry.value(u"outcome"_s).toString(), outcomes.at(i));
            QCOMPARE(entry.value(u"printer"_s).toString(), queue);
            // Every job was taken: each keeps the number the queue gave it.
            QVERIFY(entry.value(u"job"_s).toInt() > 0);
            ++tally[outcomes.at(i)];
            if (outcomes.at(i) == u"printed"_s) {
                printedEntries << docs.at(i);
                const QString job = printer.folder() + u"/jobs/job-"_s
                    + QString::number(entry.value(u"job"_s).toInt()).rightJustified(6, u'0') + u".pdf"_s;
                QCOMPARE(rig::titleOf(job), docs.at(i));
            }
        }
        // Said the moment the program ends: a job called printed is already
        // in the jobs folder, and no other is.
        QStringList onTheRig = rig::jobTitles(dir.path(), printer.folder());
        onTheRig.sort();
        printedEntries.sort();
        QCOMPARE(onTheRig, printedEntries);

        const QJsonObject summary = objects.constLast().value(u"summary"_s).toObject();
        for (const QString &outcome : {u"printed"_s, u"aborted"_s, u"held"_s, u"sent"_s})
            QCOMPARE(summary.value(outcome).toInt(), tally.value(outcome));
        QCOMPARE(objects.constLast().value(u"exit"_s).toInt(-1), status);
    }

    // A job canceled from outside, while --wait waits for it on a stopped
    // queue, is reported canceled with why, whether the print system keeps
    // its job history or not.
    void waitingForAJobCanceledElsewhere_data()
    {
        QTest::addColumn<QString>("scheduler");
        QTest::newRow("job history kept") << QString();
        QTest::newRow("no job history") << NoHistory;
    }
    void waitingForAJobCanceledElsewhere()
    {
        QFETCH(QString, scheduler);
        const rig::PrivateRig printer(scheduler);
        QVERIFY(printer.isUp());
        QTemporaryDir dir;
        const QStringList docs = documentsNamed(dir.path(), {u"canceled.html"_s});
        QProcess program;
        program.setProcessEnvironment(environmentFor(printer.server()));
        QByteArray said;
        int job = 0;
        // Canceled the moment the run says its job is in the queue.
        connect(&program, &QProcess::readyReadStandardError, &program, [&] {
            said += program.readAllStandardError();
            if (job == 0 && said.contains("] sent: ")) {
                job = queuedJob(printer.server());
                QProcess::execute(u"cancel"_s, {u"-h"_s, printer.server(), QString::number(job)});
            }
        });
        program.start(qEnvironmentVariable("TAVIMARK_BINARY"),
                      QStringList{u"--print"_s, u"--wait"_s, u"--json"_s, u"-d"_s, u"Paused"_s, u"--wait-timeout"_s, u"60"_s}
                          + docs);
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(program.state() == QProcess::NotRunning, 120'000);
        said += program.readAllStandardError();
        QVERIFY(job > 0);
        const QStringList errorLines = QString::fromUtf8(said).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lastWordsOf(errorLines, docs), QStringList{u"canceled (canceled by its owner)"_s});
        const QList<QJsonObject> objects = jsonLines(program.readAllStandardOutput());
        QCOMPARE(objects.size(), 2);
        QCOMPARE(objects.at(0).value(u"outcome"_s).toString(), u"canceled"_s);
        QCOMPARE(objects.at(0).value(u"reason"_s).toString(), u"canceled by its owner"_s);
        QCOMPARE(program.exitCode(), 1);
    }

private:
    QString m_server;
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
