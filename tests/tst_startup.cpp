// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window/startup.h"

#include "support/fakedesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void centeredTopLeft_data()
    {
        QTest::addColumn<QSizeF>("window");
        QTest::addColumn<QSizeF>("screen");
        QTest::addColumn<QPointF>("expected");
        QTest::newRow("smaller") << QSizeF(617, 305) << QSizeF(1920, 1080) << QPointF(651.5, 387.5);
        QTest::newRow("same size") << QSizeF(800, 600) << QSizeF(800, 600) << QPointF(0, 0);
        QTest::newRow("wider and taller than the screen")
            << QSizeF(1000, 900) << QSizeF(800, 600) << QPointF(-100, -150);
    }
    void centeredTopLeft()
    {
        QFETCH(QSizeF, window);
        QFETCH(QSizeF, screen);
        QFETCH(QPointF, expected);
        QCOMPARE(app::centeredTopLeft(window, screen), expected);
    }

    void fileExists_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("expected");
        QTest::newRow("existing file") << QStringLiteral("present.txt") << true;
        QTest::newRow("existing folder") << QString() << true;
        QTest::newRow("missing file") << QStringLiteral("absent.txt") << false;
        QTest::newRow("missing folder") << QStringLiteral("nowhere/absent.txt") << false;
        QTest::newRow("file used as a folder") << QStringLiteral("present.txt/inner") << false;
        QTest::newRow("malformed: NUL inside") << QStringLiteral("pre\0sent.txt") << false;
    }
    void fileExists()
    {
        QFETCH(QString, relative);
        QFETCH(bool, expected);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("present.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = relative.isEmpty() ? dir.path() : dir.path() + u'/' + relative;
        QCOMPARE(app::FileExists(path), expected);
    }
    void fileExists_emptyPathIsFalse() { QVERIFY(!app::FileExists(QString())); }

    // Only the draw 7 of 1..100 opens the home page: r in [0.06, 0.07).
    void maybeOpenHomePage_data()
    {
        QTest::addColumn<double>("draw");
        QTest::addColumn<bool>("opens");
        QTest::newRow("draw 1") << 0.0 << false;
        QTest::newRow("draw 6 (top edge)") << 0.0599999 << false;
        QTest::newRow("draw 7 (bottom edge)") << 0.06 << true;
        QTest::newRow("draw 7 (middle)") << 0.065 << true;
        QTest::newRow("draw 7 (top edge)") << 0.0699999 << true;
        QTest::newRow("draw 8") << 0.07 << false;
        QTest::newRow("draw 100") << 0.9999999 << false;
    }
    void maybeOpenHomePage()
    {
        QFETCH(double, draw);
        QFETCH(bool, opens);
        FixedRandom random;
        random.value = draw;
        RecordingLauncher launcher;
        QCOMPARE(app::MaybeOpenHomePage(random, launcher), opens);
        QCOMPARE(launcher.opened.size(), opens ? 1 : 0);
        if (opens)
            QCOMPARE(launcher.opened.first(), app::HomePageUrl);
    }

    void maybeOpenHomePage_oneStartInAHundred()
    {
        // Over a uniform sweep of draws exactly one in a hundred opens.
        struct Sweep final : core::RandomSource {
            int i = 0;
            double next() override { return (i++ + 0.5) / 10000.0; }
        } sweep;
        RecordingLauncher launcher;
        for (int i = 0; i < 10000; ++i)
            app::MaybeOpenHomePage(sweep, launcher);
        QCOMPARE(launcher.opened.size(), 100);
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
