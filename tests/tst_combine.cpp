// SPDX-License-Identifier: GPL-3.0-or-later
// A run made one job (--combine) or one file (--combine --output FILE): the
// real program, the real engine and the rig's queue, the job read back as
// the printer got it.
#include "printing/pdf/pdfdocument.h"
#include "support/answerrelay.h"
#include "support/arguments.h"
#include "support/printrig.h"
#include "support/rundocuments.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every page of the run's documents is headed "NAME chapter N".
QString document(const QString &folder, const QString &name, int pages)
{
    return pagedDocument(folder, name, pages, u"chapter"_s);
}

QProcessEnvironment environmentFor(const QString &server, const QString &temporary = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"CUPS_SERVER"_s, server);
    environment.insert(u"TAVIMARK_RENDERERS"_s, u"1"_s);
    if (!temporary.isEmpty())
        environment.insert(u"TMPDIR"_s, temporary);
    return environment;
}

// What each page of `pdf` shows: "NAME x/y" from its heading's title and
// page label, or "" for a blank page.
QStringList pagesOf(const QString &pdf)
{
    const std::optional<printing::PdfDocument> read = [&pdf]() -> std::optional<printing::PdfDocument> {
        QFile file(pdf);
        return file.open(QIODevice::ReadOnly) ? printing::PdfDocument::read(file.readAll()) : std::nullopt;
    }();
    if (!read)
        return {u"unreadable"_s};
    QStringList pages;
    for (int page = 1; page <= read->pageCount(); ++page) {
        const QString text = rig::pdfText(pdf, {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page)});
        const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
        // "NAME Page x of y NAME chapter x ..."
        pages << (words.size() >= 5 ? words.at(0) + u' ' + words.at(2) + u'/' + words.at(4) : QString());
    }
    return pages;
}

QStringList topBookmarks(const QString &pdf)
{
    QFile file(pdf);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const std::optional<printing::PdfDocument> read = printing::PdfDocument::read(file.readAll());
    QStringList titles;
    for (const printing::PdfDocument::OutlineItem &item : read ? read->outline() : decltype(read->outline()){})
        titles << QString::number(item.level) + u' ' + item.title;
    return titles;
}

QStringList leftovers(const QString &folder)
{
    QStringList found;
    QDirIterator walk(folder, {u"tavimark-combine-*"_s}, QDir::Dirs | QDir::NoDotAndDotDot);
    while (walk.hasNext())
        found << walk.next();
    return found;
}

} // namespace

