// SPDX-License-Identifier: GPL-3.0-or-later
// Page ranges as users write them, and PDFs cut down to them, read back with
// pdftotext the way a user's tools read a job.
#include "printing/pagerange/pagerange.h"
#include "support/printrig.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using printing::PageRanges;

namespace {

constexpr int PageCount = 6;

// A PDF of `count` A4 pages made by Qt, each saying "page N" as text.
QByteArray numberedPdf(int count)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    for (int page = 1; page <= count; ++page) {
        if (page > 1)
            writer.newPage();
        painter.drawText(QPointF(100, 200), u"page " + QString::number(page));
    }
    painter.end();
    return bytes;
}

// The numbers of the "page N" texts pdftotext finds, in the file's page order.
QList<int> pagesIn(const QString &pdfFile)
{
    QList<int> pages;
    static const QRegularExpression label(QStringLiteral("\\bpage (\\d+)\\b"));
    for (const QRegularExpressionMatch &match : label.globalMatch(rig::pdfText(pdfFile)))
        pages << match.captured(1).toInt();
    return pages;
}

} // namespace

class TestPageRange : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void parse_data();
    void parse();
    void malformedText_isRefused_data();
    void malformedText_isRefused();
    void selection_keepsChosenPagesInDocumentOrder_data();
    void selection_keepsChosenPagesInDocumentOrder();
    void everyPageChosen_returnsInputUntouched_data();
    void everyPageChosen_returnsInputUntouched();
    void noPageInRange_failsNamingTheRange_data();
    void noPageInRange_failsNamingTheRange();
    void unreadablePdf_fails_data();
    void unreadablePdf_fails();

private:
    QString written(const QByteArray &pdf, const QString &name);

    QTemporaryDir m_dir;
    QByteArray m_source;
};

void TestPageRange::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_source = numberedPdf(PageCount);
    QVERIFY(m_source.startsWith("%PDF-"));
    // The tool the checks rely on reads the source as made.
    QCOMPARE(pagesIn(written(m_source, QStringLiteral("source"))), QList<int>({1, 2, 3, 4, 5, 6}));
}

QString TestPageRange::written(const QByteArray &pdf, const QString &name)
{
    const QString path = m_dir.filePath(name + u".pdf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    return path;
}

void TestPageRange::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tidied");
    QTest::addColumn<QList<int>>("inside");
    QTest::addColumn<QList<int>>("outside");

    QTest::newRow("ranges and a page") << QStringLiteral("1-3,7") << QStringLiteral("1-3,7") << QList<int>{1, 2, 3, 7}
                                       << QList<int>{0, 4, 6, 8};
    QTest::newRow("one page") << QStringLiteral("2") << QStringLiteral("2") << QList<int>{2} << QList<int>{1, 3};
    QTest::newRow("range of one page") << QStringLiteral("4-4") << QStringLiteral("4") << QList<int>{4}
                                       << QList<int>{3, 5};
    QTest::newRow("blanks around items and dashes") << QStringLiteral(" 1 - 3 ,\t7 ") << QStringLiteral("1-3,7")
                                                    << QList<int>{1, 3, 7} << QList<int>{4};
    QTest::newRow("to the end") << QStringLiteral("5-") << QStringLiteral("5-") << QList<int>{5, 6, 100000}
                                << QList<int>{1, 4};
    QTest::newRow("written backwards, overlapping") << QStringLiteral("7,2-5,1-3") << QStringLiteral("7,2-5,1-3")
                                                    << QList<int>{1, 3, 5, 7} << QList<int>{6, 8};
    QTest::newRow("leading zeros") << QStringLiteral("007-010") << QStringLiteral("7-10") << QList<int>{7, 10}
                                   << QList<int>{6, 11};
}

void TestPageRange::parse()
{
    QFETCH(QString, text);
    QFETCH(QString, tidied);
    QFETCH(QList<int>, inside);
    QFETCH(QList<int>, outside);
    const std::optional<PageRanges> ranges = printing::parsePageRanges(text);
    QVERIFY(ranges);
    QCOMPARE(ranges->text(), tidied);
    for (int page : inside)
        QVERIFY2(ranges->contains(page), qPrintable(QString::number(page)));
    for (int page : outside)
        QVERIFY2(!ranges->contains(page), qPrintable(QString::number(page)));
}

void TestPageRange::malformedText_isRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("page zero") << QStringLiteral("0");
    QTest::newRow("negative") << QStringLiteral("-3");
    QTest::newRow("plus sign") << QStringLiteral("+3");
    QTest::newRow("first past last") << QStringLiteral("5-3");
    QTest::newRow("empty item") << QStringLiteral("1,,3");
    QTest::newRow("trailing comma") << QStringLiteral("1-3,");
    QTest::newRow("two dashes") << QStringLiteral("1-2-3");
    QTest::newRow("blank inside a number") << QStringLiteral("1 2");
    QTest::newRow("words") << QStringLiteral("all");
    QTest::newRow("other script's digits") << QStringLiteral("\u0663");
    QTest::newRow("beyond an int") << QStringLiteral("99999999999");
    QTest::newRow("largest int") << QStringLiteral("2147483647");
}

