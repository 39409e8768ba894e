// SPDX-License-Identifier: GPL-3.0-or-later
// Files and folders dropped onto the main window's list, with real paths on
// disk and the drag events the list receives from a file manager.
#include "app/window/form1.h"
#include "joblist/view/droptarget.h"
#include "joblist/joblist.h"
#include "joblist/view/joblistview.h"

#include "support/entrytexts.h"
#include "support/fakedesktop.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

using joblist::DropMode;

namespace {

std::unique_ptr<QMimeData> filesData(const QStringList &paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

bool makeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
}

// One drag over the list as the windowing system delivers it: it enters,
// moves, and is dropped unless it was refused on the way.
struct Drag {
    QWidget *surface;
    const QMimeData &data;
    QPoint point{40, 10};
    Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

    bool enter()
    {
        QDragEnterEvent event(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
        return event.isAccepted();
    }
    bool move()
    {
        QDragMoveEvent event(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
        return event.isAccepted();
    }
    // The drop action the target settled on, or IgnoreAction when it refused.
    Qt::DropAction drop()
    {
        QDropEvent event(point, actions, &data, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
};

} // namespace

class TestDropTarget : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void droppedPaths_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const auto file = [](const char *path) { return QUrl::fromLocalFile(QString::fromUtf8(path)); };
        QTest::newRow("files in drag order")
            << QList<QUrl>{file("/b/z.htm"), file("/a/y.txt"), file("/c/x")} << QString()
            << QStringList{QStringLiteral("/b/z.htm"), QStringLiteral("/a/y.txt"), QStringLiteral("/c/x")};
        QTest::newRow("names with spaces and accents")
            << QList<QUrl>{file("/home/é l/page 1.html")} << QString()
            << QStringList{QStringLiteral("/home/é l/page 1.html")};
        QTest::newRow("web addresses left out")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.htm")), file("/d/a.htm")} << QString()
            << QStringList{QStringLiteral("/d/a.htm")};
        QTest::newRow("web address only") << QList<QUrl>{QUrl(QStringLiteral("https://example.org/"))}
                                          << QString() << QStringList{};
        QTest::newRow("plain text") << QList<QUrl>{} << QStringLiteral("/etc/passwd") << QStringList{};
        // A name that is not text keeps its bytes, as the folder walk keeps
        // them, so the file it names is the one printed.
        QTest::newRow("name that is not text")
            << QList<QUrl>{QUrl::fromEncoded("file:///d/bad%FF%FE.htm")} << QString()
            << QStringList{QStringLiteral("file:///d/bad%FF%FE.htm")};
    }
    void droppedPaths()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        QCOMPARE(joblist::droppedPaths(data), expected);
    }

    void dropThreeFiles_appendsInDragOrder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList paths{dir.filePath(QStringLiteral("c.htm")), dir.filePath(QStringLiteral("a.txt")),
                                dir.filePath(QStringLiteral("b"))};
        for (const QString &path : paths)
            QVERIFY(makeFile(path));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.jobs().add(QStringLiteral("/already/there.htm"));
        const auto data = filesData(paths);
        Drag drag{form.ListView1()->viewport(), *data};

        QVERIFY(drag.enter());
        QVERIFY(drag.move());
        QCOMPARE(drag.drop(), Qt::CopyAction);

        QStringList expected{QStringLiteral("/already/there.htm")};
        for (const QString &path : paths)
            expected << QDir::toNativeSeparators(path);
        QCOMPARE(entryTexts(form.jobs()), expected);
    }

    void dropTwice_addsDuplicates()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("same.html"));
        QVERIFY(makeFile(path));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const auto data = filesData({path});
        Drag drag{form.ListView1()->viewport(), *data};
        QVERIFY(drag.enter());
        drag.drop();
        QVERIFY(drag.enter());
        drag.drop();
        QCOMPARE(entryTexts(form.jobs()), QStringList(2, QDir::toNativeSeparators(path)));
    }

    void dropFolder_addsOneEntry()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("site/sub")));
        const QString folder = dir.filePath(QStringLiteral("site"));
        QVERIFY(makeFile(folder + u"/index.html"));
        QVERIFY(makeFile(folder + u"/sub/page.html"));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const auto data = filesData({folder});
        Drag drag{form.ListView1()->viewport(), *data};

        QVERIFY(drag.enter());
        QCOMPARE(drag.drop(), Qt::CopyAction);
        QCOMPARE(entryTexts(form.jobs()), QStringList{QDir::toNativeSeparators(folder)});
    }

    void moveOnlyDrag_isTakenAsOffered()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("m.htm"));
        QVERIFY(makeFile(path));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        const auto data = filesData({path});
        Drag drag{form.ListView1()->viewport(), *data};
        drag.actions = Qt::MoveAction;
        QVERIFY(drag.enter());
        QCOMPARE(drag.drop(), Qt::MoveAction);
        QCOMPARE(form.jobs().count(), 1);
    }

    void dragText_isRefused_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("plain text") << QStringLiteral("text/plain");
        QTest::newRow("web address") << QStringLiteral("text/uri-list");
        QTest::newRow("image") << QStringLiteral("image/png");
    }
    void dragText_isRefused()
    {
        QFETCH(QString, format);
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.jobs().add(QStringLiteral("/kept.htm"));
        QMimeData data;
        if (format == u"text/plain")
            data.setText(QStringLiteral("/tmp/not-a-file-list.htm"));
        else if (format == u"text/uri-list")
            data.setUrls({QUrl(QStringLiteral("https://example.org/page.html"))});
        else
            data.setData(format, QByteArray("\x89PNG", 4));
        Drag drag{form.ListView1()->viewport(), data};

        QVERIFY(!drag.enter());
        QVERIFY(!drag.move());
        QCOMPARE(drag.drop(), Qt::IgnoreAction);
        QCOMPARE(entryTexts(form.jobs()), QStringList{QStringLiteral("/kept.htm")});
    }

    void dropAfterEntryClickAndRelease_isAccepted()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("later.htm"));
        QVERIFY(makeFile(path));
        FakeDesktop fakes;
        app::Form1 form(fakes.make());
        form.jobs().add(QStringLiteral("/first.htm"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget *viewport = form.ListView1()->viewport();
        const QPoint entry = form.ListView1()->visualRect(form.jobs().index(0, 0)).center();
        const auto data = filesData({path});
        Drag drag{viewport, *data};

        QTest::mousePress(viewport, Qt::LeftButton, {}, entry);
        QCOMPARE(form.dropTarget().dropMode(), DropMode::None);
        QVERIFY(!drag.enter());

        QTest::mouseRelease(viewport, Qt::LeftButton, {}, entry);
        QCOMPARE(form.dropTarget().dropMode(), DropMode::Manual);
        QVERIFY(drag.enter());
        QCOMPARE(drag.drop(), Qt::CopyAction);
        QCOMPARE(entryTexts(form.jobs()), (QStringList{QStringLiteral("/first.htm"), QDir::toNativeSeparators(path)}));
    }
};

QTEST_MAIN(TestDropTarget)
#include "tst_droptarget.moc"
