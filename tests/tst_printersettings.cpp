// SPDX-License-Identifier: GPL-3.0-or-later
// The window's printer settings: the editor beside the Print button, what it
// changes (the button's description, the next run), and what the window
// keeps in the user's configuration folder from one start to the next.
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "app/window/printersettingsstore.h"
#include "joblist/joblist.h"
#include "printing/printrun.h"

#include "support/fakedesktop.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using core::PrinterSettings;

namespace {

const QString Entry = QStringLiteral("/docs/settings.htm");

PrinterSettings officeLaser()
{
    PrinterSettings settings;
    settings.printer = QStringLiteral("Office_Laser");
    settings.copies = 2;
    settings.set(core::option::Sides, QStringLiteral("two-sided-long-edge"));
    settings.set(core::option::Media, QStringLiteral("A4"));
    return settings;
}

// Everything the editor can set, with a page list whose commas must survive
// the configuration file's own list syntax.
PrinterSettings everything()
{
    PrinterSettings settings;
    settings.printer = QStringLiteral("Basement Colour");
    settings.copies = 12;
    settings.set(core::option::Sides, QStringLiteral("two-sided-short-edge"));
    settings.set(core::option::Media, QStringLiteral("Letter"));
    settings.set(core::option::Orientation, QStringLiteral("4"));
    settings.set(core::option::ColorMode, QStringLiteral("monochrome"));
    settings.set(core::option::PageRanges, QStringLiteral("1-3,7-9"));
    return settings;
}

QString configurationFile()
{
    return QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath(QStringLiteral("Tavimark/Tavimark.conf"));
}

QByteArray storedBytes()
{
    QFile file(configurationFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void store(const QByteArray &text)
{
    QDir().mkpath(QFileInfo(configurationFile()).path());
    QFile file(configurationFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

struct Window {
    FakeDesktop fakes;
    std::unique_ptr<app::Form1> form = std::make_unique<app::Form1>(fakes.make());

    ScriptedPrinterSettings &editor() { return *fakes.printerSettings; }
    QString toolTip() const { return form->Check2()->toolTip(); }
    QString description() const { return form->Check2()->accessibleDescription(); }
    const PrinterSettings &runs() const { return form->printRun().settings().printer; }

    bool showUp()
    {
        form->show();
        return QTest::qWaitForWindowActive(form.get());
    }
    // Through the window system, as a user's click comes: only then does a
    // right-click turn into a context menu request.
    void rightClickPrint()
    {
        const QPoint centre = form->Check2()->mapTo(form.get(), form->Check2()->rect().center());
        QTest::mouseClick(form->windowHandle(), Qt::RightButton, {}, centre);
    }
    // A window's shortcut works while the window is the active one.
    bool pressCtrlP()
    {
        if (!form->isActiveWindow() && !showUp())
            return false;
        QTest::keyClick(form->windowHandle(), Qt::Key_P, Qt::ControlModifier);
        return true;
    }
    bool pressCtrlL()
    {
        if (!form->isActiveWindow() && !showUp())
            return false;
        QTest::keyClick(form->windowHandle(), Qt::Key_L, Qt::ControlModifier);
        return true;
    }
    core::LoadingSettings runsLoading() const
    {
        const printing::RunSettings &settings = form->printRun().settings();
        return {settings.waitFor, settings.delay};
    }
};

} // namespace

class TestPrinterSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(configurationFile()); }

    void start_describesTheDefaultPrinter()
    {
        Window window;
        QCOMPARE(window.toolTip(), QStringLiteral("Prints on the default printer"));
        QCOMPARE(window.description(), window.toolTip());
        QVERIFY(window.runs().isDefault());
    }

    void editor_opensWithTheCurrentSettings_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("right-click on Print") << false;
        QTest::newRow("Ctrl+P") << true;
    }
    // Only the editor opens: nothing prints, and no menu comes first.
    void editor_opensWithTheCurrentSettings()
    {
        QFETCH(bool, keyboard);
        app::savePrinterSettings(officeLaser());
        Window window;
        window.form->jobs().add(Entry);
        QVERIFY(window.showUp());
        if (keyboard)
            QVERIFY(window.pressCtrlP());
        else
            window.rightClickPrint();
        QCOMPARE(window.editor().shown, QList<PrinterSettings>{officeLaser()});
        QVERIFY(!window.form->Check2()->isChecked());
        QVERIFY(!window.form->printRun().running());
        QCOMPARE(window.fakes.pages.script->started, QStringList());
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }

    // The Print button itself still prints at once, with no dialog.
    void print_opensNoEditor()
    {
        Window window;
        window.form->jobs().add(Entry);
        QVERIFY(window.showUp());
        QTest::mouseClick(window.form->Check2(), Qt::LeftButton);
        QTRY_COMPARE(window.fakes.messageBox->shown.size(), 1);
        QCOMPARE(window.fakes.printer->takenEntries(), QStringList{Entry});
        QVERIFY(window.editor().shown.isEmpty());
    }

    void ok_describesStoresAndPassesToTheNextRun()
    {
        Window window;
        window.editor().answers << officeLaser();
        QVERIFY(window.pressCtrlP());
        const QString expected = QStringLiteral("Prints on Office_Laser: two-sided, A4, 2 copies");
        QCOMPARE(window.toolTip(), expected);
        QCOMPARE(window.description(), expected);
        QCOMPARE(window.runs(), officeLaser());
        QCOMPARE(window.form->printerSettings(), officeLaser());
        QCOMPARE(app::loadPrinterSettings(), officeLaser());

        // The next change is followed as well, back to the default.
        window.editor().answers << PrinterSettings{};
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.editor().shown.last(), officeLaser());
        QCOMPARE(window.toolTip(), QStringLiteral("Prints on the default printer"));
        QCOMPARE(window.description(), window.toolTip());
        QVERIFY(window.runs().isDefault());
        QVERIFY(app::loadPrinterSettings().isDefault());
    }

