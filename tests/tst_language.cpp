// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "core/reasontext.h"
#include "joblist/joblist.h"
#include "joblist/marks.h"
#include "joblist/view/joblistview.h"
#include "platform/language/language.h"
#include "printing/runreport.h"

#include "support/fakedesktop.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QStyledItemDelegate>
#include <QTemporaryDir>
#include <QTest>

// The window and the program's words in German, Hebrew and English, with
// the translations built into the program, as a user of each language
// starts it.
class TestLanguage : public QObject {
    Q_OBJECT

private:
    static QStringList actionTexts(const QWidget &window)
    {
        QStringList texts;
        for (const QAction *action : window.findChildren<QAction *>())
            texts << action->text();
        return texts;
    }

    static void loadLanguage(const QString &locale)
    {
        platform::unloadTranslations(*qApp);
        platform::loadTranslations(*qApp, QLocale(locale));
    }

private Q_SLOTS:
    void cleanup() { platform::unloadTranslations(*qApp); }

    // The locale variables as the C library reads them: LC_ALL before
    // LC_MESSAGES before LANG, with the encoding and variant dropped.
    void userLocale_data()
    {
        QTest::addColumn<QByteArray>("lcAll");
        QTest::addColumn<QByteArray>("lcMessages");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QLocale::Language>("language");
        QTest::newRow("LANG") << QByteArray() << QByteArray() << QByteArray("de_DE.UTF-8") << QLocale::German;
        QTest::newRow("LC_MESSAGES over LANG")
            << QByteArray() << QByteArray("he_IL.UTF-8") << QByteArray("de_DE.UTF-8") << QLocale::Hebrew;
        QTest::newRow("LC_ALL over all") << QByteArray("de_DE@euro") << QByteArray("he_IL.UTF-8") << QByteArray("en_US")
                                         << QLocale::German;
        QTest::newRow("C") << QByteArray() << QByteArray() << QByteArray("C.UTF-8") << QLocale::C;
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << QLocale::C;
    }
    void userLocale()
    {
        QFETCH(QByteArray, lcAll);
        QFETCH(QByteArray, lcMessages);
        QFETCH(QByteArray, lang);
        QFETCH(QLocale::Language, language);
        const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
        qputenv("LC_ALL", lcAll);
        qputenv("LC_MESSAGES", lcMessages);
        qputenv("LANG", lang);
        const QLocale locale = platform::userLocale();
        qputenv("LC_ALL", saved[0]);
        qputenv("LC_MESSAGES", saved[1]);
        qputenv("LANG", saved[2]);
        QCOMPARE(locale.language(), language);
    }

