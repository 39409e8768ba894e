// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/actionbutton.h"
#include "app/window/form1.h"
#include "joblist/joblist.h"
#include "core/eventyield.h"
#include "core/mousepointer.h"
#include "sources/addfoldercontents.h"
#include "sources/getfolder.h"

#include "support/entrytexts.h"
#include "support/fakedesktop.h"
#include "support/foldertree.h"
#include "support/recordingpointer.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <unistd.h>

using namespace Qt::StringLiterals;
using core::MousePointer;

namespace {

// Everything one press of the button meets: the dialogs, the window and the
// job list, with the user's answers queued up.
struct Rig {
    ScriptedInputBox inputBox;
    ScriptedFolderBrowser folderBrowser;
    RecordingMessageBox messageBox;
    RecordingPointer pointer;
    core::EventYield yield;
    joblist::JobList jobs;

    void answer(const QString &extension, const QString &folder)
    {
        inputBox.answers << extension;
        folderBrowser.answers << folder;
    }
    void press() { sources::addFolderContents({inputBox, folderBrowser, messageBox}, {nullptr, pointer, yield}, jobs); }
    QStringList entries() const { return entryTexts(jobs); }
};

// Entries with the folder's own path cut off, for readable comparisons.
QStringList relative(const QStringList &entries, const QString &root)
{
    QStringList result;
    for (const QString &entry : entries)
        result << (entry.startsWith(root + u'/') ? entry.mid(root.size() + 1) : entry);
    return result;
}

// Runs `work` at the first turn the event loop gets, which the walk gives
// after reading the chosen folder's first name. The system hands over the
// names of a folder this small in one batch, so every name of it has been
// read by then and none of its subfolders has been looked at.
template <typename Work>
void atFirstYield(Work work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::QueuedConnection);
}

} // namespace

