// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "sources/addlocalfiles.h"

#include "support/entrytexts.h"
#include "support/fakedesktop.h"

#include <QTest>

class TestLocalFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void addLocalFiles_data()
    {
        QTest::addColumn<QStringList>("picked");
        QTest::newRow("cancel") << QStringList{};
        QTest::newRow("one file, taken as it stands") << QStringList{QStringLiteral("/docs/a b.htm")};
        QTest::newRow("three files in the dialog's order")
            << QStringList{QStringLiteral("/docs/c.html"), QStringLiteral("/docs/a.htm"), QStringLiteral("/docs/b.htm")};
        QTest::newRow("files of several folders")
            << QStringList{QStringLiteral("/a.htm"), QStringLiteral("//server/share/docs/b.htm")};
    }
    void addLocalFiles()
    {
        QFETCH(QStringList, picked);
        ScriptedFileDialog dialog;
        dialog.answers << picked;
        joblist::JobList jobs;
        jobs.add(QStringLiteral("already there"));
        sources::addLocalFiles(dialog, nullptr, jobs);

        QCOMPARE(dialog.calls.size(), 1);
        QCOMPARE(entryTexts(jobs), QStringList{QStringLiteral("already there")} + picked);
    }

    void addLocalFiles_sameFileTwiceGivesTwoEntries()
    {
        ScriptedFileDialog dialog;
        dialog.answers << QStringList{QStringLiteral("/docs/a.htm")} << QStringList{QStringLiteral("/docs/a.htm")};
        joblist::JobList jobs;
        sources::addLocalFiles(dialog, nullptr, jobs);
        sources::addLocalFiles(dialog, nullptr, jobs);
        QCOMPARE(entryTexts(jobs), QStringList(2, QStringLiteral("/docs/a.htm")));
    }

    // What each button's file dialog says, against the design's words: its
    // title, and its types as Qt name filters ("*" stands for the design's
    // "*.*", every file, since a name here need not hold a dot).
    void fileDialogTexts_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("Check1") << QStringLiteral("Check1")
                                << QStringLiteral("Add File(s) - Hold Ctrl to select multiple files")
                                << QStringList{QStringLiteral("HTML Files (*.htm *.html)"), QStringLiteral("All Files (*)")};
        QTest::newRow("Check6") << QStringLiteral("Check6")
                                << QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files")
                                << QStringList{QStringLiteral("All Files (*)")};
    }
    void fileDialogTexts()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QStringList, nameFilters);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        (button == u"Check1" ? form.Check1() : form.Check6())->click();
        QCOMPARE(fakes.fileDialog->calls.size(), 1);
        QCOMPARE(fakes.fileDialog->calls.first().title, title);
        QCOMPARE(fakes.fileDialog->calls.first().nameFilters, nameFilters);
        QCOMPARE(form.jobs().count(), 0);
    }
};

QTEST_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
