// SPDX-License-Identifier: GPL-3.0-or-later
// Bookmarks from a document's headings, made the way a run makes them: the
// real engine names the headings and prints, the print thread's finishing
// builds the outline, and the outline is read back from the written file.
#include "core/documentrenderer.h"
#include "platform/engine/enginerenderer.h"
#include "printing/finishdocument.h"
#include "printing/pdf/pdfdocument.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using core::RenderedDocument;
using printing::PdfDocument;

namespace {

QString page(const QString &body, const QString &head = {})
{
    return u"<!doctype html><html><head><meta charset=\"utf-8\"><title>t</title><style>"
           u".page{page-break-after:always}</style>"
        + head + u"</head><body>" + body + u"</body></html>";
}

// "depth|text|page", pages from 1, for each item of the outline, depth first:
// an h3 right after an h1 nests one deep under it.
QStringList outlineOf(const QByteArray &pdf)
{
    QStringList items;
    const std::optional<PdfDocument> document = PdfDocument::read(pdf);
    if (!document)
        return {QStringLiteral("unreadable")};
    for (const PdfDocument::OutlineItem &item : document->outline())
        items << QString::number(item.level) + u'|' + item.title + u'|' + QString::number(item.page + 1);
    return items;
}

QString textOf(const QByteArray &pdf, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("text.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(pdf);
    file.close();
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    tool.waitForFinished(60000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace

class TestBookmarks : public QObject {
    Q_OBJECT

public:
    static void initMain()
    {
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        platform::letHiddenPagesKeepTime();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_renderers = platform::engineRenderers();
    }

    void cleanupTestCase()
    {
        m_renderers = {};
        platform::endAtOnceIfPagesStillRender(1);
    }

    void bookmarksFollowTheHeadings_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<QStringList>("outline");
        QTest::addColumn<QStringList>("names");  // the headings' destinations; empty: not checked

        QTest::newRow("several pages, no ids")
            << page(u"<div class=page><h1>Intro</h1><h2>Scope</h2><h3>Terms</h3></div>"
                    u"<div class=page><h2>Late part</h2></div><div><h1>Second</h1><h3>Deep</h3></div>"_qs)
            << QStringList{u"1|Intro|1"_qs, u"2|Scope|1"_qs, u"3|Terms|1"_qs, u"2|Late part|2"_qs,
                           u"1|Second|3"_qs, u"2|Deep|3"_qs}
            << QStringList();
        QTest::newRow("ids of their own kept")
            << page(u"<h1 id=start>Start</h1><div class=page><h2 id=a_2>Two</h2></div><h2 id=last-one>Three</h2>"_qs)
            << QStringList{u"1|Start|1"_qs, u"2|Two|1"_qs, u"2|Three|2"_qs}
            << QStringList{u"start"_qs, u"a_2"_qs, u"last-one"_qs};
        QTest::newRow("ids that clash or need escaping")
            << page(u"<p id=tavimark-heading-1>taken</p><h1 id=dup>One</h1><h2 id=dup>Two</h2>"
                    u"<h2 id=\"ünï code\">Three</h2><h3 id=x>Four</h3><span id=y></span><h3 id=y>Five</h3>"_qs)
            << QStringList{u"1|One|1"_qs, u"2|Two|1"_qs, u"2|Three|1"_qs, u"3|Four|1"_qs, u"3|Five|1"_qs}
            << QStringList{u"dup"_qs, u"tavimark-heading-2"_qs, u"tavimark-heading-3"_qs, u"x"_qs,
                           u"tavimark-heading-4"_qs};
        QTest::newRow("no headings") << page(u"<p>Only text</p><h4>Not a level we mark</h4>"_qs) << QStringList()
                                     << QStringList();
        QTest::newRow("right to left, controls, lone surrogates")
            << page(u"<h1>\u05e9\u05dc\u05d5\u05dd world</h1><h2 id=s>x</h2>"
                    u"<script>document.getElementById('s').textContent = 'a\\uD800b\\u0000c\\u0007  d';</script>"_qs)
            << QStringList{u"1|\u05e9\u05dc\u05d5\u05dd world|1"_qs, u"2|a b c d|1"_qs} << QStringList();
        QTest::newRow("a huge heading is cut")
            << page(u"<h1 id=h></h1><script>document.getElementById('h').textContent = 'w'.repeat(500000);</script>"_qs)
            << QStringList{u"1|"_qs + QString(printing::MostBookmarkCharacters, u'w') + u"|1"_qs} << QStringList();
        QString many;
        QStringList manyOutline;
        for (int i = 1; i <= 3000; ++i) {
            many += u"<h2>H" + QString::number(i) + u"</h2>";
            manyOutline << u"1|H" + QString::number(i) + u'|';
        }
        QTest::newRow("thousands of headings") << page(many) << manyOutline << QStringList();
    }

    void bookmarksFollowTheHeadings()
    {
        QFETCH(QString, html);
        QFETCH(QStringList, outline);
        QFETCH(QStringList, names);

        const RenderedDocument plain = rendered(html, false);
        const RenderedDocument named = rendered(html, true);
        QCOMPARE(named.state, RenderedDocument::State::Complete);
        if (!names.isEmpty()) {
            QStringList got;
            for (const core::DocumentHeading &heading : named.headings)
                got << QString::fromLatin1(heading.name);
            QCOMPARE(got, names);
        }
        // Naming the headings changes nothing printed.
        QCOMPARE(textOf(named.pdf, m_dir), textOf(plain.pdf, m_dir));

        printing::DocumentFinish finish;
        finish.headings = printing::PageHeadings{QStringLiteral("Title"), QStringLiteral("/a.htm"), QStringLiteral("now")};
        for (const core::DocumentHeading &heading : named.headings)
            finish.bookmarks.push_back({heading.text, heading.level, heading.name});
        const QByteArray pdf = printing::finishDocument(named.pdf, finish).pdf;
        QStringList got = outlineOf(pdf);
        // Many headings land on pages the row does not spell out.
        if (!outline.isEmpty() && outline.first().endsWith(u'|')) {
            for (QString &item : got)
                item = item.section(u'|', 0, 1) + u'|';
        }
        QCOMPARE(got, outline);
    }

private:
    RenderedDocument rendered(const QString &html, bool headings)
    {
        const QString path = m_dir.filePath(QStringLiteral("doc.html"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return {};
        file.write(html.toUtf8());
        file.close();
        const std::unique_ptr<core::DocumentRenderer> renderer = m_renderers();
        QSignalSpy done(renderer.get(), &core::DocumentRenderer::rendered);
        core::Readiness readiness;
        readiness.bound = std::chrono::seconds(60);
        readiness.headings = headings;
        renderer->render(1, path, QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10)),
                         readiness);
        if (!done.wait(90000))
            return {};
        return done.first().at(1).value<RenderedDocument>();
    }

    QTemporaryDir m_dir;
    core::RendererFactory m_renderers;
};

QTEST_MAIN(TestBookmarks)
#include "tst_bookmarks.moc"