class TestAddFolder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void getFolder_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cancel") << QString() << QString();
        QTest::newRow("folder") << u"/docs"_s << u"/docs"_s;
        QTest::newRow("root keeps its separator") << u"/"_s << u"/"_s;
        QTest::newRow("trailing separator dropped") << u"/docs/"_s << u"/docs"_s;
        QTest::newRow("backslash is part of the name") << u"/docs\\"_s << u"/docs\\"_s;
    }
    void getFolder()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, expected);
        ScriptedFolderBrowser browser;
        browser.answers << chosen;
        QCOMPARE(sources::GetFolder(browser, nullptr, u"Pick one"_s), expected);
        QCOMPARE(browser.prompts, QStringList{u"Pick one"_s});
    }

    void cancelOnExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("cancel") << QString();
        QTest::newRow("emptied box") << u""_s;
    }
    void cancelOnExtension()
    {
        QFETCH(QString, typed);
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm"}));
        Rig rig;
        rig.jobs.add(u"before"_s);
        rig.answer(typed, dir.path());
        rig.press();
        QCOMPARE(rig.inputBox.calls.size(), 1);
        QCOMPARE(rig.inputBox.calls.first().prompt, u"Enter file extension to load:"_s);
        QCOMPARE(rig.inputBox.calls.first().initialText, u"htm"_s);
        QVERIFY(rig.folderBrowser.prompts.isEmpty());
        QCOMPARE(rig.entries(), QStringList{u"before"_s});
        QVERIFY(rig.pointer.changes.isEmpty());
        QVERIFY(rig.messageBox.shown.isEmpty());
    }

    void cancelOnFolder()
    {
        Rig rig;
        rig.answer(u"htm"_s, QString());
        rig.press();
        QCOMPARE(rig.folderBrowser.prompts, QStringList{u"Please select folder to add:"_s});
        QCOMPARE(rig.jobs.count(), 0);
        QVERIFY(rig.pointer.changes.isEmpty());
        QVERIFY(rig.messageBox.shown.isEmpty());
    }

    void addsMatchingFiles_data()
    {
        QTest::addColumn<QByteArrayList>("tree");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("leading ~ skipped, inner ~ kept")
            << QByteArrayList{"a.htm", "~$b.htm", "c.txt", "a~1.htm"} << u"htm"_s
            << QStringList{u"a.htm"_s, u"a~1.htm"_s};
        QTest::newRow("breadth-first, each folder in name order")
            << QByteArrayList{"B/B1/b1.htm", "A/A1/X/x.htm", "A/A2/a2.htm", "A/A1/a1.htm", "A/a.htm", "B/b.htm", "r.htm", "A/A1/X/w.htm"}
            << u"htm"_s
            << QStringList{u"r.htm"_s, u"A/a.htm"_s, u"B/b.htm"_s, u"A/A1/a1.htm"_s, u"A/A2/a2.htm"_s,
                           u"B/B1/b1.htm"_s, u"A/A1/X/w.htm"_s, u"A/A1/X/x.htm"_s};
        QTest::newRow("hidden file added, hidden folder not entered")
            << QByteArrayList{".h.htm", ".git/g.htm", "shown/s.htm"} << u"htm"_s
            << QStringList{u".h.htm"_s, u"shown/s.htm"_s};
        QTest::newRow("folder named like a match entered, not added")
            << QByteArrayList{"x.htm/inner.htm"} << u"htm"_s << QStringList{u"x.htm/inner.htm"_s};
        QTest::newRow(".htm typed verbatim")
            << QByteArrayList{"a.htm", "b..htm"} << u".htm"_s << QStringList{u"b..htm"_s};
        QTest::newRow("* typed gives every file")
            << QByteArrayList{"README", "a.htm", "b.txt", "sub/c"} << u"*"_s
            << QStringList{u"a.htm"_s, u"b.txt"_s, u"README"_s, u"sub/c"_s};
        QTest::newRow("case ignored")
            << QByteArrayList{"a.HTM", "b.Htm", "c.txt"} << u"hTm"_s << QStringList{u"a.HTM"_s, u"b.Htm"_s};
        QTest::newRow("spaces typed are kept")
            << QByteArrayList{"a.htm", "b. htm"} << u" htm"_s << QStringList{u"b. htm"_s};
        QTest::newRow("the default answer finds .html too")
            << QByteArrayList{"a.htm", "b.html", "c.htmx.bak"} << u"htm"_s << QStringList{u"a.htm"_s, u"b.html"_s};
        QTest::newRow("four letters typed find only themselves")
            << QByteArrayList{"a.htm", "b.html", "c.htmlx"} << u"html"_s << QStringList{u"b.html"_s};
        QTest::newRow("empty tree") << QByteArrayList{"empty/"} << u"htm"_s << QStringList{};
    }
    void addsMatchingFiles()
    {
        QFETCH(QByteArrayList, tree);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), tree));
        Rig rig;
        rig.answer(typed, dir.path());
        rig.press();
        QCOMPARE(relative(rig.entries(), dir.path()), expected);
        QCOMPARE(rig.pointer.changes, (QList<MousePointer>{MousePointer::Busy, MousePointer::Default}));
        QVERIFY(rig.messageBox.shown.isEmpty());
    }

    void folderEndingInSeparatorJoinsWithOne()
    {
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm", "sub/b.htm"}));
        Rig rig;
        rig.answer(u"htm"_s, dir.path() + u'/');
        rig.press();
        QCOMPARE(rig.entries(), QStringList({dir.path() + u"/a.htm", dir.path() + u"/sub/b.htm"}));
    }

    void twiceAddsEveryFileTwice()
    {
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm"}));
        Rig rig;
        rig.answer(u"htm"_s, dir.path());
        rig.answer(u"htm"_s, dir.path());
        rig.press();
        rig.press();
        QCOMPARE(relative(rig.entries(), dir.path()), QStringList({u"a.htm"_s, u"a.htm"_s}));
    }

    void nameThatIsNotTextNamesTheFileExactly()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        const QByteArray name("r\xe9sum\xe9 #1.htm");
        QVERIFY(foldertree::make(root, {"sub/"}));
        QVERIFY(foldertree::touch(root + "/sub/" + name));
        // The temporary folder cannot remove a name that is not text.
        auto cleanUp = qScopeGuard([&] { ::unlink(QByteArray(root + "/sub/" + name).constData()); });
        Rig rig;
        rig.answer(u"htm"_s, dir.path());
        rig.press();
        QCOMPARE(rig.jobs.count(), 1);
        const QUrl url(rig.jobs.text(1));
        QVERIFY2(url.isLocalFile(), qPrintable(rig.jobs.text(1)));
        const QByteArray named = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        QCOMPARE(named, root + "/sub/" + name);
        QVERIFY(::access(named.constData(), R_OK) == 0);
    }

    void unreadableFolderSkippedAndNamedOnce()
    {
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm", "A/a.htm", "B/b.htm", "C/c.htm"}));
        Rig rig;
        rig.answer(u"htm"_s, dir.path());
        atFirstYield([&] { QDir(dir.filePath(u"B"_s)).removeRecursively(); });
        rig.press();
        QCOMPARE(relative(rig.entries(), dir.path()), QStringList({u"a.htm"_s, u"A/a.htm"_s, u"C/c.htm"_s}));
        QCOMPARE(rig.messageBox.shown.size(), 1);
        QCOMPARE(rig.messageBox.shown.first(),
                 u"These folders could not be read; their files were not added:\n"_s + dir.filePath(u"B"_s));
        QCOMPARE(rig.pointer.changes, (QList<MousePointer>{MousePointer::Busy, MousePointer::Default}));
    }

    void chosenFolderGoneIsReported()
    {
        QTemporaryDir dir;
        Rig rig;
        rig.answer(u"htm"_s, dir.filePath(u"gone"_s));
        rig.press();
        QCOMPARE(rig.jobs.count(), 0);
        QCOMPARE(rig.messageBox.shown, QStringList{u"These folders could not be read; their files were not added:\n"_s
                                                   + dir.filePath(u"gone"_s)});
    }

    void unreadableMessage_data()
    {
        QTest::addColumn<int>("folders");
        QTest::addColumn<int>("named");
        QTest::addColumn<QString>("tail");
        QTest::newRow("one") << 1 << 1 << u"/f1"_s;
        QTest::newRow("twenty") << 20 << 20 << u"/f20"_s;
        QTest::newRow("twenty-one") << 21 << 20 << u"... and 1 more."_s;
        QTest::newRow("a thousand") << 1000 << 20 << u"... and 980 more."_s;
    }
    void unreadableMessage()
    {
        QFETCH(int, folders);
        QFETCH(int, named);
        QFETCH(QString, tail);
        QStringList paths;
        for (int i = 1; i <= folders; ++i)
            paths << u"/f"_s + QString::number(i);
        const QStringList lines = sources::unreadableFoldersMessage(paths).split(u'\n');
        QCOMPARE(lines.first(), u"These folders could not be read; their files were not added:"_s);
        QCOMPARE(lines.mid(1, named), paths.first(named));
        QCOMPARE(lines.last(), tail);
        QCOMPARE(lines.size(), 1 + named + (folders > named ? 1 : 0));
    }

    void windowClosedDuringTheWalkAddsNothing()
    {
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm", "A/b.htm"}));
        Rig rig;
        rig.answer(u"htm"_s, dir.path());
        atFirstYield([&] { rig.yield.markClosed(); });
        rig.press();
        QCOMPARE(rig.jobs.count(), 0);
        QVERIFY(rig.messageBox.shown.isEmpty());
        QCOMPARE(rig.pointer.mousePointer(), MousePointer::Default);
    }

    void secondActionDuringTheWalkDisturbsNothing()
    {
        QTemporaryDir first;
        QTemporaryDir second;
        QVERIFY(foldertree::make(foldertree::bytes(first.path()), {"a.htm", "A/b.htm", "A/A1/c.htm", "B/d.htm"}));
        QVERIFY(foldertree::make(foldertree::bytes(second.path()), {"x.htm", "X/y.htm"}));
        Rig rig;
        rig.answer(u"htm"_s, first.path());
        rig.answer(u"htm"_s, second.path());
        QList<MousePointer> pointerDuringNested;
        atFirstYield([&] {
            pointerDuringNested << rig.pointer.mousePointer();
            rig.press();
        });
        rig.press();
        // The second action finished inside the first one's walk, before
        // the first added anything; the first then added its whole tree.
        QCOMPARE(rig.entries(), QStringList({second.path() + u"/x.htm", second.path() + u"/X/y.htm",
                                             first.path() + u"/a.htm", first.path() + u"/A/b.htm",
                                             first.path() + u"/B/d.htm", first.path() + u"/A/A1/c.htm"}));
        QCOMPARE(pointerDuringNested, QList<MousePointer>{MousePointer::Busy});
        QCOMPARE(rig.pointer.mousePointer(), MousePointer::Default);
    }

    void check4AddsTheFolder()
    {
        QTemporaryDir dir;
        QVERIFY(foldertree::make(foldertree::bytes(dir.path()), {"a.htm", "b.txt"}));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        fakes.inputBox->answers << u"htm"_s;
        fakes.folderBrowser->answers << dir.path();
        form.Check4()->click();
        QCOMPARE(form.jobs().count(), 1);
        QCOMPARE(form.jobs().text(1), dir.path() + u"/a.htm");
        QCOMPARE(fakes.inputBox->calls.size(), 1);
        QCOMPARE(form.mousePointer(), MousePointer::Default);
        QVERIFY(!form.Check4()->isChecked());
    }
};

QTEST_MAIN(TestAddFolder)
#include "tst_addfolder.moc"