class TestCombine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_server = rig::sharedServer();
        if (m_server.isEmpty())
            QSKIP("needs the print test rig; run through ctest, which starts it");
    }

    void runIsOneJob_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("one-sided")
            << QStringList()
            << QStringList{u"Alpha 1/3"_s, u"Alpha 2/3"_s, u"Alpha 3/3"_s, u"Beta 1/1"_s, u"Gamma 1/2"_s, u"Gamma 2/2"_s};
        QTest::newRow("two-sided, each document on a sheet of its own")
            << QStringList{u"-o"_s, u"sides=two-sided-long-edge"_s}
            << QStringList{u"Alpha 1/3"_s, u"Alpha 2/3"_s, u"Alpha 3/3"_s, QString(), u"Beta 1/1"_s, QString(),
                           u"Gamma 1/2"_s, u"Gamma 2/2"_s};
    }

    // Mixed documents, one missing: one job on the queue, every page in
    // list order, the missing one named and left out, every entry told the
    // one job's number.
    void runIsOneJob()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, pages);
        QTemporaryDir dir;
        const QStringList docs{document(dir.path(), u"Alpha"_s, 3), dir.filePath(u"missing.html"_s),
                               document(dir.path(), u"Beta"_s, 1), document(dir.path(), u"Gamma"_s, 2)};
        const ProgramRun run = runTavimark(QStringList{u"--print"_s, u"--combine"_s, u"--json"_s, u"-d"_s, u"Office"_s}
                                               + options + docs,
                                           environmentFor(m_server, dir.path()), 180'000);
        QCOMPARE(run.status, 1);
        QVERIFY(QTest::qWaitFor([&] { return rig::queueEmpty(m_server); }, 60'000));
        const QStringList jobs = rig::jobFiles(rig::sharedFolder(), dir.path());
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(pagesOf(jobs.first()), pages);

        const QList<QJsonObject> lines = jsonLines(run.out);
        QCOMPARE(lines.size(), docs.size() + 1);
        const int job = lines.at(0).value(u"job"_s).toInt();
        QVERIFY(job > 0);
        const QStringList outcomes{u"sent"_s, u"not printed"_s, u"sent"_s, u"sent"_s};
        for (int i = 0; i < int(docs.size()); ++i) {
            QCOMPARE(lines.at(i).value(u"outcome"_s).toString(), outcomes.at(i));
            if (outcomes.at(i) == u"sent"_s)
                QCOMPARE(lines.at(i).value(u"job"_s).toInt(), job);
        }
        QVERIFY(leftovers(dir.path()).isEmpty());
    }

    // --output FILE: one file, with one bookmark per document and its
    // headings beneath; a file already there is kept, the new one numbered.
    void outputIsOneFile()
    {
        QTemporaryDir dir;
        const QStringList docs{document(dir.path(), u"Alpha"_s, 2), document(dir.path(), u"Beta"_s, 1)};
        const QString out = dir.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        QFile taken(out + u"/all.pdf"_s);
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("mine");
        taken.close();
        const ProgramRun run = runTavimark(QStringList{u"--print"_s, u"--combine"_s, u"--output"_s, out + u"/all.pdf"_s} + docs,
                                           environmentFor(m_server), 180'000);
        QCOMPARE(run.status, 0);
        QCOMPARE(QDir(out).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name),
                 (QStringList{u"all-2.pdf"_s, u"all.pdf"_s}));
        QVERIFY(taken.open(QIODevice::ReadOnly));
        QCOMPARE(taken.readAll(), QByteArray("mine"));
        QCOMPARE(pagesOf(out + u"/all-2.pdf"_s), (QStringList{u"Alpha 1/2"_s, u"Alpha 2/2"_s, u"Beta 1/1"_s}));
        QCOMPARE(topBookmarks(out + u"/all-2.pdf"_s),
                 (QStringList{u"1 Alpha"_s, u"2 Alpha chapter 1"_s, u"2 Alpha chapter 2"_s, u"1 Beta"_s, u"2 Beta chapter 1"_s}));
        QVERIFY(leftovers(out).isEmpty());
    }

    // --contents: the first page lists every document, its title escaped,
    // with the page it truly starts on, counting the contents' own pages
    // and the blank pages of two-sided printing; the bookmarks follow.
    void contentsPage_numbersTrue_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QList<int>>("starts");
        QTest::newRow("one-sided") << QStringList() << QList<int>{2, 3, 6};
        QTest::newRow("two-sided") << QStringList{u"-o"_s, u"sides=two-sided-long-edge"_s} << QList<int>{3, 5, 9};
    }
    void contentsPage_numbersTrue()
    {
        QFETCH(QStringList, options);
        QFETCH(QList<int>, starts);
        QTemporaryDir dir;
        const QStringList names{u"Alpha"_s, u"Beta"_s, u"Gamma"_s};
        const QList<int> lengths{1, 3, 2};
        QStringList docs;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString path = document(dir.path(), names[i], lengths[i]);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QString html = QString::fromUtf8(file.readAll());
            file.close();
            // A title that is markup in the contents' own HTML unless escaped.
            html.replace(u"<title>"_s + names[i] + u"</title>"_s, u"<title>"_s + names[i] + u" &lt;b&gt;&amp;&lt;/b&gt;</title>"_s);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(html.toUtf8());
            file.close();
            docs << path;
        }
        const QString out = dir.filePath(u"all.pdf"_s);
        const ProgramRun run = runTavimark(QStringList{u"--print"_s, u"--combine"_s, u"--contents"_s, u"--output"_s, out}
                                               + options + docs,
                                           environmentFor(m_server), 180'000);
        QCOMPARE(run.status, 0);
        const QStringList lines = rig::pdfText(out, {u"-f"_s, u"1"_s, u"-l"_s, u"1"_s}).split(u'\n', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString title = names[i] + u" <b>&</b>"_s;
            const qsizetype at = lines.indexOf(title);
            QVERIFY2(at >= 0, qPrintable(lines.join(u'|')));
            QVERIFY(at + 1 < lines.size());
            const int listed = lines[at + 1].trimmed().toInt();
            QCOMPARE(listed, starts[i]);
            const QString there = rig::pdfText(out, {u"-f"_s, QString::number(listed), u"-l"_s, QString::number(listed)});
            QVERIFY2(there.contains(names[i] + u" chapter 1"_s), qPrintable(there));
        }
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<printing::PdfDocument> read = printing::PdfDocument::read(file.readAll());
        QVERIFY(read);
        QStringList tops;
        for (const printing::PdfDocument::OutlineItem &item : read->outline()) {
            if (item.level == 1)
                tops << item.title + u' ' + QString::number(item.page + 1);
        }
        QCOMPARE(tops, (QStringList{u"Contents 1"_s, names[0] + u" <b>&</b> "_s + QString::number(starts[0]),
                                    names[1] + u" <b>&</b> "_s + QString::number(starts[1]),
                                    names[2] + u" <b>&</b> "_s + QString::number(starts[2])}));
    }

    // A contents too long for one page moves every number on by its own
    // length: each document is still found on the page listed for it.
    void longContents_numbersShiftWithIt()
    {
        QTemporaryDir dir;
        QStringList docs;
        for (int i = 1; i <= 80; ++i)
            docs << document(dir.path(), u"Doc"_s + QString::number(i).rightJustified(2, u'0'), 1);
        const QString out = dir.filePath(u"all.pdf"_s);
        const ProgramRun run = runTavimark(QStringList{u"--print"_s, u"--combine"_s, u"--contents"_s, u"--output"_s, out} + docs,
                                           environmentFor(m_server), 180'000);
        QCOMPARE(run.status, 0);
        const QString front = rig::pdfText(out, {u"-l"_s, u"4"_s});
        QMap<QString, int> listed;
        const QStringList lines = front.split(u'\n', Qt::SkipEmptyParts);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            bool number = false;
            const int page = lines[i + 1].trimmed().toInt(&number);
            // A page's first line begins with the form feed that ends the last.
            const QString name = lines[i].trimmed();
            if (name.startsWith(u"Doc"_s) && number)
                listed.insert(name, page);
        }
        QCOMPARE(listed.size(), 80);
        QVERIFY2(listed.value(u"Doc01"_s) > 2, "the contents takes more than one page");
        for (const QString &name : {u"Doc01"_s, u"Doc40"_s, u"Doc80"_s}) {
            const int page = listed.value(name);
            const QString there = rig::pdfText(out, {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page)});
            QVERIFY2(there.contains(name + u" chapter 1"_s), qPrintable(name + u": "_s + there));
        }
    }

    // Without --combine there is nothing to list.
    void contentsWithoutCombine_isAUsageError()
    {
        QTemporaryDir dir;
        const ProgramRun run = runTavimark({u"--print"_s, u"--contents"_s, document(dir.path(), u"Alpha"_s, 1)},
                                           environmentFor(m_server), 60'000);
        QCOMPARE(run.status, 64);
        QVERIFY2(run.errorLines.join(u'\n').contains(u"--contents goes with --combine"_s), qPrintable(run.errorLines.join(u'\n')));
    }

    // Killed while the documents are being gathered, and run again with
    // the same journal: the documents go out once, as one job.
    void killedAndResumedSendsOneJob()
    {
        QTemporaryDir dir;
        QStringList docs;
        for (int i = 1; i <= 40; ++i)
            docs << document(dir.path(), u"Doc"_s + QString::number(i).rightJustified(2, u'0'), 1);
        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"--combine"_s, u"--journal"_s, journal} + docs;

        QProcess first;
        first.setProcessEnvironment(environmentFor(m_server, dir.path()));
        first.start(qEnvironmentVariable("TAVIMARK_BINARY"), arguments);
        QVERIFY(first.waitForStarted());
        // Part way: some documents gathered, the job not yet out.
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                // The combined file holds a document or more.
                for (const QString &folder : leftovers(dir.path()))
                    if (QFileInfo(folder + u"/combined.pdf"_s).size() > 1000)
                        return true;
                return false;
            }(),
            120'000);
        first.kill();
        QVERIFY(first.waitForFinished(30'000));
        QVERIFY(rig::jobFiles(rig::sharedFolder(), dir.path()).isEmpty());

        const ProgramRun second = runTavimark(arguments, environmentFor(m_server, dir.path()), 180'000);
        QCOMPARE(second.status, 0);
        const ProgramRun third = runTavimark(arguments, environmentFor(m_server, dir.path()), 180'000);
        QCOMPARE(third.status, 0);
        QVERIFY(QTest::qWaitFor([&] { return rig::queueEmpty(m_server); }, 60'000));
        const QStringList jobs = rig::jobFiles(rig::sharedFolder(), dir.path());
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(pagesOf(jobs.first()).size(), docs.size());
    }

    // Killed as the one job goes out, its answer held back: run again, the
    // run finds the job in the queue for every entry it holds, and sends
    // nothing more.
    void killedAsTheJobGoesOutIsFoundInTheQueue()
    {
        rig::PrivateRig printer;
        QVERIFY(printer.isUp());
        QTemporaryDir dir;
        QStringList docs;
        for (int i = 1; i <= 3; ++i)
            docs << document(dir.path(), u"Part"_s + QString::number(i), 1);
        // A job that ended a whole second before the run: the queue shows
        // that its history reaches back past the job in doubt.
        QProcess lp;
        lp.setStandardOutputFile(QProcess::nullDevice());
        lp.start(u"lp"_s, {u"-h"_s, printer.server(), u"-t"_s, u"earlier"_s, docs[0]});
        QVERIFY(lp.waitForFinished() && lp.exitCode() == 0);
        QVERIFY(QTest::qWaitFor([&] { return rig::queueEmpty(printer.server()); }, 60'000));
        const qint64 ended = QDateTime::currentSecsSinceEpoch();
        QTRY_VERIFY(QDateTime::currentSecsSinceEpoch() > ended);

        const QString journal = dir.filePath(u"run.journal"_s);
        const QStringList arguments = QStringList{u"--print"_s, u"--combine"_s, u"--json"_s, u"--journal"_s, journal} + docs;
        AnswerRelay relay(printer.server(), 1, AnswerRelay::Fault::HoldAnswer);
        QProcess first;
        first.setProcessEnvironment(environmentFor(relay.address(), dir.path()));
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

        const ProgramRun again = runTavimark(arguments, environmentFor(printer.server(), dir.path()), 180'000);
        QCOMPARE(again.status, 0);
        const QList<QJsonObject> lines = jsonLines(again.out);
        QCOMPARE(lines.size(), docs.size() + 1);
        for (int i = 0; i < int(docs.size()); ++i)
            QCOMPARE(lines.at(i).value(u"outcome"_s).toString(), u"already sent (journal)"_s);
        QVERIFY(QTest::qWaitFor([&] { return rig::queueEmpty(printer.server()); }, 60'000));
        QCOMPARE(rig::jobFiles(printer.folder(), dir.path()).size(), 1);
    }

private:
    QString m_server;
};

QTEST_MAIN(TestCombine)
#include "tst_combine.moc"
