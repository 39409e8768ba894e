// Finding the program's own files beside it and in an installed tree.
#include "platform/datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDataFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // An installed tree: <prefix>/bin holds the program, <prefix>/share/tavimark its data.
    void findDataFile_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("expected");
        QTest::newRow("beside the program") << QStringList{u"bin/drag.ico"_s} << u"bin/drag.ico"_s;
        QTest::newRow("installed data folder") << QStringList{u"share/tavimark/drag.ico"_s}
                                               << u"share/tavimark/drag.ico"_s;
        QTest::newRow("beside wins over installed")
            << QStringList{u"bin/drag.ico"_s, u"share/tavimark/drag.ico"_s} << u"bin/drag.ico"_s;
        QTest::newRow("nowhere") << QStringList{} << QString();
        QTest::newRow("a folder of that name is no file") << QStringList{u"bin/drag.ico/"_s} << QString();
        QTest::newRow("another program's data folder")
            << QStringList{u"share/other/drag.ico"_s} << QString();
    }
    void findDataFile()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(u"bin"_s));
        for (const QString &path : present) {
            if (path.endsWith(u'/')) {
                QVERIFY(root.mkpath(path));
                continue;
            }
            QVERIFY(root.mkpath(QFileInfo(path).path()));
            QFile file(root.filePath(path));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("image");
        }
        const QString found = platform::findDataFile(root.filePath(u"bin"_s), u"drag.ico"_s);
        QCOMPARE(found, expected.isEmpty() ? QString() : root.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
