// SPDX-License-Identifier: GPL-3.0-or-later
// Printing where and how the user chooses, from the command line: -d, -n,
// -o and --list-printers, read, checked against the rig's own queues (a raw
// one, a second raw one, one whose driver offers two-sided printing, two
// paper sizes and colour, and one like it whose paper is A4), and what
// arrives there.
#include "app/commandline/commandline.h"

#include "support/arguments.h"
#include "support/printrig.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;
using Options = QMap<QString, QString>;

namespace {

app::CommandLine parse(const QStringList &arguments)
{
    return parseArguments(arguments);
}

using Outcome = ProgramRun;

Outcome runProgram(const QStringList &arguments, const QString &server)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"CUPS_SERVER"_s, server);
    return runTavimark(arguments, environment, 120'000);
}

// What pdfinfo says of a PDF: "Pages" and "Page size", say.
QString pdfInfo(const QString &file, const QString &field)
{
    QProcess pdfinfo;
    pdfinfo.start(u"pdfinfo"_s, {file});
    pdfinfo.waitForFinished(30'000);
    const QRegularExpression line(u"^"_s + QRegularExpression::escape(field) + u":\\s*(.*)$"_s,
                                  QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(pdfinfo.readAllStandardOutput())).captured(1).trimmed();
}

// A PDF's first page size in points, as pdfinfo gives it.
QSizeF pageSize(const QString &file)
{
    static const QRegularExpression size(u"^([0-9.]+) x ([0-9.]+) pts"_s);
    const QRegularExpressionMatch match = size.match(pdfInfo(file, u"Page size"_s));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

// Within a point: the engine rounds its page sizes.
bool sameSize(const QSizeF &one, const QSizeF &other)
{
    return qAbs(one.width() - other.width()) < 1 && qAbs(one.height() - other.height()) < 1;
}

const QSizeF A4{595.3, 841.9};
const QSizeF Letter{612, 792};
const QSizeF LetterTurned{792, 612};

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A document of several pages, each starting with its own heading.
QByteArray longDocument(const QString &title, int pages)
{
    QByteArray html = "<title>" + title.toUtf8() + "</title>";
    for (int page = 1; page <= pages; ++page)
        html += "<h1 style='break-before: page'>Section " + QByteArray::number(page) + "</h1>";
    return html;
}

} // namespace

class TestPrinterOptions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_server = rig::sharedServer();
        if (m_server.isEmpty())
            QSKIP("needs the print test rig; run through ctest, which starts it");
    }

    // What -d, -n and -o make of their values before any printer is asked,
    // and what they refuse at once (exit 64).
    void optionsAreRead_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<int>("copies");
        QTest::addColumn<QStringList>("options");  // name=value, in order
        QTest::addColumn<QString>("error");
        const QStringList none;
        QTest::newRow("short forms") << QStringList{u"-d"_s, u"Hall"_s, u"-n"_s, u"2"_s, u"-o"_s, u"sides=two-sided-long-edge"_s}
                                     << u"Hall"_s << 2 << QStringList{u"sides=two-sided-long-edge"_s} << QString();
        QTest::newRow("long forms") << QStringList{u"--printer=Hall"_s, u"--copies=3"_s} << u"Hall"_s << 3 << none << QString();
        QTest::newRow("landscape as lp takes it") << QStringList{u"-o"_s, u"landscape"_s} << QString() << 1
                                                  << QStringList{u"orientation-requested=4"_s} << QString();
        QTest::newRow("several in one") << QStringList{u"-o"_s, u"media=A4  orientation-requested=landscape"_s} << QString() << 1
                                        << QStringList{u"media=A4"_s, u"orientation-requested=4"_s} << QString();
        QTest::newRow("copies as an option") << QStringList{u"-o"_s, u"copies=4"_s} << QString() << 4 << none << QString();
        QTest::newRow("the last value counts") << QStringList{u"-o"_s, u"sides=one-sided"_s, u"-o"_s, u"sides=two-sided-short-edge"_s}
                                               << QString() << 1 << QStringList{u"sides=two-sided-short-edge"_s} << QString();
        QTest::newRow("no value") << QStringList{u"-o"_s, u"sides"_s} << QString() << 1 << none
                                  << u"-o wants NAME=VALUE, such as sides=two-sided-long-edge, not \"sides\""_s;
        QTest::newRow("unknown paper") << QStringList{u"-o"_s, u"media=Napkin"_s} << QString() << 1 << none
                                       << u"-o media=Napkin names no paper size; use a name such as A4, Letter or iso_a4_210x297mm"_s;
        QTest::newRow("backwards range") << QStringList{u"-o"_s, u"page-ranges=5-2"_s} << QString() << 1 << none
                                         << u"-o page-ranges=5-2 names no pages; write them as 1-3,7 or 5-"_s;
        QTest::newRow("reversed orientation") << QStringList{u"-o"_s, u"orientation-requested=5"_s} << QString() << 1 << none
                                              << u"-o orientation-requested=5 is no orientation Tavimark lays pages out in: "
                                                 u"use 3 (portrait) or 4 (landscape)"_s;
        QTest::newRow("no copies") << QStringList{u"-o"_s, u"copies=0"_s} << QString() << 1 << none
                                   << u"-o copies wants a whole number from 1 to 999"_s;
        QTest::newRow("control characters") << QStringList{u"-o"_s, u"job-sheets=a\u0001b"_s} << QString() << 1 << none
                                            << u"-o job-sheets has a value no printer takes"_s;
    }
    void optionsAreRead()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, printer);
        QFETCH(int, copies);
        QFETCH(QStringList, options);
        QFETCH(QString, error);
        const app::CommandLine line = parse(QStringList{u"--print"_s} + arguments);
        QCOMPARE(line.error, error);
        if (!error.isEmpty())
            return;
        QCOMPARE(line.printer.printer, printer);
        QCOMPARE(line.printer.copies, copies);
        QStringList read;
        for (const core::JobOption &option : line.printer.options)
            read << option.name + u'=' + option.value;
        QCOMPARE(read, options);
    }

    // Each run is checked against the queue's own offer before anything is
    // loaded; what the queue takes arrives with the job.
    void optionsAreCheckedAndArrive_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");      // a part of the first line, when nothing printed
        QTest::addColumn<Options>("arrived");   // a part of what the queue recorded, when printed
        QTest::addColumn<QSizeF>("size");  // in points; empty: any

        QTest::newRow("another queue") << QStringList{u"-d"_s, u"Hall"_s} << 0 << QString()
                                       << Options{{u"queue"_s, u"Hall"_s}, {u"copies"_s, u"1"_s}} << QSizeF();
        QTest::newRow("two-sided, A4, monochrome, 2 copies")
            << QStringList{u"-d"_s, u"Duplex"_s, u"-n"_s, u"2"_s, u"-o"_s, u"sides=two-sided-long-edge"_s, u"-o"_s, u"media=A4"_s,
                           u"-o"_s, u"print-color-mode=monochrome"_s}
            << 0 << QString()
            << Options{{u"queue"_s, u"Duplex"_s},
                       {u"copies"_s, u"2"_s},
                       {u"sides"_s, u"two-sided-long-edge"_s},
                       {u"media"_s, u"iso_a4_210x297mm"_s},
                       {u"print-color-mode"_s, u"monochrome"_s}}
            << A4;
        QTest::newRow("the queue's own paper, turned") << QStringList{u"-d"_s, u"Duplex"_s, u"-o"_s, u"landscape"_s} << 0 << QString()
                                                       << Options{{u"queue"_s, u"Duplex"_s}} << LetterTurned;
        QTest::newRow("a paper size on a raw queue") << QStringList{u"-o"_s, u"media=Letter"_s} << 0 << QString()
                                                     << Options{{u"queue"_s, u"Rig"_s}} << Letter;
        QTest::newRow("a value the queue does not offer")
            << QStringList{u"-d"_s, u"Duplex"_s, u"-o"_s, u"sides=sideways"_s} << 64
            << u"The printer \"Duplex\" does not offer sides=sideways (it offers one-sided, two-sided-long-edge, "
               u"two-sided-short-edge), so nothing was printed."_s
            << Options{} << QSizeF();
        QTest::newRow("an option the queue has not") << QStringList{u"-o"_s, u"sides=two-sided-long-edge"_s} << 64
                                                     << u"The printer \"Rig\" offers no option sides (it offers copies, "_s
                                                     << Options{} << QSizeF();
        QTest::newRow("a number-up the queue does not offer") << QStringList{u"-d"_s, u"Duplex"_s, u"-o"_s, u"number-up=5"_s} << 64
                                                       << u"does not offer number-up=5 (it offers 1, 2, 4, 6, 9, 16)"_s
                                                       << Options{} << QSizeF();
        QTest::newRow("a printer that is gone") << QStringList{u"-d"_s, u"Gone"_s} << 2
                                                << u"There is no printer called \"Gone\", so nothing was printed."_s
                                                << Options{} << QSizeF();
        // A name as long as an argument can be stands shortened in the middle.
        QTest::newRow("a printer with a very long name that is gone")
            << QStringList{u"-d"_s, QString(50'000, u'A') + QString(50'000, u'Z')} << 2
            << u"There is no printer called \"" + QString(99, u'A') + QChar(0x2026) + QString(100, u'Z')
                   + u"\", so nothing was printed."
            << Options{} << QSizeF();
    }
    void optionsAreCheckedAndArrive()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(Options, arrived);
        QFETCH(QSizeF, size);
        QTemporaryDir dir;
        const QString document = dir.filePath(u"options.htm"_s);
        write(document, "<h1>Printed with options</h1>");

        const Outcome outcome = runProgram(QStringList{u"--print"_s} + arguments + QStringList{document}, m_server);

        QCOMPARE(outcome.status, status);
        if (!said.isEmpty()) {
            QVERIFY2(outcome.errorLines.value(0).contains(said), qPrintable(outcome.errorLines.join(u'\n')));
            QCOMPARE(outcome.errorLines.size(), 1);
            QVERIFY(rig::queueEmpty(m_server));
            QVERIFY(rig::jobFiles(rig::sharedFolder(), dir.path()).isEmpty());
            return;
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), dir.path()).size(), 1, 30'000);
        const QString job = rig::jobFiles(rig::sharedFolder(), dir.path()).constFirst();
        const QMap<QString, QString> recorded = rig::jobOptions(job);
        for (auto option = arrived.cbegin(); option != arrived.cend(); ++option)
            QCOMPARE(recorded.value(option.key()), option.value());
        if (!size.isEmpty())
            QVERIFY2(sameSize(pageSize(job), size), qPrintable(pdfInfo(job, u"Page size"_s)));
    }

    // Pages are laid out on the printer's own paper (its media-default;
    // the rig's raw queues name none and get A4), or on the one chosen;
    // --json names it. The PDF that arrives is that size.
    void paper_isThePrintersOwnUnlessChosen_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QSizeF>("size");  // in points
        QTest::addColumn<QString>("paper");
        QTest::newRow("an A4 printer") << QStringList{u"-d"_s, u"Office"_s} << A4 << u"A4"_s;
        QTest::newRow("a Letter printer") << QStringList{u"-d"_s, u"Duplex"_s} << Letter << u"Letter"_s;
        QTest::newRow("a raw queue") << QStringList{u"-d"_s, u"Hall"_s} << A4 << u"A4"_s;
        QTest::newRow("Letter chosen on an A4 printer")
            << QStringList{u"-d"_s, u"Office"_s, u"-o"_s, u"media=Letter"_s} << Letter << u"Letter"_s;
        QTest::newRow("A4 chosen on a Letter printer")
            << QStringList{u"-d"_s, u"Duplex"_s, u"-o"_s, u"media=iso_a4_210x297mm"_s} << A4 << u"A4"_s;
        QTest::newRow("an A5 chosen on a raw queue") << QStringList{u"-o"_s, u"media=A5"_s} << QSizeF(419.5, 595.3) << u"A5"_s;
    }
    void paper_isThePrintersOwnUnlessChosen()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QSizeF, size);
        QFETCH(QString, paper);
        QTemporaryDir dir;
        const QString document = dir.filePath(u"paper.htm"_s);
        write(document, "<h1>On the printer's own paper</h1>");

        const Outcome outcome = runProgram(QStringList{u"--print"_s, u"--json"_s} + arguments + QStringList{document}, m_server);

        QCOMPARE(outcome.status, 0);
        const QJsonObject entry = QJsonDocument::fromJson(outcome.out.split('\n').value(0)).object();
        QCOMPARE(entry.value(u"outcome"_s).toString(), u"sent"_s);
        QCOMPARE(entry.value(u"paper"_s).toString(), paper);
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), dir.path()).size(), 1, 30'000);
        const QString job = rig::jobFiles(rig::sharedFolder(), dir.path()).constFirst();
        QVERIFY2(sameSize(pageSize(job), size), qPrintable(pdfInfo(job, u"Page size"_s)));
    }

    // A page range picks each document's own pages after its headings are
    // drawn: page 3 of 4 is still "Page 3 of 4". A document with no page in
    // the range fails alone; the next one prints.
    void pageRanges_keepTheHeadingsNumbering()
    {
        QTemporaryDir dir;
        const QString longOne = dir.filePath(u"long.htm"_s);
        const QString shortOne = dir.filePath(u"short.htm"_s);
        write(longOne, longDocument(u"Long one"_s, 4));
        write(shortOne, longDocument(u"Short one"_s, 1));

        const Outcome outcome = runProgram({u"--print"_s, u"-o"_s, u"page-ranges=2-3"_s, shortOne, longOne}, m_server);

        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.errorLines.value(0), u"[1/2] not printed (no page of it is in the range 2-3): "_s + shortOne);
        QCOMPARE(outcome.errorLines.value(1), u"[2/2] sent: "_s + longOne);
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), dir.path()).size(), 1, 30'000);
        const QString job = rig::jobFiles(rig::sharedFolder(), dir.path()).constFirst();
        QCOMPARE(pdfInfo(job, u"Pages"_s), u"2"_s);
        const QString text = rig::pdfText(job).simplified();
        QVERIFY2(text.contains(u"Page 2 of 4"_s) && text.contains(u"Page 3 of 4"_s), qPrintable(text));
        QVERIFY2(text.contains(u"Section 2"_s) && text.contains(u"Section 3"_s) && !text.contains(u"Section 1"_s)
                     && !text.contains(u"Section 4"_s),
                 qPrintable(text));
    }

    // PDF files take a paper size, an orientation and pages; a printer's
    // options are refused rather than lost on them.
    void outputFolder_takesPaperAndOrientationOnly()
    {
        QTemporaryDir dir;
        const QString document = dir.filePath(u"paper.htm"_s);
        write(document, "<h1>On Letter, turned</h1>");
        const Outcome written = runProgram({u"--print"_s, u"--output"_s, dir.filePath(u"out"_s), u"-o"_s, u"media=Letter"_s,
                                            u"-o"_s, u"landscape"_s, document},
                                           m_server);
        QCOMPARE(written.status, 0);
        QVERIFY2(sameSize(pageSize(dir.filePath(u"out/paper.pdf"_s)), LetterTurned),
                 qPrintable(pdfInfo(dir.filePath(u"out/paper.pdf"_s), u"Page size"_s)));

        const Outcome refused = runProgram({u"--print"_s, u"--output"_s, dir.filePath(u"out2"_s), u"-o"_s,
                                            u"sides=two-sided-long-edge"_s, document},
                                           m_server);
        QCOMPARE(refused.status, 64);
        QCOMPARE(refused.errorLines.value(0), u"tavimark: A PDF file has no option sides (it has media, orientation-requested "
                                              u"and page-ranges), so nothing was written."_s);
        QVERIFY(!QFile::exists(dir.filePath(u"out2/paper.pdf"_s)));
    }

    void listPrinters_oneALineTheDefaultMarked()
    {
        const Outcome listed = runProgram({u"--list-printers"_s}, m_server);
        QCOMPARE(listed.status, 0);
        QStringList lines = QString::fromUtf8(listed.out).split(u'\n', Qt::SkipEmptyParts);
        lines.sort();
        QCOMPARE(lines, (QStringList{u"Duplex"_s, u"Hall"_s, u"Office"_s, u"Paused"_s, u"Rig (default)"_s}));

        const Outcome unreachable = runProgram({u"--list-printers"_s}, u"127.0.0.1:1"_s);
        QCOMPARE(unreachable.status, 2);
        QCOMPARE(unreachable.errorLines, QStringList{u"tavimark: the print system cannot be reached"_s});
    }

private:
    QString m_server;
};

QTEST_GUILESS_MAIN(TestPrinterOptions)
#include "tst_printeroptions.moc"