void TestPageRange::malformedText_isRefused()
{
    QFETCH(QString, text);
    const std::optional<PageRanges> ranges = printing::parsePageRanges(text);
    QVERIFY2(!ranges, qPrintable(ranges ? ranges->text() : QString()));
}

void TestPageRange::selection_keepsChosenPagesInDocumentOrder_data()
{
    QTest::addColumn<QString>("ranges");
    QTest::addColumn<QList<int>>("pages");

    QTest::newRow("one page") << QStringLiteral("2") << QList<int>{2};
    QTest::newRow("a range") << QStringLiteral("2-4") << QList<int>{2, 3, 4};
    QTest::newRow("to the end") << QStringLiteral("5-") << QList<int>{5, 6};
    QTest::newRow("written backwards") << QStringLiteral("6,1-2") << QList<int>{1, 2, 6};
    QTest::newRow("overlapping, each once") << QStringLiteral("1-3,2-4,3") << QList<int>{1, 2, 3, 4};
    QTest::newRow("running past the end") << QStringLiteral("4-40") << QList<int>{4, 5, 6};
    QTest::newRow("gaps") << QStringLiteral("1,3,5") << QList<int>{1, 3, 5};
}

void TestPageRange::selection_keepsChosenPagesInDocumentOrder()
{
    QFETCH(QString, ranges);
    QFETCH(QList<int>, pages);
    const std::optional<PageRanges> parsed = printing::parsePageRanges(ranges);
    QVERIFY(parsed);
    const printing::SelectedPages selected = printing::selectPages(m_source, *parsed);
    QVERIFY2(selected.ok(), qPrintable(selected.failure));
    const QString file = written(selected.pdf, QStringLiteral("selected"));
    QVERIFY(!file.isEmpty());
    // Read back as text: the pages kept their text, nothing was rasterised.
    QCOMPARE(pagesIn(file), pages);
}

void TestPageRange::everyPageChosen_returnsInputUntouched_data()
{
    QTest::addColumn<QString>("ranges");
    QTest::newRow("exactly the pages") << QStringLiteral("1-6");
    QTest::newRow("more than the pages") << QStringLiteral("1-100");
    QTest::newRow("pieces that cover them") << QStringLiteral("4-,3,1-2");
}

void TestPageRange::everyPageChosen_returnsInputUntouched()
{
    QFETCH(QString, ranges);
    const printing::SelectedPages selected = printing::selectPages(m_source, *printing::parsePageRanges(ranges));
    QVERIFY2(selected.ok(), qPrintable(selected.failure));
    QVERIFY(selected.pdf == m_source);
}

void TestPageRange::noPageInRange_failsNamingTheRange_data()
{
    QTest::addColumn<QString>("ranges");
    QTest::addColumn<QString>("failure");
    QTest::newRow("past the end") << QStringLiteral("40-50") << QStringLiteral("no page of it is in the range 40-50");
    QTest::newRow("from past the end") << QStringLiteral("7-") << QStringLiteral("no page of it is in the range 7-");
    QTest::newRow("as written, tidied") << QStringLiteral(" 9 , 7-8 ,12-12")
                                        << QStringLiteral("no page of it is in the range 9,7-8,12");
}

void TestPageRange::noPageInRange_failsNamingTheRange()
{
    QFETCH(QString, ranges);
    QFETCH(QString, failure);
    const printing::SelectedPages selected = printing::selectPages(m_source, *printing::parsePageRanges(ranges));
    QVERIFY(!selected.ok());
    QCOMPARE(selected.failure, failure);
    QVERIFY(selected.pdf.isEmpty());
}

void TestPageRange::unreadablePdf_fails_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("ranges");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("1-2");
    QTest::newRow("plain text") << QByteArray("Not a PDF at all, only words.\n") << QStringLiteral("1-2");
    QTest::newRow("cut after the header") << m_source.left(200) << QStringLiteral("1-2");
    // Choosing every page must not let an unreadable file through unread.
    QTest::newRow("plain text, every page") << QByteArray("Not a PDF at all.\n") << QStringLiteral("1-");
}

void TestPageRange::unreadablePdf_fails()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, ranges);
    const printing::SelectedPages selected = printing::selectPages(input, *printing::parsePageRanges(ranges));
    QVERIFY(!selected.ok());
    QCOMPARE(selected.failure, QStringLiteral("its PDF could not be read"));
    QVERIFY(selected.pdf.isEmpty());
}

QTEST_MAIN(TestPageRange)

#include "tst_pagerange.moc"
