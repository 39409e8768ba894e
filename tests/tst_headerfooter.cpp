// SPDX-License-Identifier: GPL-3.0-or-later
// Headers and footers laid over PDFs the real browser engine made, read back
// the way a user's tools read a job: pdftotext for the text, its -bbox word
// boxes for where the text landed, pdfimages for what was rasterised.
#include "printing/headerfooter/fontnames.h"
#include "printing/headerfooter/headerfooter.h"
#include "printing/pdf/pdfupdate.h"
#include "printing/pdf/pdfbytes.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <QPainterPath>
#include <QRawFont>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <future>

using printing::PageHeadings;

namespace {

constexpr double PointsPerMm = 72.0 / 25.4;
constexpr double MarginPt = 10 * PointsPerMm;
constexpr double TolerancePt = 0.5;

const QString DateText = QStringLiteral("2024-05-06T07:08");

QString threePageHtml()
{
    QString html = QStringLiteral("<!doctype html><html><head><meta charset=\"utf-8\"><style>"
                                  "body{margin:0;font-family:serif} section{page-break-after:always}"
                                  "section:last-child{page-break-after:auto}</style></head><body>");
    for (int page = 1; page <= 3; ++page)
        html += u"<section><h1>Body of sheet " + QString::number(page) + u"</h1><p>Content words "
            + QString::number(page) + u" stay where the engine put them.</p></section>";
    return html + u"</body></html>";
}

// The engine's own PDF of `html`, printed with the margins the print run uses.
QByteArray enginePdf(const QString &html, const QPageLayout &layout)
{
    QWebEngineProfile profile;
    QWebEnginePage page(&profile);
    QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
    page.setHtml(html);
    if (!loaded.wait(60000) || !loaded.first().first().toBool())
        return {};
    QByteArray pdf;
    bool done = false;
    page.printToPdf(
        [&](const QByteArray &bytes) {
            pdf = bytes;
            done = true;
        },
        layout);
    return QTest::qWaitFor([&] { return done; }, 60000) ? pdf : QByteArray();
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// What pdftotext reads on one page, or on all of them for page 0.
QString pageText(const QString &pdfPath, int page = 0)
{
    const QStringList range = page > 0 ? QStringList{QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                                     QString::number(page)}
                                       : QStringList{};
    return runTool(QStringLiteral("pdftotext"), range + QStringList{pdfPath, QStringLiteral("-")});
}

// pdftotext marks runs it turned around for right-to-left reading with
// embedding controls; what matters here is the characters' order.
QString withoutBidiMarks(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("[\\x{202A}-\\x{202E}]")));
}

struct Word {
    QString text;
    QRectF box;
};

struct PageWords {
    QSizeF size;
    QList<Word> words;
};

PageWords wordsOnPage(const QString &pdfPath, int page)
{
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"),
        QString::number(page), QStringLiteral("-l"), QString::number(page), pdfPath, QStringLiteral("-")});
    PageWords result;
    const QRegularExpressionMatch size = QRegularExpression(
        QStringLiteral("<page width=\"([\\d.]+)\" height=\"([\\d.]+)\">")).match(html);
    result.size = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const QRegularExpressionMatch &m : word.globalMatch(html)) {
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        result.words << Word{m.captured(5), QRectF(topLeft, bottomRight)};
    }
    return result;
}

// What is wrong with one line of headings: `line` holds the words of one
// margin band, `rightText` what the right-hand side must say.
QString checkLine(const QList<Word> &line, const QString &rightText, double pageWidth)
{
    const QString rightStart = rightText.section(u' ', 0, 0);
    const auto right = std::find_if(line.begin(), line.end(), [&](const Word &w) { return w.text == rightStart; });
    if (right == line.end())
        return u"no \"" + rightStart + u"\" in the band";
    QStringList rightWords;
    for (const Word &w : line) {
        if (w.box.left() < MarginPt - TolerancePt || w.box.right() > pageWidth - MarginPt + TolerancePt)
            return u"\"" + w.text + u"\" goes into a side margin";
        if (w.box.left() >= right->box.left())
            rightWords << w.text;
        else if (w.box.right() > right->box.left())
            return u"\"" + w.text + u"\" runs into the right-hand text";
    }
    if (rightWords.join(u' ') != rightText)
        return u"the right-hand side says \"" + rightWords.join(u' ') + u'"';
    return {};
}