    // The window's buttons, column, menu and a closing message in the
    // language of the locale; English exactly as it always was.
    void window_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("print");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("noFiles");
        QTest::newRow("en") << QStringLiteral("en_US") << QStringLiteral("Print HTML Files")
                            << QStringLiteral("HTML File(s)") << QStringLiteral("Copy outcomes")
                            << QStringLiteral("No files added.");
        QTest::newRow("de") << QStringLiteral("de_DE") << QStringLiteral("HTML-Dateien drucken")
                            << QStringLiteral("HTML-Datei(en)") << QStringLiteral("Ergebnisse kopieren")
                            << QStringLiteral("Keine Dateien hinzugefügt.");
        QTest::newRow("he") << QStringLiteral("he_IL") << QStringLiteral("הדפסת קובצי HTML")
                            << QStringLiteral("קובצי HTML") << QStringLiteral("העתקת התוצאות")
                            << QStringLiteral("לא נוספו קבצים.");
    }
    void window()
    {
        QFETCH(QString, locale);
        QFETCH(QString, print);
        QFETCH(QString, column);
        QFETCH(QString, menuItem);
        QFETCH(QString, noFiles);
        loadLanguage(locale);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.Check2()->caption(), print);
        QCOMPARE(form.jobs().headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), column);
        QVERIFY2(actionTexts(form).contains(menuItem), qPrintable(actionTexts(form).join(u", ")));
        // The closing message of a run with an empty list.
        form.Check2()->click();
        QTRY_COMPARE(fakes.messageBox->shown, QStringList{noFiles});
    }

    // Under Hebrew the window is the mirror image of the design: what is at
    // the left in English is at the right, as far from the edge.
    void window_mirroredRightToLeft_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("en") << QStringLiteral("en_US") << Qt::LeftToRight;
        QTest::newRow("de") << QStringLiteral("de_DE") << Qt::LeftToRight;
        QTest::newRow("he") << QStringLiteral("he_IL") << Qt::RightToLeft;
    }
    void window_mirroredRightToLeft()
    {
        QFETCH(QString, locale);
        QFETCH(Qt::LayoutDirection, direction);
        // The design, left to right, in pixels.
        QRect addFiles, print;
        {
            FakeDesktop fakes;
            app::Form1 english(fakes.make());
            addFiles = english.Check1()->geometry();
            print = english.Check2()->geometry();
        }
        loadLanguage(locale);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        QCOMPARE(form.layoutDirection(), direction);
        const int width = form.width();
        const auto mirrored
            = [width](const QRect &r) { return QRect(width - r.x() - r.width(), r.y(), r.width(), r.height()); };
        const bool rightToLeft = direction == Qt::RightToLeft;
        QCOMPARE(form.Check1()->geometry(), rightToLeft ? mirrored(addFiles) : addFiles);
        QCOMPARE(form.Check2()->geometry(), rightToLeft ? mirrored(print) : print);
        QCOMPARE(form.Check1()->geometry().center().x() > width / 2, rightToLeft);
        QCOMPARE(form.ListView1()->layoutDirection(), direction);
        // An entry reads left to right in either list, its slash first.
        const auto *delegate = qobject_cast<QStyledItemDelegate *>(form.ListView1()->itemDelegate());
        QVERIFY(delegate);
        const QString shown = delegate->displayText(QStringLiteral("/tmp/a.htm"), QLocale());
        QCOMPARE(shown, rightToLeft ? u"\u2066/tmp/a.htm\u2069"_qs : u"/tmp/a.htm"_qs);
    }

    // A reason is recorded in English and worded for a person by the rules
    // shownReason() knows; what the translations lack stays as it is.
    void shownReason_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("german");
        QTest::newRow("whole") << QStringLiteral("file not found") << QStringLiteral("Datei nicht gefunden");
        QTest::newRow("number") << QStringLiteral("3 requests still open") << QStringLiteral("3 Anfragen noch offen");
        QTest::newRow("decimal") << QStringLiteral("still loading after 2.5 s")
                                 << QStringLiteral("lud nach 2.5 s noch");
        QTest::newRow("after a colon") << QStringLiteral("the printer refused it: the printer could not read it")
                                       << QStringLiteral(
                                              "der Drucker hat ihn abgelehnt: der Drucker konnte ihn nicht lesen");
        QTest::newRow("in brackets") << QStringLiteral("it could not be loaded (net::ERR_FAILED)")
                                     << QStringLiteral("es konnte nicht geladen werden (net::ERR_FAILED)");
        QTest::newRow("nested") << QStringLiteral("not sent: the printer stopped taking jobs (the printer is stopped)")
                                << QStringLiteral("nicht gesendet: der Drucker nahm keine Aufträge mehr an "
                                                  "(der Drucker ist angehalten)");
        QTest::newRow("a name in quotes") << QStringLiteral("the element \"h2:nth-of-type(3)\" never appeared")
                                          << QStringLiteral("das Element „h2:nth-of-type(3)“ erschien nie");
        QTest::newRow("last word") << QStringLiteral("no page of it is in the range 40-50")
                                   << QStringLiteral("keine seiner Seiten liegt im Bereich 40-50");
        QTest::newRow("the printer's own words")
            << QStringLiteral("Paper jam in tray 2") << QStringLiteral("Paper jam in tray 2");
        QTest::newRow("empty") << QString() << QString();
    }
    void shownReason()
    {
        QFETCH(QString, reason);
        QFETCH(QString, german);
        QCOMPARE(core::shownReason(reason), reason);
        loadLanguage(QStringLiteral("de_DE"));
        QCOMPARE(core::shownReason(reason), german);
    }

    // A mark's tooltip and the closing message word the recorded reason.
    void marksAndClosingMessage_inGerman()
    {
        loadLanguage(QStringLiteral("de_DE"));
        QCOMPARE(joblist::markToolTip(joblist::Mark::NotPrinted, QStringLiteral("file not found")),
                 QStringLiteral("Nicht gedruckt: Datei nicht gefunden"));
        printing::RunReport report;
        report.ending = printing::RunReport::Ending::Stopped;
        report.notPrinted = {{QStringLiteral("/a.htm"), printing::stoppedReason()},
                             {QStringLiteral("/b.htm"), printing::stoppedReason()}};
        QCOMPARE(printing::closingMessage(report),
                 QStringLiteral("Angehalten. 2 Einträge wurden nicht gedruckt:\n\n/a.htm\n/b.htm"));
    }

    // Qt's own translations missing or damaged are skipped: Qt's words stay
    // English and the program's own are still German.
    void qtOwnTranslations_missingOrDamaged_areSkipped_data()
    {
        QTest::addColumn<QByteArray>("qtbase");
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("damaged") << QByteArray("\x3c\xb8\x64\x18\xca\xef\x9c\x95 not a translation at all", 40);
        QTest::newRow("empty") << QByteArray("", 0);
    }
    void qtOwnTranslations_missingOrDamaged_areSkipped()
    {
        QFETCH(QByteArray, qtbase);
        QTemporaryDir folder;
        if (!qtbase.isNull()) {
            QFile file(folder.filePath(u"qtbase_de.qm"_qs));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(qtbase);
        }
        platform::unloadTranslations(*qApp);
        QCOMPARE(platform::loadTranslations(*qApp, QLocale(u"de_DE"_qs), folder.path()), platform::Translated::Program);
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), u"Print"_qs);
        QCOMPARE(joblist::markToolTip(joblist::Mark::Printed, {}), u"Gedruckt"_qs);
    }

    // Qt's own dialogs speak German from Qt's translations on the machine;
    // where those are not installed, the program's own still load.
    void qtOwnTranslations_whereInstalled()
    {
        loadLanguage(QStringLiteral("de_DE"));
        if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_de.qm"))
            QSKIP("Qt's own German translations are not installed");
        QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Drucken"));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
