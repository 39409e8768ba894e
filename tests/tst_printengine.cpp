// The print run end to end: the real browser engine renders each entry and
// the real print system takes the jobs, on the private queue of the print
// test rig, whose backend keeps every job's bytes for these tests to read.
#include "app/actionbutton.h"
#include "app/form1.h"
#include "app/progressbar.h"
#include "joblist/joblist.h"
#include "printing/printrun.h"
#include "sources/folderwalk.h"

#include "fakedesktop.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <memory>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;
using platform::MousePointer;

namespace {

QString rigDir() { return qEnvironmentVariable("TAVIMARK_RIG"); }

// Titles of the jobs the rig's queue received that begin with `prefix`
// (every test prints entries of its own), in the order the queue took them.
QStringList jobTitles(const QString &prefix)
{
    const QDir jobs(rigDir() + u"/jobs");
    QStringList titles;
    for (const QString &pdf : jobs.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
        QFile title(jobs.filePath(pdf.chopped(4) + u".title"));
        if (!title.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(title.readAll());
        if (text.startsWith(prefix))
            titles << text;
    }
    return titles;
}

// The text pdftotext finds in each job of `prefix`, in queue order.
QStringList jobTexts(const QString &prefix)
{
    const QDir jobs(rigDir() + u"/jobs");
    QStringList texts;
    for (const QString &pdf : jobs.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name)) {
        QFile title(jobs.filePath(pdf.chopped(4) + u".title"));
        if (!title.open(QIODevice::ReadOnly) || !QString::fromUtf8(title.readAll()).startsWith(prefix))
            continue;
        QFile head(jobs.filePath(pdf));
        if (!head.open(QIODevice::ReadOnly) || !head.read(5).startsWith("%PDF-")) {
            texts << QStringLiteral("(not a PDF)");
            continue;
        }
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {jobs.filePath(pdf), QStringLiteral("-")});
        pdftotext.waitForFinished(30000);
        texts << QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified();
    }
    return texts;
}

QString writeDocument(const QTemporaryDir &dir, const QString &name, const QString &heading,
                      const QString &extra = {})
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write((u"<!doctype html><html><head><meta charset=\"utf-8\"><title>" + name + u"</title></head><body>"
                + extra + u"<h1>" + heading + u"</h1><p>Some words under the heading.</p></body></html>")
                   .toUtf8());
    return path;
}

// A web server on 127.0.0.1 whose pages fail in the ways a real one can.
class TroubleServer {
public:
    TroubleServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket] { answer(*socket); });
        });
    }
    // A distinct address per call, so each test's jobs carry titles of its own.
    QString url(const QString &path) const
    {
        return u"http://127.0.0.1:" + QString::number(m_server.serverPort()) + path + u"?"
            + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }

private:
    static void answer(QTcpSocket &socket)
    {
        const QByteArray request = socket.readAll();
        const QByteArray path = request.split(' ').value(1);
        if (path.startsWith("/never")) {
            // Promises far more than it sends and never closes.
            socket.write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                         "Content-Length: 1000000\r\n\r\n<!doctype html><body><h1>Partial heading</h1>"
                         "<p>The rest never comes.</p>");
            socket.write(QByteArray(4096, ' '));
        } else if (path.startsWith("/secret")) {
            reply(socket, "401 Unauthorized", "WWW-Authenticate: Basic realm=\"rig\"\r\n", "<h1>Who are you</h1>");
        } else if (path.startsWith("/good")) {
            reply(socket, "200 OK", "", "<h1>Served heading</h1>");
        } else {
            reply(socket, "404 Not Found", "", "<h1>Error page heading</h1>");
        }
    }
    static void reply(QTcpSocket &socket, const QByteArray &status, const QByteArray &headers, const QByteArray &body)
    {
        socket.write("HTTP/1.1 " + status + "\r\nContent-Type: text/html\r\nConnection: close\r\n" + headers
                     + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
};

// The main window with scripted dialogs but the real engine and printer.
struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form;

    explicit Window(std::unique_ptr<platform::DocumentPrinter> printer = platform::makeDocumentPrinter())
    {
        platform::Desktop desktop = fakes.make();
        desktop.printer = std::move(printer);
        fakes.printer = nullptr;
        form = std::make_unique<app::Form1>(std::move(desktop));
        form->printRun().setDocumentBound(10s);
    }
    void addThroughDialog(const QStringList &answer)
    {
        fakes.fileDialog->answers << answer;
        form->Check1()->click();
    }
    void print() { form->Check2()->click(); }
    QStringList messages() const { return fakes.messageBox->shown; }
};