// Every word that reaches into the top or bottom margin must stay inside it,
// within the side margins, with the left texts ending before the right ones.
QString checkHeadingsInMargins(const PageWords &page, const QString &topRight, const QString &bottomRight)
{
    QList<Word> top;
    QList<Word> bottom;
    const double height = page.size.height();
    for (const Word &w : page.words) {
        if (w.box.top() < MarginPt) {
            if (w.box.bottom() > MarginPt + TolerancePt)
                return u"\"" + w.text + u"\" reaches below the top margin";
            top << w;
        } else if (w.box.bottom() > height - MarginPt) {
            if (w.box.top() < height - MarginPt - TolerancePt)
                return u"\"" + w.text + u"\" reaches above the bottom margin";
            bottom << w;
        }
    }
    if (const QString fault = checkLine(top, topRight, page.size.width()); !fault.isEmpty())
        return u"top: " + fault;
    if (const QString fault = checkLine(bottom, bottomRight, page.size.width()); !fault.isEmpty())
        return u"bottom: " + fault;
    return {};
}

QString pageLabel(int page) { return u"Page " + QString::number(page) + u" of 3"; }

// The words in the top or the bottom margin, in pdftotext's reading order.
QString bandText(const PageWords &page, bool top)
{
    QStringList texts;
    for (const Word &w : page.words) {
        if (top ? w.box.top() < MarginPt : w.box.bottom() > page.size.height() - MarginPt)
            texts << w.text;
    }
    return texts.join(u' ');
}


// A PDF written out by hand with its cross-reference table, its objects
// numbered from 1, the catalog first.
QByteArray handMadePdf(const QList<QByteArray> &objects)
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype table = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    return pdf + "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(table) + "\n%%EOF\n";
}

QByteArray textStream(const QByteArray &text)
{
    const QByteArray content = "BT /F1 12 Tf 72 300 Td (" + text + ") Tj ET";
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "\nendstream";
}

// Three pages that take their size and resources from the page tree, or
// share one resources dictionary, one of them turned.
QByteArray inheritedAndSharedResources()
{
    return handMadePdf({"<< /Type /Catalog /Pages 2 0 R >>",
                        "<< /Type /Pages /Kids [3 0 R 4 0 R 5 0 R] /Count 3 /MediaBox [0 0 612 792]"
                        " /Resources << /Font << /F1 6 0 R >> >> >>",
                        "<< /Type /Page /Parent 2 0 R /Contents 7 0 R >>",
                        "<< /Type /Page /Parent 2 0 R /Resources 10 0 R /Contents [8 0 R] /Rotate 90 >>",
                        "<< /Type /Page /Parent 2 0 R /Resources 10 0 R /Contents 9 0 R >>",
                        "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>", textStream("Body of sheet 1"),
                        textStream("Body of sheet 2"), textStream("Body of sheet 3"),
                        "<< /Font << /F1 6 0 R >> /XObject << >> >>"});
}

// `pdf` as qpdf writes it, its cross-references in a stream.
QByteArray withCrossReferenceStream(const QByteArray &pdf)
{
    QPDF document;
    document.processMemoryFile("engine", pdf.constData(), size_t(pdf.size()));
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
    return printing::bytesOf(*writer.getBufferSharedPointer());
}

// `pdf` whose end points at the wrong place for its cross-references, which
// qpdf finds again by reading the whole file.
QByteArray withStrayTableOffset(QByteArray pdf)
{
    const qsizetype at = pdf.lastIndexOf("startxref") + 10;
    return pdf.replace(at, pdf.indexOf('\n', at) - at, "123");
}

// Whether qpdf reads `pdf` without having to repair anything.
bool readsCleanly(const QByteArray &pdf)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("result", pdf.constData(), size_t(pdf.size()));
        document.getAllPages();
        return !document.anyWarnings();
    } catch (const std::exception &) {
        return false;
    }
}

