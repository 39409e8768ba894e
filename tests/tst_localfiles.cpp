#include "joblist/joblist.h"
#include "sources/addlocalfiles.h"
#include "sources/selection.h"

#include "fakedesktop.h"

#include <QDir>
#include <QTest>

class TestLocalFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void joinPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString sep = QDir::separator();
        QTest::newRow("plain folder") << QStringLiteral("/docs") << QStringLiteral("a.htm") << QStringLiteral("/docs") + sep + u"a.htm";
        QTest::newRow("root keeps its one separator") << QStringLiteral("/") << QStringLiteral("a.htm") << QStringLiteral("/a.htm");
        QTest::newRow("folder ending in a separator") << QStringLiteral("/docs/") << QStringLiteral("a.htm") << QStringLiteral("/docs/a.htm");
        QTest::newRow("network-style path") << QStringLiteral("//server/share/docs") << QStringLiteral("b.htm")
                                            << QStringLiteral("//server/share/docs") + sep + u"b.htm";
        QTest::newRow("nothing else changes") << QStringLiteral("/a b/./c") << QStringLiteral(" x .htm")
                                              << QStringLiteral("/a b/./c") + sep + u" x .htm";
    }
    void joinPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(sources::joinPath(folder, name), expected);
    }

    void addLocalFiles_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("expected");
        const QChar nul(0);
        QTest::newRow("cancel") << QString() << QStringList{};
        QTest::newRow("one file, taken as it stands")
            << QStringLiteral("/docs/a b.htm") << QStringList{QStringLiteral("/docs/a b.htm")};
        QTest::newRow("three files in the dialog's order")
            << (QStringLiteral("/docs") + nul + u"c.html" + nul + u"a.htm" + nul + u"b.htm")
            << QStringList{QStringLiteral("/docs/c.html"), QStringLiteral("/docs/a.htm"), QStringLiteral("/docs/b.htm")};
        QTest::newRow("two files at the root")
            << (QStringLiteral("/") + nul + u"a.htm" + nul + u"b.htm")
            << QStringList{QStringLiteral("/a.htm"), QStringLiteral("/b.htm")};
        QTest::newRow("network folder")
            << (QStringLiteral("//server/share/docs") + nul + u"a.htm" + nul + u"b.htm")
            << QStringList{QStringLiteral("//server/share/docs/a.htm"), QStringLiteral("//server/share/docs/b.htm")};
    }
    void addLocalFiles()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, expected);
        ScriptedFileDialog dialog;
        dialog.answers << answer;
        joblist::JobList jobs;
        jobs.add(QStringLiteral("already there"));
        sources::addLocalFiles(dialog, nullptr, jobs);

        QCOMPARE(dialog.calls.size(), 1);
        QCOMPARE(dialog.calls.first().title, QStringLiteral("Add File(s) - Hold Ctrl to select multiple files"));
        QCOMPARE(dialog.calls.first().filter,
                 QStringLiteral("HTML Files (*.htm;*.html)|*.htm;*.html|All Files (*.*)|*.*|"));
        QCOMPARE(jobs.count(), 1 + expected.size());
        QCOMPARE(jobs.text(1), QStringLiteral("already there"));
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(jobs.text(i + 2), QDir::toNativeSeparators(expected.at(i)));
    }

    void addLocalFiles_sameFileTwiceGivesTwoEntries()
    {
        ScriptedFileDialog dialog;
        dialog.answers << QStringLiteral("/docs/a.htm") << QStringLiteral("/docs/a.htm");
        joblist::JobList jobs;
        sources::addLocalFiles(dialog, nullptr, jobs);
        sources::addLocalFiles(dialog, nullptr, jobs);
        QCOMPARE(jobs.count(), 2);
        QCOMPARE(jobs.text(1), jobs.text(2));
    }
};

QTEST_MAIN(TestLocalFiles)
#include "tst_localfiles.moc"