    void cancel_changesNothing()
    {
        app::savePrinterSettings(officeLaser());
        const QByteArray before = storedBytes();
        Window window;
        const QString toolTip = window.toolTip();
        window.editor().answers << std::nullopt;
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.editor().shown.size(), 1);
        QCOMPARE(window.toolTip(), toolTip);
        QCOMPARE(window.description(), toolTip);
        QCOMPARE(window.runs(), officeLaser());
        QCOMPARE(storedBytes(), before);
    }

    void settings_surviveARestart()
    {
        {
            Window first;
            first.editor().answers << everything();
            QVERIFY(first.pressCtrlP());
        }
        Window second;
        QCOMPARE(second.runs(), everything());
        QCOMPARE(second.toolTip(), core::describePrinting(everything()));
        QCOMPARE(second.description(), second.toolTip());
        QVERIFY(second.pressCtrlP());
        QCOMPARE(second.editor().shown, QList<PrinterSettings>{everything()});
    }

    // A file edited by hand, or left by another version: what cannot be
    // read is left out, and the rest still counts.
    void storedJunk_isLeftOut_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("described");
        QTest::newRow("copies no number")
            << QByteArray("[printer]\nname=Office_Laser\ncopies=many\n") << QStringLiteral("Prints on Office_Laser");
        QTest::newRow("copies zero") << QByteArray("[printer]\ncopies=0\n") << QStringLiteral("Prints on the default printer");
        QTest::newRow("copies past the most")
            << QByteArray("[printer]\ncopies=1000\n") << QStringLiteral("Prints on the default printer");
        QTest::newRow("copies in range") << QByteArray("[printer]\ncopies=7\n")
                                         << QStringLiteral("Prints on the default printer: 7 copies");
        QTest::newRow("options -o refuses")
            << QByteArray("[printer]\nname=Office_Laser\noptions=sides=two-sided-long-edge, nonsense, media=Nowhere, "
                          "orientation-requested=7, =color, print-color-mode=monochrome\n")
            << QStringLiteral("Prints on Office_Laser: two-sided, monochrome");
        QTest::newRow("copies among the options")
            << QByteArray("[printer]\ncopies=2\noptions=copies=5, media=Letter\n")
            << QStringLiteral("Prints on the default printer: Letter, 2 copies");
        QTest::newRow("one option, no list") << QByteArray("[printer]\noptions=landscape\n")
                                             << QStringLiteral("Prints on the default printer: landscape");
    }
    void storedJunk_isLeftOut()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, described);
        store(stored);
        Window window;
        QCOMPARE(window.toolTip(), described);
        QCOMPARE(window.description(), described);
        QCOMPARE(core::describePrinting(window.runs()), described);
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.editor().shown, QList<PrinterSettings>{window.runs()});
    }

    // A file that is no settings file at all is not taken for one that
    // says "the default printer": Print names it and prints nowhere until
    // the user has chosen again.
    // Ctrl+L: what documents wait for, kept for later starts and taken by
    // the next run; a selector the engine refuses changes nothing and is
    // named.
    void loadingSettings_keptAndPassedToTheNextRun()
    {
        const core::LoadingSettings chosen{u"#report-done"_s, std::chrono::milliseconds(500)};
        {
            Window window;
            window.fakes.loadingSettings->answers << chosen;
            QVERIFY(window.pressCtrlL());
            QCOMPARE(window.fakes.loadingSettings->shown, QList<core::LoadingSettings>{core::LoadingSettings{}});
            QCOMPARE(window.runsLoading(), chosen);
            QCOMPARE(app::readPrinterSettings().loading, chosen);
            QVERIFY(window.fakes.messageBox->shown.isEmpty());

            *window.fakes.rejectedSelectors << u"div["_s;
            window.fakes.loadingSettings->answers << core::LoadingSettings{u"div["_s, {}};
            QVERIFY(window.pressCtrlL());
            QCOMPARE(window.fakes.messageBox->shown,
                     QStringList{u"\"div[\" is not a CSS selector, so the loading settings were left as they were."_s});
            QCOMPARE(window.runsLoading(), chosen);
            QCOMPARE(app::readPrinterSettings().loading, chosen);
        }
        Window second;
        QCOMPARE(second.runsLoading(), chosen);
        second.fakes.loadingSettings->answers << std::nullopt;
        QVERIFY(second.pressCtrlL());
        QCOMPARE(second.fakes.loadingSettings->shown, QList<core::LoadingSettings>{chosen});
        QCOMPARE(second.runsLoading(), chosen);
    }

    // What documents wait for is kept beside the printer, and comes back
    // as it was, quotes and all, without touching the printer's settings.
    void readiness_survivesARestart()
    {
        QCOMPARE(app::savePrinterSettings(officeLaser()), QString());
        const core::LoadingSettings chosen{QStringLiteral("p[title=\"a\\\"b</script>\"] > .done"),
                                            std::chrono::milliseconds(1500)};
        QCOMPARE(app::saveLoadingSettings(chosen), QString());
        const app::StoredPrinterSettings stored = app::readPrinterSettings();
        QCOMPARE(stored.loading, chosen);
        QCOMPARE(stored.settings, officeLaser());
        QVERIFY(stored.unreadable.isEmpty());
        QCOMPARE(app::saveLoadingSettings({}), QString());
        QCOMPARE(app::readPrinterSettings().loading, core::LoadingSettings{});
    }

    // A value that cannot be what it names is left at its default; the
    // other is read all the same.
    void storedLoadingJunk_isLeftOut_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("waitFor");
        QTest::addColumn<int>("delayMs");
        QTest::newRow("both sound") << QByteArray("[loading]\nwait-for=div.done\ndelay=250\n") << u"div.done"_s << 250;
        QTest::newRow("a delay no number") << QByteArray("[loading]\nwait-for=div.done\ndelay=soon\n") << u"div.done"_s
                                           << 0;
        QTest::newRow("a delay below zero") << QByteArray("[loading]\ndelay=-5\n") << QString() << 0;
        QTest::newRow("a delay past the most") << QByteArray("[loading]\ndelay=60001\n") << QString() << 0;
        QTest::newRow("a delay with a fraction") << QByteArray("[loading]\ndelay=2.5\n") << QString() << 0;
        QTest::newRow("a selector that is a list") << QByteArray("[loading]\nwait-for=a, b\ndelay=10\n") << QString()
                                                   << 10;
        QTest::newRow("a selector with a line break")
            << QByteArray("[loading]\nwait-for=\"a\\nb\"\n") << QString() << 0;
        QTest::newRow("a selector far too long")
            << QByteArray("[loading]\nwait-for=" + QByteArray(1001, 'a') + "\n") << QString() << 0;
        QTest::newRow("a damaged file") << QByteArray("[loading\nwait-for=div.done\ndelay=250\n") << QString() << 0;
    }
    void storedLoadingJunk_isLeftOut()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, waitFor);
        QFETCH(int, delayMs);
        store(stored);
        const app::StoredPrinterSettings read = app::readPrinterSettings();
        QCOMPARE(read.loading.waitFor, waitFor);
        QCOMPARE(read.loading.delay, std::chrono::milliseconds(delayMs));
    }

    void damagedFile_printsNowhereUntilChosenAgain_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("why");
        QTest::newRow("not a settings file")
            << QByteArray("\xff\xfe\x00garbage[[[\n==\n", 18) << QStringLiteral("it is not a settings file");
        QTest::newRow("random bytes") << QByteArray("\x13\x88\xa7\x01\xfe zz\n\x02\x9c[printer]\n")
                                      << QStringLiteral("it is not a settings file");
        QTest::newRow("a damaged group line") << QByteArray("[printer\nname=Office_Laser\ncopies=2\n")
                                              << QStringLiteral("a line of it is damaged");
        QTest::newRow("a line without a value") << QByteArray("[printer]\nname=Office_Laser\ncopies\n")
                                                << QStringLiteral("a line of it is damaged");
    }
    void damagedFile_printsNowhereUntilChosenAgain()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, why);
        store(stored);
        Window window;
        window.form->jobs().add(Entry);
        QVERIFY(window.showUp());
        QTest::mouseClick(window.form->Check2(), Qt::LeftButton);
        const QString said = u"The printer settings in \"" + configurationFile() + u"\" could not be read (" + why
            + u"), so nothing was printed; choose the printer again with Ctrl+P.";
        QCOMPARE(window.fakes.messageBox->shown, QStringList{said});
        QVERIFY(!window.form->printRun().running());
        QVERIFY(window.fakes.printer->takenEntries().isEmpty());
        QCOMPARE(window.fakes.pages.script->started, QStringList());
        QCOMPARE(window.toolTip(),
                 QStringLiteral("Prints nowhere until a printer is chosen with Ctrl+P: the printer settings could not be read"));
        QCOMPARE(window.description(), window.toolTip());

        // Chosen again, the choice is kept over the damaged file and prints.
        window.editor().answers << officeLaser();
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.fakes.messageBox->shown.size(), 1);
        QCOMPARE(app::loadPrinterSettings(), officeLaser());
        QCOMPARE(window.toolTip(), QStringLiteral("Prints on Office_Laser: two-sided, A4, 2 copies"));
        QTest::mouseClick(window.form->Check2(), Qt::LeftButton);
        QTRY_COMPARE(window.fakes.messageBox->shown.size(), 2);
        QCOMPARE(window.fakes.printer->takenEntries(), QStringList{Entry});
        QCOMPARE(Window().runs(), officeLaser());
    }

    // Where the settings cannot be written, even by root, OK says so and why;
    // the choice holds until the window closes.
    void unkeptChoice_isNamedWithWhy_data()
    {
        QTest::addColumn<QString>("base");  // the configuration folder; made by the test when relative
        QTest::addColumn<QString>("why");
        QTest::newRow("the configuration folder is a file") << u"file"_s << QStringLiteral("Not a directory");
        QTest::newRow("the settings file is a folder") << u"folder"_s << QStringLiteral("Is a directory");
        QTest::newRow("a folder no file system lets be made") << u"/proc/tavimark-settings"_s
                                                              << QStringLiteral("No such file or directory");
    }
    void unkeptChoice_isNamedWithWhy()
    {
        QFETCH(QString, base);
        QFETCH(QString, why);
        QTemporaryDir dir;
        if (base == u"file") {
            base = dir.filePath(base);
            QFile file(base);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (base == u"folder") {
            base = dir.filePath(base);
            QVERIFY(QDir().mkpath(base + u"/Tavimark/Tavimark.conf"));
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, base);
        const auto back = qScopeGuard([] {
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
        });
        Window window;
        window.editor().answers << officeLaser();
        QVERIFY(window.pressCtrlP());
        const QString file = base + u"/Tavimark/Tavimark.conf";
        QCOMPARE(window.fakes.messageBox->shown,
                 QStringList{u"The printer settings could not be kept for the next start (\"" + file + u"\": " + why
                             + u"), so they hold only until Tavimark closes."});
        QCOMPARE(window.runs(), officeLaser());
        QCOMPARE(window.toolTip(), QStringLiteral("Prints on Office_Laser: two-sided, A4, 2 copies"));

        // Cancel keeps nothing, so it has nothing to say.
        window.editor().answers << std::nullopt;
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.fakes.messageBox->shown.size(), 1);
    }

    // A name as long as a file can hold stands shortened in the middle,
    // where the window names it.
    void longPrinterName_isShortenedWhereItIsNamed()
    {
        const QString name = QString(50'000, u'A') + QString(50'000, u'Z');
        store(u"[printer]\nname="_s.toUtf8() + name.toUtf8() + "\n");
        Window window;
        QCOMPARE(window.runs().printer, name);
        QVERIFY2(window.toolTip().size() < 300, qPrintable(window.toolTip().left(300)));
        QVERIFY(window.toolTip().startsWith(u"Prints on AAAA"));
        QVERIFY(window.toolTip().contains(QStringLiteral("A\u2026Z")));
        QVERIFY(window.toolTip().endsWith(u"ZZZZ"));
    }

    // Settings chosen while a run goes on leave that run as it began; the
    // next run takes them.
    void okDuringARun_waitsForTheNextRun()
    {
        Window window;
        window.form->jobs().add(Entry);
        window.fakes.pages.script->held = {Entry};
        QTest::mouseClick(window.form->Check2(), Qt::LeftButton);
        QTRY_COMPARE(window.fakes.pages.script->started, QStringList{Entry});
        QVERIFY(window.form->printRun().running());

        window.editor().answers << officeLaser();
        QVERIFY(window.pressCtrlP());
        QCOMPARE(window.toolTip(), QStringLiteral("Prints on Office_Laser: two-sided, A4, 2 copies"));
        QVERIFY(window.runs().isDefault());
        QCOMPARE(app::loadPrinterSettings(), officeLaser());

        QVERIFY(window.fakes.pages.release(Entry));
        QTRY_COMPARE(window.fakes.messageBox->shown.size(), 1);
        QCOMPARE(window.runs(), officeLaser());
    }
};

// The window keeps its settings in the user's configuration folder; these
// tests give it a folder of their own before Qt first looks for one.
int main(int argc, char *argv[])
{
    QTemporaryDir configuration;
    if (!configuration.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configuration.path()));
    QApplication application(argc, argv);
    TestPrinterSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_printersettings.moc"