// Whether anything dark is drawn where the first page's title stands, as
// poppler renders it from the fonts in the file.
bool titleIsDrawn(const QString &pdfPath)
{
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-gray"),
                                              QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                              QStringLiteral("1"), QStringLiteral("-x"), QString::number(int(MarginPt)),
                                              QStringLiteral("-y"), QStringLiteral("8"), QStringLiteral("-W"),
                                              QStringLiteral("150"), QStringLiteral("-H"), QStringLiteral("12"),
                                              pdfPath});
    render.waitForFinished(30000);
    QImage strip;
    strip.loadFromData(render.readAllStandardOutput(), "PGM");
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < strip.width(); ++x) {
            if (qGray(strip.pixel(x, y)) < 128)
                return true;
        }
    }
    return false;
}
} // namespace

class TestHeaderFooter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void headingsOnTheirPages_data();
    void headingsOnTheirPages();
    void longTextsStayInTheMargins_data();
    void longTextsStayInTheMargins();
    void rightToLeftTitle_readsInLogicalOrder_data();
    void rightToLeftTitle_readsInLogicalOrder();
    void charactersOutsideTheFont_stillDrawn_data();
    void charactersOutsideTheFont_stillDrawn();
    void fontOfTheHeadings_data();
    void fontOfTheHeadings();
    void malformedInput_givesNothing_data();
    void malformedInput_givesNothing();
    void workerThreads_eachGetTheirOwnHeadings();
    void headingsAfterTheOriginalBytes_data();
    void headingsAfterTheOriginalBytes();
    void copiedObjects_keepTheirSharingAndCycles();
    void fontWithNamesOnly_stillDraws();
    void fontWithNamesOnly_refusesWhatItCannotRead_data();
    void fontWithNamesOnly_refusesWhatItCannotRead();

private:
    QString stamp(const QByteArray &source, const PageHeadings &headings, const QString &name);
    QString written(const std::optional<QByteArray> &pdf, const QString &name);

    QTemporaryDir m_dir;
    QByteArray m_a4;
    QByteArray m_letterLandscape;
};

void TestHeaderFooter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QMarginsF margins(10, 10, 10, 10);
    m_a4 = enginePdf(threePageHtml(), QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                                                  QPageLayout::Millimeter));
    m_letterLandscape = enginePdf(threePageHtml(), QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape,
                                                               margins, QPageLayout::Millimeter));
    QVERIFY(m_a4.startsWith("%PDF-"));
    QVERIFY(m_letterLandscape.startsWith("%PDF-"));
}

// The stamped PDF in a file for the tools; empty when there was no result.
QString TestHeaderFooter::stamp(const QByteArray &source, const PageHeadings &headings, const QString &name)
{
    return written(printing::addHeadersAndFooters(source, headings), name);
}

QString TestHeaderFooter::written(const std::optional<QByteArray> &pdf, const QString &name)
{
    const QString path = m_dir.filePath(name + u".pdf");
    QFile file(path);
    if (!pdf || !file.open(QIODevice::WriteOnly) || file.write(*pdf) != pdf->size())
        return {};
    return path;
}

void TestHeaderFooter::headingsOnTheirPages_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::newRow("A4 portrait") << false;
    QTest::newRow("Letter landscape") << true;
}

void TestHeaderFooter::headingsOnTheirPages()
{
    QFETCH(bool, landscape);
    const PageHeadings headings{QStringLiteral("Quarterly figures"), QStringLiteral("/srv/reports/q1 figures.htm"),
                                DateText};
    const QString pdf = stamp(landscape ? m_letterLandscape : m_a4, headings, QStringLiteral("pages"));
    QVERIFY(!pdf.isEmpty());
    QVERIFY(runTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n"))));

    for (int page = 1; page <= 3; ++page) {
        const QString text = pageText(pdf, page).simplified();
        QVERIFY2(text.contains(pageLabel(page)), qPrintable(text));
        QVERIFY2(!text.contains(pageLabel(page % 3 + 1)), qPrintable(text));
        QVERIFY2(text.contains(headings.title), qPrintable(text));
        QVERIFY2(text.contains(headings.address), qPrintable(text));
        QVERIFY2(text.contains(DateText), qPrintable(text));
        QVERIFY2(text.contains(u"Body of sheet " + QString::number(page)), qPrintable(text));

        const PageWords words = wordsOnPage(pdf, page);
        QVERIFY2((words.size.width() > words.size.height()) == landscape, "the page kept its orientation");
        const QString fault = checkHeadingsInMargins(words, pageLabel(page), DateText);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }
    // Text stays text: nothing on the pages became a picture.
    const QStringList images = runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                   .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(images.size(), 2);  // the listing's two heading lines, no image
}

void TestHeaderFooter::longTextsStayInTheMargins_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("titleLength");
    QTest::addColumn<int>("addressLength");

    QTest::newRow("long title, A4") << false << 500 << 40;
    QTest::newRow("long address, A4") << false << 20 << 2000;
    QTest::newRow("both, A4") << false << 500 << 2000;
    QTest::newRow("both, Letter landscape") << true << 500 << 2000;
}

