// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/folderwalk.h"

#include "support/foldertree.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using sources::CollectSubFolders;
using sources::FolderWalk;
using sources::ListFolderFiles;
using sources::NamePattern;

namespace {

// The walk's folders relative to `root`: the root itself is "", below it
// "A/", "A/A1/" and so on, so a failure shows readable paths.
QByteArrayList relative(const QList<QByteArray> &folders, const QByteArray &root)
{
    QByteArrayList result;
    for (const QByteArray &folder : folders) {
        if (folder == root)
            result << "";
        else
            result << (folder.startsWith(QByteArray(root + '/')) ? folder.mid(root.size() + 1) : folder);
    }
    return result;
}

// Walks the whole tree under `root` and returns its folders relative to it.
QByteArrayList walkAll(const QByteArray &root, FolderWalk &walk)
{
    QList<QByteArray> folders{root};
    if (!CollectSubFolders(folders, true, walk))
        return {"<stopped>"};
    return relative(folders, root);
}

// A chain root/name/name/... made level by level relative to the folder
// above, since its full path grows past what the system accepts.
bool makeChain(const QByteArray &root, const QByteArray &name, int levels)
{
    int fd = ::open(root.constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; fd >= 0 && level < levels; ++level) {
        const int next = ::mkdirat(fd, name.constData(), 0755) == 0
            ? ::openat(fd, name.constData(), O_RDONLY | O_DIRECTORY) : -1;
        ::close(fd);
        fd = next;
    }
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

void removeChain(const QByteArray &root, const QByteArray &name)
{
    QList<int> fds{::open(root.constData(), O_RDONLY | O_DIRECTORY)};
    while (fds.last() >= 0)
        fds << ::openat(fds.last(), name.constData(), O_RDONLY | O_DIRECTORY);
    fds.removeLast();
    for (qsizetype i = fds.size() - 1; i >= 0; --i) {
        ::unlinkat(fds.at(i), name.constData(), AT_REMOVEDIR);
        ::close(fds.at(i));
    }
}

} // namespace

class TestFolderWalk : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void namePattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");
        QTest::newRow("plain") << u"*.htm"_s << u"a.htm"_s << true;
        QTest::newRow("case ignored") << u"*.htm"_s << u"REPORT.HtM"_s << true;
        QTest::newRow("case ignored beyond ASCII") << u"*.ÄÖ"_s << u"x.äö"_s << true;
        QTest::newRow("longer extension, three typed") << u"*.htm"_s << u"a.html"_s << true;
        QTest::newRow("longer extension, case ignored") << u"*.hTm"_s << u"A.HTML"_s << true;
        QTest::newRow("any longer extension") << u"*.txt"_s << u"a.txta"_s << true;
        QTest::newRow("longer extension, no star") << u"index.htm"_s << u"index.html"_s << true;
        QTest::newRow("longer extension, the rest must match") << u"a*.htm"_s << u"b.html"_s << false;
        QTest::newRow("extension is after the last dot") << u"*.htm"_s << u"a.htmx.bak"_s << false;
        QTest::newRow("extension must begin with the three") << u"*.htm"_s << u"a.xhtml"_s << false;
        QTest::newRow("shorter extension") << u"*.htm"_s << u"a.ht"_s << false;
        QTest::newRow("no dot in the name") << u"*.htm"_s << u"htmlfile"_s << false;
        QTest::newRow("wildcard in the extension") << u"*.ht?"_s << u"a.html"_s << false;
        QTest::newRow("four typed") << u"*.html"_s << u"a.htmls"_s << false;
        QTest::newRow("two typed") << u"*.ht"_s << u"a.htm"_s << false;
        QTest::newRow("three characters beyond ASCII") << u"*.😀ab"_s << u"x.😀abc"_s << true;
        QTest::newRow("star matches nothing") << u"*.htm"_s << u".htm"_s << true;
        QTest::newRow("two dots typed") << u"*..htm"_s << u"a.htm"_s << false;
        QTest::newRow("two dots in the name") << u"*..htm"_s << u"a..htm"_s << true;
        QTest::newRow("star dot star, no dot") << u"*.*"_s << u"README"_s << true;
        QTest::newRow("trailing dot star, without the dot") << u"*.tar.*"_s << u"x.tar"_s << true;
        QTest::newRow("trailing dot star, with more") << u"*.tar.*"_s << u"x.tar.gz"_s << true;
        QTest::newRow("question mark") << u"*.h?m"_s << u"a.hxm"_s << true;
        QTest::newRow("question mark takes a whole character") << u"?.htm"_s << u"😀.htm"_s << true;
        QTest::newRow("brackets are plain") << u"*.[ab]"_s << u"x.[ab]"_s << true;
        QTest::newRow("space kept") << u"*. htm"_s << u"a.htm"_s << false;
        QTest::newRow("backtracking star") << u"*a*b"_s << u"aaxab"_s << true;
    }
    void namePattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(NamePattern(pattern).matches(name), matches);
    }

    void folderPath_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("root") << QByteArray("/") << QByteArray("/");
        QTest::newRow("plain") << QByteArray("/docs") << QByteArray("/docs/");
        QTest::newRow("one separator already") << QByteArray("/docs/") << QByteArray("/docs/");
        QTest::newRow("several separators") << QByteArray("/docs//") << QByteArray("/docs/");
        QTest::newRow("backslash is a name character") << QByteArray("/do\\") << QByteArray("/do\\/");
    }
    void folderPath()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, expected);
        QCOMPARE(sources::folderPath(folder), expected);
    }

    void collect_breadthFirstInNameOrder()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        // Made in an order unlike the expected one, so neither the order of
        // making nor the file system's own order can pass the test.
        QVERIFY(foldertree::make(root, {"b/B1/", "A/a2/", "A/A1/X/", "r.htm", "A/a.htm", ".hidden/h/"}));
        FolderWalk walk(nullptr);
        QCOMPARE(walkAll(root, walk), QByteArrayList({"", "A/", "b/", "A/A1/", "A/a2/", "b/B1/", "A/A1/X/"}));
        QVERIFY(walk.unreadableFolders().isEmpty());
    }

    void collect_withoutDescentOneLevelOnly()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"A/A1/", "B/"}));
        FolderWalk walk(nullptr);
        QList<QByteArray> folders{root + '/'};
        QVERIFY(CollectSubFolders(folders, false, walk));
        QCOMPARE(relative(folders, root), QByteArrayList({"", "A/", "B/"}));
    }

    void collect_linkLoopWalkedOnce()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"A/B/"}));
        QVERIFY(foldertree::link(root, root + "/A/B/up"));
        QVERIFY(foldertree::link("..", root + "/A/parent"));
        FolderWalk walk(nullptr);
        QCOMPARE(walkAll(root, walk), QByteArrayList({"", "A/", "A/B/"}));
        QVERIFY(walk.unreadableFolders().isEmpty());
    }

    void collect_twoLinksToOneFolderWalkedOnce()
    {
        QTemporaryDir outside;
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(foldertree::bytes(outside.path()), {"in/"}));
        QVERIFY(foldertree::link(foldertree::bytes(outside.path()), root + "/L2"));
        QVERIFY(foldertree::link(foldertree::bytes(outside.path()), root + "/L1"));
        QVERIFY(foldertree::link("nowhere", root + "/dangling"));
        FolderWalk walk(nullptr);
        QCOMPARE(walkAll(root, walk), QByteArrayList({"", "L1/", "L1/in/"}));
        QVERIFY(walk.unreadableFolders().isEmpty());
    }

    // Links out of the tree are followed, but not into the kernel's pseudo
    // file systems, whose links lead back out to the whole machine.
    void collect_linksIntoPseudoFileSystemsNotFollowed_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QByteArrayList>("expected");
        QTest::newRow("proc") << u"/proc"_s << QByteArrayList{"", "A/"};
        QTest::newRow("sysfs") << u"/sys"_s << QByteArrayList{"", "A/"};
        QTest::newRow("another ordinary file system") << u"/dev/shm"_s << QByteArrayList{"", "A/", "L/", "L/in/"};
    }
    void collect_linksIntoPseudoFileSystemsNotFollowed()
    {
        QFETCH(QString, target);
        QFETCH(QByteArrayList, expected);
        QTemporaryDir dir;
        QTemporaryDir elsewhere(target + u"/tst_folderwalk-XXXXXX");
        const QByteArray root = foldertree::bytes(dir.path());
        struct stat own, linked;
        if (::stat(QFile::encodeName(target).constData(), &linked) != 0 || ::stat(root.constData(), &own) != 0
            || own.st_dev == linked.st_dev)
            QSKIP("nothing of its own mounted there on this machine");
        // Only an ordinary file system takes a folder of the test's own.
        const bool ours = elsewhere.isValid();
        const QByteArray linkTo = ours ? foldertree::bytes(elsewhere.path()) : QFile::encodeName(target);
        QVERIFY(foldertree::make(root, {"A/"}) && (!ours || foldertree::make(linkTo, {"in/"})));
        QVERIFY(foldertree::link(linkTo, root + "/L"));
        FolderWalk walk(nullptr);
        QCOMPARE(walkAll(root, walk), expected);
    }

    // A walk that starts on proc reads it, but follows none of its links to
    // the processes' folders and roots, nor any mount below it.
    void collect_fromProcKeepsToProc()
    {
        struct stat proc, info;
        if (::stat("/proc", &proc) != 0)
            QSKIP("no /proc on this machine");
        FolderWalk walk(nullptr);
        QList<QByteArray> folders{QByteArray("/proc")};
        QVERIFY(CollectSubFolders(folders, true, walk));
        QVERIFY(folders.contains("/proc/" + QByteArray::number(::getpid()) + '/'));
        // Processes end during the walk; what is still there must be proc.
        for (const QByteArray &folder : std::as_const(folders))
            QVERIFY2(::stat(folder.constData(), &info) != 0 || info.st_dev == proc.st_dev, folder.constData());
    }

    void collect_folderVanishingDuringTheWalkIsSkippedAndRecorded()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"A/A1/", "B/B1/", "C/"}));
        int yields = 0;
        // The first yield comes after the root's first name is read. The
        // system hands over the names of a folder this small in one batch,
        // so B is listed by then, and gone when the walk looks at it.
        FolderWalk walk([&] {
            if (++yields == 1)
                QDir(dir.filePath(u"B"_s)).removeRecursively();
            return true;
        });
        QCOMPARE(walkAll(root, walk), QByteArrayList({"", "A/", "C/", "A/A1/"}));
        QCOMPARE(walk.unreadableFolders(), QList<QByteArray>{root + "/B/"});
    }

    void collect_pathTooLongIsSkippedAndRecorded()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        const QByteArray name(200, 'd');
        const int levels = PATH_MAX / (name.size() + 1) + 2;
        auto cleanUp = qScopeGuard([&] { removeChain(root, name); });
        QVERIFY(makeChain(root, name, levels));
        QVERIFY(foldertree::make(root, {"other/"}));
        FolderWalk walk(nullptr);
        QList<QByteArray> folders{root};
        QVERIFY(CollectSubFolders(folders, true, walk));
        QCOMPARE(walk.unreadableFolders().size(), 1);
        const QByteArray tooLong = walk.unreadableFolders().first();
        QVERIFY(tooLong.size() >= PATH_MAX);
        QVERIFY(folders.contains(QByteArray(root + "/other/")));
        // Everything above the one that is too long was walked.
        for (QByteArray folder = tooLong.chopped(name.size() + 1); folder.size() > root.size() + 1;
             folder.chop(name.size() + 1))
            QVERIFY2(folders.contains(folder), folder.right(40).constData());
    }

    void collect_unreadableByPermission()
    {
        if (::geteuid() == 0)
            QSKIP("permissions do not stop the superuser; the other unreadable cases cover the skip");
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"locked/inner/", "open/"}));
        QVERIFY(::chmod(QByteArray(root + "/locked").constData(), 0) == 0);
        auto unlock = qScopeGuard([&] { ::chmod(QByteArray(root + "/locked").constData(), 0755); });
        FolderWalk walk(nullptr);
        QCOMPARE(walkAll(root, walk), QByteArrayList({"", "locked/", "open/"}));
        QCOMPARE(walk.unreadableFolders(), QList<QByteArray>{root + "/locked/"});
    }

    // A stop at any of the walk's yields ends it there: no further yield,
    // nothing handed back.
    void collect_stopsAtWhicheverYieldSaysSo()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"A/A1/a.htm", "A/b.htm", "B/", ".hidden/", "c.htm"}));
        QVERIFY(foldertree::link(root + "/A", root + "/L"));
        int allYields = 0;
        FolderWalk counting([&] { ++allYields; return true; });
        QCOMPARE(walkAll(root, counting), QByteArrayList({"", "A/", "B/", "A/A1/"}));
        QVERIFY(allYields > 0);

        for (int stopAt = 1; stopAt <= allYields; ++stopAt) {
            int yields = 0;
            FolderWalk walk([&] { return ++yields < stopAt; });
            QList<QByteArray> folders{root};
            QVERIFY2(!CollectSubFolders(folders, true, walk), qPrintable(QString::number(stopAt)));
            QCOMPARE(yields, stopAt);
            QCOMPARE(folders, QList<QByteArray>{root});
            QVERIFY(walk.stopped());
            QVERIFY(!walk.yield());
            QCOMPARE(yields, stopAt);
        }
    }

    // The window's turns come while the names are read, not only once a
    // folder is done: a folder of many plain files yields for each of them.
    void collect_yieldsWhileReadingNames()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        constexpr int Files = 2000;
        QByteArrayList files;
        for (int i = 0; i < Files; ++i)
            files << "f" + QByteArray::number(i) + ".htm";
        QVERIFY(foldertree::make(root, files));
        int yields = 0;
        FolderWalk walk([&] { ++yields; return true; });
        QCOMPARE(walkAll(root, walk), QByteArrayList{""});
        QVERIFY2(yields >= Files, qPrintable(QString::number(yields)));
    }

    void collect_nestedWalkDuringAYieldDisturbsNothing()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"a/a1/", "a/a2/", "b/", "c/c1/"}));
        const QByteArrayList expected{"", "a/", "b/", "c/", "a/a1/", "a/a2/", "c/c1/"};
        QList<QByteArrayList> nestedResults;
        int yields = 0;
        FolderWalk outer([&] {
            // A second action in the middle of every other search, over the
            // same folders.
            if (++yields % 2 == 0) {
                FolderWalk nested(nullptr);
                nestedResults << walkAll(root, nested);
            }
            return true;
        });
        QCOMPARE(walkAll(root, outer), expected);
        QVERIFY(nestedResults.size() > 3);
        for (const QByteArrayList &nested : nestedResults)
            QCOMPARE(nested, expected);
    }

    void list_matchingFilesInNameOrder()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"b.htm", "C.HTM", "a.htm", ".hidden.htm", "a.txt", "x.htm/", "~$b.htm"}));
        QVERIFY(foldertree::link("a.htm", root + "/link.htm"));
        QVERIFY(foldertree::link("x.htm", root + "/folderlink.htm"));
        QVERIFY(foldertree::link("nowhere.htm", root + "/dangling.htm"));
        const auto names = ListFolderFiles(root, NamePattern(u"*.htm"_s));
        QVERIFY(names.has_value());
        // The "~" names are the action's to skip, not the listing's.
        QCOMPARE(*names, QByteArrayList({".hidden.htm", "a.htm", "b.htm", "C.HTM", "link.htm", "~$b.htm"}));
    }

    void list_folderWithOrWithoutSeparator()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        QVERIFY(foldertree::make(root, {"a.htm"}));
        QCOMPARE(ListFolderFiles(root, NamePattern(u"*.htm"_s)), QByteArrayList{"a.htm"});
        QCOMPARE(ListFolderFiles(root + '/', NamePattern(u"*.htm"_s)), QByteArrayList{"a.htm"});
    }

    void list_missingFolderIsNoList()
    {
        QTemporaryDir dir;
        QVERIFY(!ListFolderFiles(foldertree::bytes(dir.filePath(u"gone"_s)), NamePattern(u"*"_s)).has_value());
    }

    void list_nameThatIsNotTextKeepsItsBytes()
    {
        QTemporaryDir dir;
        const QByteArray root = foldertree::bytes(dir.path());
        const QByteArray latin1Name("r\xe9sum\xe9.htm");
        QVERIFY(foldertree::touch(root + '/' + latin1Name));
        // The temporary folder cannot remove a name that is not text.
        auto cleanUp = qScopeGuard([&] { ::unlink(QByteArray(root + '/' + latin1Name).constData()); });
        QVERIFY(foldertree::touch(root + "/plain.htm"));
        QCOMPARE(ListFolderFiles(root, NamePattern(u"*.htm"_s)), QByteArrayList({"plain.htm", latin1Name}));
    }
};

QTEST_GUILESS_MAIN(TestFolderWalk)
#include "tst_folderwalk.moc"
