// SPDX-License-Identifier: GPL-3.0-or-later
#include "sources/paths.h"

#include <QTest>

using sources::joinPath;
using sources::trimTrailingSeparators;

namespace {

// Every row runs through both forms of a path, text and bytes, which must
// follow the same rule.
QString viaBytes(const QString &path, QByteArray (*rule)(QByteArray))
{
    return QString::fromUtf8(rule(path.toUtf8()));
}

} // namespace

class TestPaths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void trimTrailingSeparators_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("folder") << QStringLiteral("/docs") << QStringLiteral("/docs");
        QTest::newRow("one separator") << QStringLiteral("/docs/") << QStringLiteral("/docs");
        QTest::newRow("several separators") << QStringLiteral("/docs///") << QStringLiteral("/docs");
        QTest::newRow("root keeps its separator") << QStringLiteral("/") << QStringLiteral("/");
        QTest::newRow("root given twice") << QStringLiteral("//") << QStringLiteral("/");
        QTest::newRow("relative") << QStringLiteral("docs/") << QStringLiteral("docs");
        QTest::newRow("inner separators stay") << QStringLiteral("/a//b/./c/") << QStringLiteral("/a//b/./c");
        QTest::newRow("spaces stay") << QStringLiteral("/a b /") << QStringLiteral("/a b ");
        QTest::newRow("beyond ASCII") << QStringLiteral("/dé/文/") << QStringLiteral("/dé/文");
#ifdef Q_OS_WIN
        QTest::newRow("drive root keeps its separator") << QStringLiteral("C:\\") << QStringLiteral("C:\\");
        QTest::newRow("backslash separates") << QStringLiteral("C:\\Docs\\") << QStringLiteral("C:\\Docs");
#else
        QTest::newRow("backslash is a name character") << QStringLiteral("/docs\\") << QStringLiteral("/docs\\");
        QTest::newRow("no drives here") << QStringLiteral("C:/") << QStringLiteral("C:");
#endif
    }
    void trimTrailingSeparators()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(::trimTrailingSeparators(path), expected);
        QCOMPARE(viaBytes(path, &::trimTrailingSeparators<QByteArray>), expected);
    }

    void joinPath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const QString sep(QChar(sources::NativeSeparator));
        QTest::newRow("plain folder") << QStringLiteral("/docs") << QStringLiteral("a.htm") << u"/docs" + sep + u"a.htm";
        QTest::newRow("root keeps its one separator") << QStringLiteral("/") << QStringLiteral("a.htm") << QStringLiteral("/a.htm");
        QTest::newRow("folder ending in a separator") << QStringLiteral("/docs/") << QStringLiteral("a.htm") << QStringLiteral("/docs/a.htm");
        QTest::newRow("network-style path") << QStringLiteral("//server/share/docs") << QStringLiteral("b.htm")
                                            << u"//server/share/docs" + sep + u"b.htm";
        QTest::newRow("nothing else changes") << QStringLiteral("/a b/./c") << QStringLiteral(" x .htm")
                                              << u"/a b/./c" + sep + u" x .htm";
        QTest::newRow("empty name gives a folder path") << QStringLiteral("/docs") << QString() << u"/docs" + sep;
#ifdef Q_OS_WIN
        QTest::newRow("drive root") << QStringLiteral("C:\\") << QStringLiteral("a.htm") << QStringLiteral("C:\\a.htm");
#else
        QTest::newRow("backslash is a name character") << QStringLiteral("/do\\") << QStringLiteral("a.htm")
                                                       << QStringLiteral("/do\\/a.htm");
#endif
    }
    void joinPath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(::joinPath(folder, name), expected);
        QCOMPARE(QString::fromUtf8(::joinPath(folder.toUtf8(), name.toUtf8())), expected);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