void TestHeaderFooter::longTextsStayInTheMargins()
{
    QFETCH(bool, landscape);
    QFETCH(int, titleLength);
    QFETCH(int, addressLength);
    QString title;
    for (int i = 0; title.size() < titleLength; ++i)
        title += u"Word" + QString::number(i % 10) + u' ';
    title = title.left(titleLength).trimmed();
    const QString prefix = QStringLiteral("/home/reader/");
    const QString fileName = QStringLiteral("last-report.htm");
    QString folders;
    for (int i = 0; folders.size() < addressLength; ++i)
        folders += u"folder" + QString::number(i % 1000).rightJustified(3, u'0') + u'/';
    const QString address = prefix + folders.left(addressLength - prefix.size() - fileName.size()) + fileName;
    QCOMPARE(address.size(), addressLength);
    const QString pdf = stamp(landscape ? m_letterLandscape : m_a4, {title, address, DateText},
                              QStringLiteral("long"));
    QVERIFY(!pdf.isEmpty());

    for (int page = 1; page <= 3; ++page) {
        const PageWords words = wordsOnPage(pdf, page);
        const QString fault = checkHeadingsInMargins(words, pageLabel(page), DateText);
        QVERIFY2(fault.isEmpty(), qPrintable(u"page " + QString::number(page) + u": " + fault));

        // The title is cut at its end, the address in its middle.
        const QString top = bandText(words, true);
        QVERIFY2(top.startsWith(title.left(10)), qPrintable(top));
        QVERIFY2(top.contains(u"…") == (titleLength > 100), qPrintable(top));
        const QString bottom = bandText(words, false);
        QVERIFY2(bottom.startsWith(u"/home/reader/folder000"), qPrintable(bottom));
        QVERIFY2(bottom.endsWith(fileName + u' ' + DateText), qPrintable(bottom));
        QVERIFY2(bottom.contains(u"…") == (addressLength > 100), qPrintable(bottom));
    }
}

void TestHeaderFooter::rightToLeftTitle_readsInLogicalOrder_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("joined");
    QTest::newRow("Hebrew") << QStringLiteral("דוח שנתי לשנת העבודה") << false;
    QTest::newRow("Arabic") << QStringLiteral("التقرير السنوي للعمل") << true;
}

void TestHeaderFooter::rightToLeftTitle_readsInLogicalOrder()
{
    QFETCH(QString, title);
    QFETCH(bool, joined);
    const QString pdf = stamp(m_a4, {title, QStringLiteral("/tmp/rtl.htm"), DateText}, QStringLiteral("rtl"));
    QVERIFY(!pdf.isEmpty());
    const QString text = withoutBidiMarks(pageText(pdf, 1));
    // Arabic letters are drawn in their joined shapes, which come back as
    // the presentation forms; compatibility folding gives the letters again.
    static const QRegularExpression presentationForms(QStringLiteral("[\\x{FE70}-\\x{FEFF}]"));
    QCOMPARE(text.contains(presentationForms), joined);
    QVERIFY2(text.normalized(QString::NormalizationForm_KC).contains(title), qPrintable(text));
}

void TestHeaderFooter::charactersOutsideTheFont_stillDrawn_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("Chinese") << QStringLiteral("年度报告 Annual");
    QTest::newRow("Japanese") << QStringLiteral("年次報告書 ひらがな");
}

