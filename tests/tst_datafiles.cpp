// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the program's own files beside it and in an installed tree.
#include "core/datafiles.h"

#include <QDir>
#include <QFile>
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
        QTest::newRow("beside the program") << QStringList{u"bin"_s} << u"bin"_s;
        QTest::newRow("installed") << QStringList{u"share/tavimark"_s} << u"share/tavimark"_s;
        QTest::newRow("beside wins") << QStringList{u"bin"_s, u"share/tavimark"_s} << u"bin"_s;
        QTest::newRow("nowhere") << QStringList{u"share/other"_s} << QString();
    }
    void findDataFile()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        const QDir root(prefix.path());
        QVERIFY(root.mkpath(u"bin"_s));
        for (const QString &folder : present) {
            QVERIFY(root.mkpath(folder));
            QFile file(root.filePath(folder + u"/drag.ico"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString found = core::findDataFile(root.filePath(u"bin"_s), u"drag.ico"_s);
        QCOMPARE(found, expected.isEmpty() ? QString() : root.filePath(expected + u"/drag.ico"_s));
    }
};

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
