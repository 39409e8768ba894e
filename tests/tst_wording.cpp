// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that put things into words and names: how an entry becomes an
// address and back, a job's title, a load failure's wording, how messages
// quote entries and sum up a run, and a message box that keeps to the
// screen however long its text.
#include "core/desktop.h"
#include "core/entryaddress.h"
#include "platform/printers/foldersink.h"
#include "core/jobtitle.h"
#include "core/loadfailure.h"
#include "core/messagetext.h"
#include "printing/runreport.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

using core::LoadError;
using printing::RunReport;

class TestWording : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A name stands as a path where it is text, and as a file URL whose
    // escapes spell its bytes where it is not; either way the address the
    // engine loads names the very same bytes.
    void entryText_keepsEveryByteOfAName_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QString>("entry");
        QTest::newRow("plain path") << QByteArray("/docs/a b.htm") << QStringLiteral("/docs/a b.htm");
        QTest::newRow("UTF-8 name") << QByteArray("/d\xc3\xa9j\xc3\xa0/\xe6\x96\x87.htm") << QStringLiteral("/d\u00e9j\u00e0/\u6587.htm");
        QTest::newRow("signs that mean something in URLs") << QByteArray("/a b/%20#?;.htm") << QStringLiteral("/a b/%20#?;.htm");
        QTest::newRow("Latin-1 name") << QByteArray("/docs/caf\xe9 %.htm") << QStringLiteral("file:///docs/caf%E9 %25.htm");
        QTest::newRow("bad bytes among signs") << QByteArray("/a b/%41#\xff?\xc3\xa9.htm") << QStringLiteral("file:///a b/%2541%23%FF%3F\u00e9.htm");
        QTest::newRow("encoded surrogate") << QByteArray("/x/\xed\xa0\x80.htm") << QStringLiteral("file:///x/%ED%A0%80.htm");
    }
    void entryText_keepsEveryByteOfAName()
    {
        QFETCH(QByteArray, path);
        QFETCH(QString, entry);
        QCOMPARE(core::entryText(path), entry);
        QCOMPARE(core::addressOf(entry).localName, path);
        QCOMPARE(core::entryTextForUrl(core::addressOf(entry).url), entry);
    }

    void addressOf_takesPathsAsFilesAndTheRestAsAddresses_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("local");
        QTest::newRow("local path") << QStringLiteral("/docs/r#1.htm") << QStringLiteral("file:///docs/r%231.htm") << true;
        QTest::newRow("address") << QStringLiteral("https://example.org/a?b=c") << QStringLiteral("https://example.org/a?b=c") << false;
        QTest::newRow("bare host") << QStringLiteral("example.org/x") << QStringLiteral("http://example.org/x") << false;
    }
    void addressOf_takesPathsAsFilesAndTheRestAsAddresses()
    {
        QFETCH(QString, entry);
        QFETCH(QString, url);
        QFETCH(bool, local);
        const core::EntryAddress address = core::addressOf(entry);
        QCOMPARE(address.url.toString(QUrl::FullyEncoded), url);
        QCOMPARE(!address.localName.isEmpty(), local);
    }

    void jobTitle_isWhatTheQueueCanShow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("title");
        QTest::newRow("plain") << QStringLiteral("/docs/a.htm") << QByteArray("/docs/a.htm");
        QTest::newRow("tab, line feed, DEL, C1") << QStringLiteral("/a\tb\nc\x7f" "d\u0085e.htm") << QByteArray("/a b c d e.htm");
        QTest::newRow("direction marks, each range's ends")
            << QStringLiteral("/a\u202Ab\u202Ec\u2066d\u2069e\u200Ef\u200Fg\u061Ch.htm") << QByteArray("/a b c d e f g h.htm");
        QTest::newRow("a reversed name shows in its own order")
            << QStringLiteral("/docs/report\u202Emth.exe") << QByteArray("/docs/report mth.exe");
        QTest::newRow("joiner, narrow space and neighbours kept")
            << QStringLiteral("a\u200Db\u202Fc\u2070d\u061Be")
            << QStringLiteral("a\u200Db\u202Fc\u2070d\u061Be").toUtf8();
        QTest::newRow("nothing to show") << QStringLiteral("\t") << QByteArray("Tavimark document");
        const QString longName = QStringLiteral("/x/") + QString(300, u'\u00e9') + QStringLiteral("/end.htm");
        QTest::newRow("long, cut on a character") << longName
            << (QStringLiteral("\u2026").toUtf8() + (QString(122, u'\u00e9') + QStringLiteral("/end.htm")).toUtf8());
    }
    void jobTitle_isWhatTheQueueCanShow()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, title);
        const QByteArray made = core::jobTitle(text);
        QCOMPARE(made, title);
        QVERIFY(made.size() <= core::MaxJobTitleBytes);
        QVERIFY(QString::fromUtf8(made).toUtf8() == made);
    }

    void loadFailures_inWords_data()
    {
        QTest::addColumn<int>("domain");
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("password");
        QTest::addColumn<QString>("words");
        using D = LoadError::Domain;
        QTest::newRow("missing file") << int(D::Connection) << -6 << false << QStringLiteral("file not found");
        QTest::newRow("refused") << int(D::Connection) << -102 << false << QStringLiteral("the connection was refused");
        QTest::newRow("unknown host") << int(D::Dns) << -105 << false << QStringLiteral("unknown host");
        QTest::newRow("404") << int(D::Http) << 404 << false << QStringLiteral("the server answered with HTTP status 404");
        QTest::newRow("401") << int(D::Http) << 401 << false << QStringLiteral("the server asks for a password");
        QTest::newRow("asked, then 403") << int(D::Http) << 403 << true << QStringLiteral("the server asks for a password");
        QTest::newRow("download") << int(D::Internal) << -3 << false << QStringLiteral("not a page that can be printed");
        QTest::newRow("certificate") << int(D::Certificate) << -200 << false << QStringLiteral("the site's certificate is not trusted");
        QTest::newRow("other") << int(D::Connection) << -999 << false << QStringLiteral("it could not be loaded (boom)");
    }
    void loadFailures_inWords()
    {
        QFETCH(int, domain);
        QFETCH(int, code);
        QFETCH(bool, password);
        QFETCH(QString, words);
        QCOMPARE(core::describeLoadFailure({LoadError::Domain(domain), code, QStringLiteral("boom"), password}), words);
    }

    void quoting_shortensInTheMiddleAndDropsDoubledStops()
    {
        const QString longEntry = QStringLiteral("/start/") + QString(1'000'000, u'x') + QStringLiteral("/end.htm");
        const QString shown = core::quoted(longEntry);
        QCOMPARE(shown.size(), core::QuotedLength);
        QVERIFY(shown.startsWith(u"/start/") && shown.endsWith(u"/end.htm") && shown.contains(QChar(0x2026)));
        // A surrogate pair is never cut in two.
        const QString emoji = QString(150, u'a') + QString::fromUtf8("\xf0\x9f\x98\x80").repeated(100);
        QVERIFY(core::shortenMiddle(emoji, 200).isValidUtf16());
        QCOMPARE(core::quotedReason(QStringLiteral(" Printer is stopped. ")), QStringLiteral("Printer is stopped"));
        QCOMPARE(core::quotedReason(QStringLiteral("Wait...")), QStringLiteral("Wait..."));
    }

    void pdfFileName_namesTheDocumentSafely_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("local file") << QStringLiteral("/docs/report 1.html") << QStringLiteral("report 1.pdf");
        QTest::newRow("address") << QStringLiteral("https://example.org/guide/intro.htm?x=1") << QStringLiteral("intro.pdf");
        QTest::newRow("host only") << QStringLiteral("https://example.org/") << QStringLiteral("example.pdf");
        QTest::newRow("hidden name") << QStringLiteral("/docs/.htm") << QStringLiteral("document.htm.pdf");
        // With "-9999.pdf" added a name must still fit in 255 bytes.
        const QString han(130, QChar(0x6F22));
        QTest::newRow("CJK name cut to fit") << u"https://example.org/" + han + u".htm" << han.left(82) + u".pdf";
        QTest::newRow("cut between whole characters")
            << u"/docs/" + han.left(81) + u"ae\u0301x.htm" << han.left(81) + u"a.pdf";
    }
    void pdfFileName_namesTheDocumentSafely()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QCOMPARE(platform::pdfFileName(entry), name);
        QVERIFY(QFile::encodeName(name.chopped(4) + u"-9999.pdf").size() <= 255);
    }

    void closingMessage_sumsUpTheRun_data()
    {
        QTest::addColumn<RunReport>("report");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("details");
        RunReport done;
        done.sent = {QStringLiteral("/a.htm")};
        QTest::newRow("all sent") << done << QStringLiteral("Done. Print jobs sent to printer.") << QString();
        RunReport failed = done;
        failed.notPrinted = {{QStringLiteral("/b.htm"), QStringLiteral("file not found")}};
        failed.incomplete = {{QStringLiteral("/a.htm"), QStringLiteral("still loading after 30 s")}};
        QTest::newRow("one failed, one incomplete")
            << failed
            << QStringLiteral("Print jobs sent to printer, except for 1 entry that could not be printed:\n\n"
                              "/b.htm (file not found)\n\n1 entry was printed before it finished loading:\n\n"
                              "/a.htm (still loading after 30 s)")
            << QStringLiteral("Not printed:\n/b.htm (file not found)\n\n"
                              "Printed before they finished loading:\n/a.htm (still loading after 30 s)");
        RunReport stopped = done;
        stopped.ending = RunReport::Ending::PrinterFailed;
        stopped.printerReason = QStringLiteral("Printer stopped");
        stopped.notSent = {QStringLiteral("/c.htm"), QStringLiteral("/d.htm")};
        QTest::newRow("printer stopped")
            << stopped
            << QStringLiteral("The printer stopped taking jobs (Printer stopped), so printing was stopped.\n\n"
                              "Sent to printer: 1 entry\n/a.htm\n\nNot sent: 2 entries\n/c.htm\n/d.htm")
            << QStringLiteral("Sent to printer:\n/a.htm\n\nNot sent:\n/c.htm\n/d.htm");
        RunReport unsure = done;
        unsure.mayHavePrinted = {{QStringLiteral("/b.htm"), QStringLiteral("the answer was lost")},
                                 {QStringLiteral("/c.htm"), QStringLiteral("the answer was lost")}};
        QTest::newRow("two may have printed")
            << unsure
            << QStringLiteral("Print jobs sent to printer.\n\nThese 2 entries may have printed; check the printer before "
                              "printing them again:\n\n/b.htm (the answer was lost)\n/c.htm (the answer was lost)")
            << QStringLiteral("May have printed:\n/b.htm (the answer was lost)\n/c.htm (the answer was lost)");
        RunReport unsureThenStopped = stopped;
        unsureThenStopped.mayHavePrinted = {{QStringLiteral("/b.htm"), QStringLiteral("the answer was lost")}};
        QTest::newRow("one may have printed, then the printer stopped")
            << unsureThenStopped
            << QStringLiteral("The printer stopped taking jobs (Printer stopped), so printing was stopped.\n\n"
                              "Sent to printer: 1 entry\n/a.htm\n\nThis entry may have printed; check the printer "
                              "before printing it again:\n/b.htm (the answer was lost)\n\nNot sent: 2 entries\n/c.htm\n/d.htm")
            << QStringLiteral("Sent to printer:\n/a.htm\n\nMay have printed:\n/b.htm (the answer was lost)\n\n"
                              "Not sent:\n/c.htm\n/d.htm");
        const auto userStopped = [](RunReport report, const QStringList &left) {
            report.ending = RunReport::Ending::Stopped;
            for (const QString &entry : left)
                report.notPrinted.append({entry, printing::stoppedReason()});
            return report;
        };
        QTest::newRow("stopped after one failed and one may have printed")
            << userStopped(failed, {QStringLiteral("/c.htm"), QStringLiteral("/d.htm")})
            << QStringLiteral("Stopped. 2 entries were not printed:\n\n/c.htm\n/d.htm\n\n"
                              "Print jobs sent to printer, except for 1 entry that could not be printed:\n\n"
                              "/b.htm (file not found)\n\n1 entry was printed before it finished loading:\n\n"
                              "/a.htm (still loading after 30 s)")
            << QStringLiteral("Not printed:\n/b.htm (file not found)\n/c.htm (stopped)\n/d.htm (stopped)\n\n"
                              "Printed before they finished loading:\n/a.htm (still loading after 30 s)");
        QTest::newRow("stopped as the last job went out")
            << userStopped(done, {})
            << QStringLiteral("Stopped. 0 entries were not printed.\n\nPrint jobs sent to printer.")
            << QString();
    }
    void closingMessage_sumsUpTheRun()
    {
        QFETCH(RunReport, report);
        QFETCH(QString, message);
        QFETCH(QString, details);
        QCOMPARE(printing::closingMessage(report), message);
        QCOMPARE(printing::closingDetails(report), details);
    }

    // A failing entry a megabyte long, among many: the box stays on the
    // screen with its button in reach, and its details hold every entry.
    void messageBox_keepsToTheScreen()
    {
        RunReport report;
        for (int i = 0; i < 30; ++i)
            report.notPrinted.append({QStringLiteral("/docs/") + QString(i == 0 ? 1'000'000 : 300, QChar(u'a' + i % 26)),
                                      QStringLiteral("file not found")});
        const QString message = printing::closingMessage(report);
        QVERIFY(message.size() < 20 * 260);
        const QString details = printing::closingDetails(report);
        QVERIFY(details.size() > 1'000'000);

        core::Desktop desktop = core::makeQtDesktop();
        QRect shownAt;
        QRect screen;
        // The box is read, then closed, as soon as it is up; checks are made
        // once it has returned.
        QTimer reader;
        connect(&reader, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            reader.stop();
            shownAt = box->frameGeometry();
            screen = box->screen()->availableGeometry();
            box->accept();
        });
        reader.start(50);
        desktop.messageBox->show(nullptr, message, details);
        QVERIFY(!shownAt.isNull());
        QVERIFY2(screen.contains(shownAt), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(shownAt.x()).arg(shownAt.y())
                                                          .arg(shownAt.width()).arg(shownAt.height())));
    }
};

QTEST_MAIN(TestWording)
#include "tst_wording.moc"