void TestHeaderFooter::charactersOutsideTheFont_stillDrawn()
{
    QFETCH(QString, title);
    const QString pdf = stamp(m_a4, {title, QStringLiteral("/tmp/fallback.htm"), DateText}, QStringLiteral("fallback"));
    QVERIFY(!pdf.isEmpty());
    const QString text = pageText(pdf);
    for (const QString &part : title.split(u' '))
        QVERIFY2(text.contains(part), qPrintable(text));
}

// Texts in Latin script are written in the standard font every reader
// has, with nothing embedded; a text with any character outside its
// encoding is drawn by Qt in one font that has all of them, embedded with
// its names only. Either way the title reads back exactly and is drawn.
void TestHeaderFooter::fontOfTheHeadings_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("embedded");
    QTest::newRow("plain Latin") << QStringLiteral("Quarterly figures") << 0;
    QTest::newRow("accents and typography") << QStringLiteral("Œuvres complètes — “Café” à 10 € ™ ‰ ß") << 0;
    QTest::newRow("the PDF's own syntax") << QStringLiteral("a (b)) \\ <c> % /d [e] {f} endstream") << 0;
    QTest::newRow("Greek") << QStringLiteral("Ετήσια έκθεση") << 1;
    QTest::newRow("soft hyphen") << QStringLiteral("Quarter\u00ADly report") << 1;
    QTest::newRow("combining accent") << QStringLiteral("Cafe\u0301 report") << 1;
    QTest::newRow("Hebrew and a space") << QStringLiteral("דוח שנתי") << 1;
    QTest::newRow("Chinese and Latin") << QStringLiteral("年度报告 Annual") << 1;
}

void TestHeaderFooter::fontOfTheHeadings()
{
    QFETCH(QString, title);
    QFETCH(int, embedded);
    const QString pdf = stamp(m_a4, {title, QStringLiteral("/tmp/font test.htm"), DateText}, QStringLiteral("font"));
    QVERIFY(!pdf.isEmpty());
    // A soft hyphen is drawn only where a line breaks, and headings never do;
    // a letter and its accent may be drawn as one glyph of the accented letter.
    const QString shown = QString(title).remove(u'\u00AD').normalized(QString::NormalizationForm_C);
    for (int page = 1; page <= 3; ++page) {
        const QString text = withoutBidiMarks(pageText(pdf, page)).normalized(QString::NormalizationForm_C);
        QVERIFY2(text.contains(shown), qPrintable(text));
        QVERIFY2(text.contains(pageLabel(page)), qPrintable(text));
    }
    // pdffonts: two heading lines, then one line per font, its name first.
    const auto fontNames = [](const QString &path) {
        QStringList names;
        for (const QString &line : runTool(QStringLiteral("pdffonts"), {path}).split(u'\n', Qt::SkipEmptyParts).mid(2))
            names << line.section(u' ', 0, 0);
        return names;
    };
    const QStringList engineFonts = fontNames(written(m_a4, QStringLiteral("engine")));
    QVERIFY(!engineFonts.isEmpty());
    QStringList added = fontNames(pdf);
    added.removeIf([&](const QString &name) { return engineFonts.contains(name); });
    // The page labels are always in the standard font.
    QVERIFY2(added.removeAll(QStringLiteral("Helvetica")) == 1, qPrintable(added.join(u' ')));
    QCOMPARE(added.size(), embedded);
    QVERIFY2(titleIsDrawn(pdf), "nothing drawn where the title stands");
}

void TestHeaderFooter::malformedInput_givesNothing_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("plain text") << QByteArray("Not a PDF at all, only words.\n");
    QTest::newRow("header only") << QByteArray("%PDF-1.7\n");
    QTest::newRow("cut after the header") << m_a4.left(200);
    QTest::newRow("no pages") << QByteArray("%PDF-1.4\n1 0 obj <</Type /Catalog /Pages 2 0 R>> endobj\n"
                                            "2 0 obj <</Type /Pages /Kids [] /Count 0>> endobj\n"
                                            "trailer <</Root 1 0 R>>\n%%EOF\n");
    QTest::newRow("page without a size") << QByteArray("%PDF-1.4\n1 0 obj <</Type /Catalog /Pages 2 0 R>> endobj\n"
                                                       "2 0 obj <</Type /Pages /Kids [3 0 R] /Count 1>> endobj\n"
                                                       "3 0 obj <</Type /Page /Parent 2 0 R>> endobj\n"
                                                       "trailer <</Root 1 0 R>>\n%%EOF\n");
}