constexpr int JobArrivalMs = 30000;

} // namespace

class TestPrintEngine : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        QFile server(rigDir() + u"/server");
        if (server.open(QIODevice::ReadOnly))
            qputenv("CUPS_SERVER", server.readAll().trimmed());
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("needs the print test rig; run through ctest, which starts it");
    }

    void threeFilesFromTheDialog_printInListOrderAndStayListed()
    {
        QTemporaryDir dir;
        writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Heading Alpha"));
        writeDocument(dir, QStringLiteral("b.htm"), QStringLiteral("Heading Bravo"));
        writeDocument(dir, QStringLiteral("c.html"), QStringLiteral("Heading Charlie"));
        Window window;
        window.addThroughDialog({dir.filePath(QStringLiteral("c.html")), dir.filePath(QStringLiteral("a.htm")), dir.filePath(QStringLiteral("b.htm"))});
        const QStringList entries{dir.filePath(QStringLiteral("c.html")), dir.filePath(QStringLiteral("a.htm")),
                                  dir.filePath(QStringLiteral("b.htm"))};

        window.print();

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()), entries, JobArrivalMs);
        const QStringList texts = jobTexts(dir.path());
        QVERIFY2(texts.value(0).contains(u"Heading Charlie"), qPrintable(texts.value(0)));
        QVERIFY2(texts.value(1).contains(u"Heading Alpha"), qPrintable(texts.value(1)));
        QVERIFY2(texts.value(2).contains(u"Heading Bravo"), qPrintable(texts.value(2)));
        QCOMPARE(window.form->jobs().count(), 3);
        for (int position = 1; position <= 3; ++position)
            QCOMPARE(window.form->jobs().text(position), entries.at(position - 1));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void entryMovedBeforeTheRun_printsAtItsNewPlace()
    {
        QTemporaryDir dir;
        Window window;
        for (const QString &name : {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")})
            window.form->jobs().add(writeDocument(dir, name + u".htm", u"Heading " + name));
        // The reorder gesture exchanges texts between positions.
        joblist::JobList &jobs = window.form->jobs();
        const QString third = jobs.text(3);
        jobs.setText(3, jobs.text(2));
        jobs.setText(2, jobs.text(1));
        jobs.setText(1, third);

        window.print();

        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 3, JobArrivalMs);
        QCOMPARE(jobTitles(dir.path()), (QStringList{jobs.text(1), jobs.text(2), jobs.text(3)}));
        QVERIFY(jobTexts(dir.path()).value(0).contains(u"Heading three"));
    }

    // A folder walk keeps a name that is not valid text as a file URL whose
    // escapes spell its bytes; the run must find and print that very file.
    void nameThatIsNotText_printsTheFileItNames()
    {
        QTemporaryDir dir;
        const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9 r\xe9sum\xe9.htm";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        const QByteArray html = "<!doctype html><title>x</title><h1>Heading Latin</h1>";
        QCOMPARE(::write(fd, html.constData(), size_t(html.size())), ssize_t(html.size()));
        ::close(fd);
        const QString entry = sources::entryText(name);
        QVERIFY2(entry.startsWith(u"file://"), qPrintable(entry));

        Window window;
        window.form->jobs().add(entry);
        window.print();

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(entry), QStringList{entry}, JobArrivalMs);
        QVERIFY(jobTexts(entry).value(0).contains(u"Heading Latin"));
    }

    void fourEntries_barShowsEachShareThenZero()
    {
        QTemporaryDir dir;
        Window window;
        for (int i = 1; i <= 4; ++i)
            window.form->jobs().add(writeDocument(dir, QString::number(i) + u".htm", u"Page " + QString::number(i)));
        QSignalSpy bar(&window.form->printRun(), &printing::PrintRun::progress);

        window.print();

        QList<float> values;
        for (const QList<QVariant> &call : bar)
            values << call.first().toFloat();
        QCOMPARE(values, (QList<float>{25.0f, 50.0f, 75.0f, 100.0f, 0.0f}));
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 4, JobArrivalMs);
    }

    void emptyList_saysNoFilesAdded()
    {
        Window window;
        window.print();
        QCOMPARE(window.messages(), QStringList{QStringLiteral("No files added.")});
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void failedLoad_isNamedAndTheOthersPrint_data()
    {
        QTest::addColumn<QString>("path");    // under the test's folder, or a server path
        QTest::addColumn<QString>("reason");  // part of what the message says

        QTest::newRow("missing file") << QStringLiteral("file:gone.htm") << QStringLiteral("file not found");
        QTest::newRow("HTTP error status") << QStringLiteral("http:/missing") << QStringLiteral("HTTP status 404");
        QTest::newRow("password demanded") << QStringLiteral("http:/secret") << QStringLiteral("password");
        QTest::newRow("connection refused") << QStringLiteral("refused") << QStringLiteral("refused");
    }
    void failedLoad_isNamedAndTheOthersPrint()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        TroubleServer server;
        QString bad;
        if (path.startsWith(u"file:")) {
            bad = dir.filePath(path.mid(5));
        } else if (path.startsWith(u"http:")) {
            bad = server.url(path.mid(5));
        } else {
            QTcpServer closed;
            closed.listen(QHostAddress::LocalHost);
            const quint16 port = closed.serverPort();
            closed.close();
            bad = u"http://127.0.0.1:" + QString::number(port) + u"/";
        }
        Window window;
        window.form->jobs().add(writeDocument(dir, QStringLiteral("first.htm"), QStringLiteral("First heading")));
        window.form->jobs().add(bad);
        window.form->jobs().add(writeDocument(dir, QStringLiteral("last.htm"), QStringLiteral("Last heading")));

        window.print();

        QCOMPARE(window.messages().size(), 1);
        const QString message = window.messages().first();
        QVERIFY2(message.contains(u"1 entry that could not be printed"), qPrintable(message));
        QVERIFY2(message.contains(bad), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        QCOMPARE(jobTitles(dir.path()), (QStringList{window.form->jobs().text(1), window.form->jobs().text(3)}));
        QVERIFY(jobTitles(bad).isEmpty());
    }

    void pageThatNeverFinishes_isPrintedAtTheBound()
    {
        TroubleServer server;
        QTemporaryDir dir;
        Window window;
        window.form->printRun().setDocumentBound(1500ms);
        const QString endless = server.url(QStringLiteral("/never"));
        window.form->jobs().add(endless);
        window.form->jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));

        window.print();

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(endless).size(), 1, JobArrivalMs);
        QVERIFY2(jobTexts(endless).first().contains(u"Partial heading"), qPrintable(jobTexts(endless).first()));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 1, JobArrivalMs);
        QVERIFY(jobTexts(dir.path()).first().contains(u"After heading"));
    }

    void pageDialogs_neverHoldUpTheRun()
    {
        QTemporaryDir dir;
        Window window;
        const QString talkative = QStringLiteral(
            "<script>alert('hello'); confirm('sure?'); prompt('name?'); window.open('https://example.org/');"
            "window.onbeforeunload = function (e) { e.preventDefault(); return 'stay'; };</script>");
        window.form->jobs().add(writeDocument(dir, QStringLiteral("talks.htm"), QStringLiteral("Talking heading"), talkative));
        window.form->jobs().add(writeDocument(dir, QStringLiteral("next.htm"), QStringLiteral("Next heading")));

        window.print();

        QCOMPARE(window.messages(), QStringList{QStringLiteral("Done. Print jobs sent to printer.")});
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        const QStringList texts = jobTexts(dir.path());
        QVERIFY(texts.value(0).contains(u"Talking heading"));
        QVERIFY(texts.value(1).contains(u"Next heading"));
    }

    void crashedRenderer_failsThatEntryOnly()
    {
        QTemporaryDir dir;
        Window window;
        window.form->jobs().add(writeDocument(dir, QStringLiteral("before.htm"), QStringLiteral("Before heading")));
        window.form->jobs().add(QStringLiteral("chrome://crash"));
        window.form->jobs().add(writeDocument(dir, QStringLiteral("after.htm"), QStringLiteral("After heading")));

        window.print();

        QCOMPARE(window.messages().size(), 1);
        const QString message = window.messages().first();
        QVERIFY2(message.contains(u"chrome://crash (the page's renderer crashed)"), qPrintable(message));
        QTRY_COMPARE_WITH_TIMEOUT(jobTitles(dir.path()).size(), 2, JobArrivalMs);
        QVERIFY(jobTexts(dir.path()).value(1).contains(u"After heading"));
    }

    void printSystemOutOfReach_stopsBeforeLoadingAnything()
    {
        QTcpServer closed;
        closed.listen(QHostAddress::LocalHost);
        const QString nowhere = u"127.0.0.1:" + QString::number(closed.serverPort());
        closed.close();
        QTemporaryDir dir;
        Window window(platform::makeDocumentPrinter(platform::PrintPath::Vector, nowhere));
        window.form->jobs().add(writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Unprinted")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);

        window.print();

        QCOMPARE(window.messages().size(), 1);
        QVERIFY2(window.messages().first().contains(u"nothing was printed"), qPrintable(window.messages().first()));
        QCOMPARE(entries.size(), 0);
        QCOMPARE(window.form->ProgressBar1()->percent(), 0.0f);
        QCOMPARE(window.form->mousePointer(), MousePointer::Default);
    }

    void defaultPrinterRefusingJobs_stopsBeforeLoadingAnything()
    {
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        QCOMPARE(QProcess::execute(QStringLiteral("cupsreject"), {QStringLiteral("-h"), server, QStringLiteral("Rig")}), 0);
        const auto reopen = qScopeGuard([&] {
            QProcess::execute(QStringLiteral("cupsaccept"), {QStringLiteral("-h"), server, QStringLiteral("Rig")});
        });
        QTemporaryDir dir;
        Window window;
        window.form->jobs().add(writeDocument(dir, QStringLiteral("a.htm"), QStringLiteral("Unprinted")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);

        window.print();

        QCOMPARE(window.messages().size(), 1);
        QVERIFY2(window.messages().first().contains(u"is not accepting jobs"), qPrintable(window.messages().first()));
        QCOMPARE(entries.size(), 0);
    }

    void closingTheWindowDuringARun_endsItBeforeTheNextEntry()
    {
        TroubleServer server;
        QTemporaryDir dir;
        Window window;
        window.form->show();
        window.form->printRun().setDocumentBound(20s);
        window.form->jobs().add(server.url(QStringLiteral("/never")));
        window.form->jobs().add(writeDocument(dir, QStringLiteral("never.htm"), QStringLiteral("Never printed")));
        QSignalSpy entries(&window.form->printRun(), &printing::PrintRun::entryFinished);
        QTimer::singleShot(300ms, window.form.get(), [&] { window.form->close(); });

        window.print();

        QVERIFY(!window.form->isVisible());
        QCOMPARE(entries.size(), 0);
        QVERIFY(window.messages().isEmpty());
        QVERIFY(!window.form->printRun().running());
    }
};

QTEST_MAIN(TestPrintEngine)
#include "tst_printengine.moc"
