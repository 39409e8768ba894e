// SPDX-License-Identifier: GPL-3.0-or-later
// The window's run as one job: the setting kept for the next start and
// named on the Print button, and a run of local files going to the rig's
// queue as one job through the real engine.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/printersettingsstore.h"
#include "joblist/joblist.h"
#include "platform/engine/enginerenderer.h"
#include "platform/printers/printers.h"
#include "printing/pdf/pdfdocument.h"
#include "support/fakedesktop.h"
#include "support/printrig.h"
#include "support/rundocuments.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using joblist::Mark;

namespace {

// The main window with scripted dialogs but the real engine and printer.
struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form;

    Window()
    {
        core::Desktop desktop = fakes.make();
        desktop.renderers = platform::engineRenderers();
        desktop.printSink = platform::makePrinterSink();
        form = std::make_unique<app::Form1>(std::move(desktop));
        printing::RunSettings settings = form->printRun().settings();
        settings.renderers = 1;
        form->printRun().setSettings(settings);
    }
    QString toolTip() const { return form->Check2()->toolTip(); }
    bool pressCtrlL()
    {
        form->show();
        if (!QTest::qWaitForWindowActive(form.get()))
            return false;
        QTest::keyClick(form->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        return true;
    }
    // Presses Print and waits until the run is over and its one job answered.
    bool print()
    {
        QSignalSpy finished(&form->combinedRun(), &printing::CombinedRun::finished);
        form->Check2()->click();
        return finished.wait(120'000);
    }
};

core::LoadingSettings combined(bool on, bool contents = false)
{
    core::LoadingSettings settings;
    settings.combine = on;
    settings.contents = contents;
    return settings;
}

} // namespace

class TestWindowCombine : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        platform::letHiddenPagesKeepTime();
        if (const QString server = rig::sharedServer(); !server.isEmpty())
            qputenv("CUPS_SERVER", server.toLocal8Bit());
    }

private Q_SLOTS:
    void init() { QCOMPARE(app::saveLoadingSettings({}), QString()); }

    // Chosen with Ctrl+L, named on the Print button, and still there after
    // a restart; a stored value that is no choice reads back as off.
    void setting_keptAndNamedOnPrint()
    {
        {
            Window window;
            QVERIFY(!window.toolTip().contains(u"one job"_s));
            window.fakes.loadingSettings->answers << combined(true);
            QVERIFY(window.pressCtrlL());
            QCOMPARE(window.toolTip(), u"Prints on the default printer. All documents go out as one job."_s);
            QCOMPARE(window.form->Check2()->accessibleDescription(), window.toolTip());
        }
        Window again;
        QVERIFY(again.form->combinedRun().combining());
        QCOMPARE(again.toolTip(), u"Prints on the default printer. All documents go out as one job."_s);
        again.fakes.loadingSettings->answers << combined(false);
        QVERIFY(again.pressCtrlL());
        QCOMPARE(again.toolTip(), u"Prints on the default printer"_s);
        QVERIFY(!app::readPrinterSettings().loading.combine);
    }

    void storedJunk_readsAsOff_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("yes") << QByteArray("yes");
        QTest::newRow("number") << QByteArray("1");
        QTest::newRow("list") << QByteArray("true, true");
        QTest::newRow("binary") << QByteArray("@ByteArray(true)");
    }
    void storedJunk_readsAsOff()
    {
        QFETCH(QByteArray, value);
        QCOMPARE(app::saveLoadingSettings(combined(true)), QString());
        const QString path = QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(u"Tavimark/Tavimark.conf"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        QVERIFY(text.contains("combine=true"));
        text.replace(QByteArray("combine=true"), QByteArray(QByteArray("combine=") + value));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        QVERIFY(!app::readPrinterSettings().loading.combine);
    }

    // With the setting on, the run's documents make one job in list order;
    // one that cannot load is marked and left out, the others marked once
    // the job is taken.
    void run_goesOutAsOneJob_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("contents");
        const QStringList three{u"alpha page 1"_s, u"bravo page 1"_s, u"bravo page 2"_s,
                                u"bravo page 3"_s, u"charlie page 1"_s, u"charlie page 2"_s};
        QTest::newRow("three documents") << QStringList{u"alpha"_s, u"bravo"_s, u"charlie"_s} << QList<int>{1, 3, 2}
                                         << three << false;
        QTest::newRow("one missing") << QStringList{u"delta"_s, u"missing"_s, u"echo"_s} << QList<int>{2, 0, 1}
                                     << QStringList{u"delta page 1"_s, u"delta page 2"_s, u"echo page 1"_s} << false;
        QTest::newRow("with contents") << QStringList{u"alpha"_s, u"bravo"_s, u"charlie"_s} << QList<int>{1, 3, 2}
                                       << three << true;
    }
    void run_goesOutAsOneJob()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<int>, pages);
        QFETCH(QStringList, expected);
        QFETCH(bool, contents);
        if (rig::sharedServer().isEmpty())
            QSKIP("needs the print test rig; run through ctest, which starts it");
        QCOMPARE(app::saveLoadingSettings(combined(true, contents)), QString());
        QTemporaryDir dir;
        Window window;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString path = pages[i] > 0 ? pagedDocument(dir.path(), names[i], pages[i], u"page"_s)
                                              : dir.filePath(names[i] + u".html"_s);
            window.form->jobs().add(path);
        }
        QVERIFY(window.print());
        for (int position = 1; position <= names.size(); ++position) {
            const Mark expectedMark = pages[position - 1] > 0 ? Mark::Printed : Mark::NotPrinted;
            QCOMPARE(window.form->jobs().mark(position), expectedMark);
        }
        QTRY_COMPARE_WITH_TIMEOUT(rig::jobFiles(rig::sharedFolder(), dir.path()).size(), 1, 30'000);
        const QString job = rig::jobFiles(rig::sharedFolder(), dir.path()).constFirst();
        const QStringList sheets = rig::pdfText(job).split(u'\f', Qt::SkipEmptyParts);
        QStringList found;
        for (const QString &sheet : sheets) {
            for (const QString &line : sheet.split(u'\n')) {
                if (line.contains(u" page "_s) && !line.contains(u'/'))
                    found << line.trimmed();
            }
        }
        QCOMPARE(found, expected);
        QCOMPARE(sheets.size(), expected.size() + (contents ? 1 : 0));
        // The one document carries every document's headings as bookmarks
        // beneath its title, as the command line's does.
        QFile printed(job);
        QVERIFY(printed.open(QIODevice::ReadOnly));
        const std::optional<printing::PdfDocument> read = printing::PdfDocument::read(printed.readAll());
        QVERIFY(read);
        QStringList marked;
        for (const printing::PdfDocument::OutlineItem &item : read->outline()) {
            if (item.title.contains(u" page "_s))
                marked << item.title;
        }
        QCOMPARE(marked, expected);
        if (contents) {
            // Bravo starts after the contents and alpha's one page.
            const QStringList lines = sheets.constFirst().split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.value(0), u"Contents"_s);
            const qsizetype bravo = lines.indexOf(u"bravo"_s);
            QVERIFY2(bravo > 0, qPrintable(lines.join(u'|')));
            QCOMPARE(lines.value(bravo + 1).trimmed(), u"3"_s);
        }
    }
};

int main(int argc, char *argv[])
{
    TestWindowCombine::initMain();
    QApplication application(argc, argv);
    TestWindowCombine test;
    const int failures = QTest::qExec(&test, argc, argv);
    platform::endAtOnceIfPagesStillRender(failures);
    return failures;
}

#include "tst_windowcombine.moc"