void TestHeaderFooter::malformedInput_givesNothing()
{
    QFETCH(QByteArray, input);
    QVERIFY(!printing::addHeadersAndFooters(input, {QStringLiteral("t"), QStringLiteral("a"), DateText}));
}

void TestHeaderFooter::workerThreads_eachGetTheirOwnHeadings()
{
    // Half the titles are drawn by Qt with a font looked up for them, half
    // are written in the standard font, all at once.
    const QStringList stems{QStringLiteral("Thread title "), QStringLiteral("线程标题 ")};
    const auto title = [&stems](int i) { return stems.at(i % 2) + QString::number(i); };
    std::vector<std::future<std::optional<QByteArray>>> results;
    for (int i = 0; i < 8; ++i) {
        const PageHeadings headings{title(i), QStringLiteral("/tmp/t.htm"), DateText};
        results.push_back(std::async(std::launch::async, [this, headings] {
            return printing::addHeadersAndFooters(m_a4, headings);
        }));
    }
    for (int i = 0; i < 8; ++i) {
        const QString pdf = written(results[size_t(i)].get(), u"thread" + QString::number(i));
        QVERIFY(!pdf.isEmpty());
        const QString text = pageText(pdf);
        QVERIFY2(text.count(title(i)) == 3, qPrintable(text));
    }
}

void TestHeaderFooter::headingsAfterTheOriginalBytes_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("appended");
    const QString latin = QStringLiteral("Report (final) \\ 100 %");
    const QString hebrew = QStringLiteral("דוח שנתי");
    QTest::newRow("the engine's PDF") << m_a4 << latin << true;
    QTest::newRow("the engine's PDF, a drawn title") << m_a4 << hebrew << true;
    QTest::newRow("resources inherited and shared") << inheritedAndSharedResources() << latin << true;
    QTest::newRow("inherited and shared, a drawn title") << inheritedAndSharedResources() << hebrew << true;
    QTest::newRow("cross-references in a stream") << withCrossReferenceStream(m_a4) << latin << false;
    QTest::newRow("cross-references in a stream, a drawn title") << withCrossReferenceStream(m_a4) << hebrew << false;
    QTest::newRow("a file qpdf has to repair") << withStrayTableOffset(m_a4) << latin << false;
}

// The headings are appended to the PDF as it came wherever the file allows
// it, the fonts Qt drew with copied into the update, and written with the
// whole file where it does not; either way every page carries its own
// headings and the result reads cleanly.
void TestHeaderFooter::headingsAfterTheOriginalBytes()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, title);
    QFETCH(bool, appended);
    const PageHeadings headings{title, QStringLiteral("/tmp/report.htm"), DateText};
    const std::optional<QByteArray> result = printing::addHeadersAndFooters(source, headings);
    QVERIFY(result);
    QCOMPARE(result->startsWith(source), appended);
    QVERIFY(readsCleanly(*result));
    const QString pdf = written(result, QStringLiteral("appended"));
    for (int page = 1; page <= 3; ++page) {
        const QString text = withoutBidiMarks(pageText(pdf, page)).simplified();
        QVERIFY2(text.contains(pageLabel(page)) && !text.contains(pageLabel(page % 3 + 1)), qPrintable(text));
        QVERIFY2(text.contains(headings.title) && text.contains(DateText), qPrintable(text));
        QVERIFY2(text.contains(u"Body of sheet " + QString::number(page)), qPrintable(text));
    }
    QVERIFY2(titleIsDrawn(pdf), "nothing drawn where the title stands");
}

// Objects of another PDF go into an update once each, however often they
// are referred to, and a cycle of references ends.
void TestHeaderFooter::copiedObjects_keepTheirSharingAndCycles()
{
    const QByteArray foreignBytes("%PDF-1.4\n"
                                  "1 0 obj << /Self 1 0 R /Font 2 0 R /Again 2 0 R /Data 3 0 R /Name /A#20b >> endobj\n"
                                  "2 0 obj << /Type /Font /Back 1 0 R /Text (a \\) b) >> endobj\n"
                                  "3 0 obj << /Length 5 >> stream\nhello\nendstream endobj\n"
                                  "trailer << /Root 1 0 R >>\n");
    QPDF foreign;
    foreign.setSuppressWarnings(true);
    foreign.processMemoryFile("foreign", foreignBytes.constData(), size_t(foreignBytes.size()));
    QPDF target;
    target.processMemoryFile("target", m_a4.constData(), size_t(m_a4.size()));
    std::optional<printing::PdfUpdate> update = printing::PdfUpdate::of(m_a4, target);
    QVERIFY(update);
    const int first = update->copied(foreign.getObjectByID(1, 0));
    QCOMPARE(update->copied(foreign.getObjectByID(1, 0)), first);
    const int font = update->copied(foreign.getObjectByID(2, 0));
    const QByteArray result = update->written();
    QVERIFY(result.startsWith(m_a4));
    QVERIFY(readsCleanly(result));

    QPDF read;
    read.processMemoryFile("result", result.constData(), size_t(result.size()));
    QPDFObjectHandle copy = read.getObjectByID(first, 0);
    QCOMPARE(copy.getKey("/Self").getObjGen(), copy.getObjGen());
    QCOMPARE(copy.getKey("/Font").getObjGen().getObj(), font);
    QCOMPARE(copy.getKey("/Again").getObjGen().getObj(), font);
    QCOMPARE(copy.getKey("/Font").getKey("/Back").getObjGen(), copy.getObjGen());
    QCOMPARE(copy.getKey("/Font").getKey("/Text").getUTF8Value(), std::string("a ) b"));
    QCOMPARE(copy.getKey("/Name").getName(), std::string("/A b"));
    QCOMPARE(printing::bytesOf(*copy.getKey("/Data").getStreamData()), QByteArray("hello"));
}

QByteArray fontFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString HebrewFontPath = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// The naming table goes, the names and every glyph stay.
void TestHeaderFooter::fontWithNamesOnly_stillDraws()
{
    const QByteArray original = fontFile(HebrewFontPath);
    QVERIFY(!original.isEmpty());
    const std::optional<QByteArray> cut = printing::withNamesOnly(original);
    QVERIFY(cut);
    QVERIFY2(cut->size() < original.size() - 4000, qPrintable(QString::number(cut->size())));
    const QRawFont font(*cut, 12);
    QVERIFY(font.isValid());
    QCOMPARE(font.familyName(), QStringLiteral("DejaVu Sans"));
    const QRawFont before(original, 12);
    const QString text = QStringLiteral("אבג Abc 123");
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    QCOMPARE(glyphs, before.glyphIndexesForString(text));
    for (const quint32 glyph : glyphs)
        QCOMPARE(font.pathForGlyph(glyph).boundingRect(), before.pathForGlyph(glyph).boundingRect());
}

void TestHeaderFooter::fontWithNamesOnly_refusesWhatItCannotRead_data()
{
    QTest::addColumn<QByteArray>("font");
    const QByteArray real = fontFile(HebrewFontPath);
    QByteArray pastTheEnd = real;
    pastTheEnd.replace(12 + 12, 4, QByteArray("\x7f\xff\xff\xff", 4));  // the first table's length
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not a font") << QByteArray("%PDF-1.4 and more bytes than a header");
    QTest::newRow("a font of outlines in another format") << QByteArray("OTTO").append(real.mid(4));
    QTest::newRow("the directory cut short") << real.left(40);
    QTest::newRow("a table past the end") << pastTheEnd;
}

void TestHeaderFooter::fontWithNamesOnly_refusesWhatItCannotRead()
{
    QFETCH(QByteArray, font);
    QVERIFY(!printing::withNamesOnly(font));
}

int main(int argc, char **argv)
{
    // The engine asks for this before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    TestHeaderFooter test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_headerfooter.moc"
