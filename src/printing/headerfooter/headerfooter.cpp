#include "headerfooter.h"
#include "printing/pagerange/pdfbytes.h"

#include "core/printsink.h"

#include "core/messagetext.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

// Laying one PDF page over another goes through qpdf: a maintained library
// that reads whatever the engine writes (compressed object streams and
// cross-reference streams, files it has to repair) and writes a sound PDF
// again, so not a line of PDF syntax is written by hand here. Qt draws the
// headings into a PDF of their own, whose pages become form XObjects drawn
// on top of the engine's pages: both stay text, nothing is rasterised.
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

namespace printing {

namespace {

using platform::oneLine;

constexpr double PointsPerMm = 72.0 / 25.4;
// The engine prints every page with the print layout's margins; the
// headings stay in them.
constexpr double MarginMm = platform::PrintMarginMm;
constexpr double TopBaselineMm = 6.0;     // below the top edge
constexpr double BottomBaselineMm = 5.0;  // above the bottom edge
constexpr double SideGapMm = 5.0;         // the least space between a left and a right text
constexpr double FontPt = 8.0;

QString pageLabel(int number, int count)
{
    return QStringLiteral("Page %1 of %2").arg(number).arg(count);
}


QFont headingFont()
{
    // Liberation Sans is narrow enough for long titles, installed with the
    // program, and draws no ligatures: an "fi" drawn as one glyph would come
    // back from the PDF as the ligature character, and a search for the word
    // would miss it. Characters it lacks come from fontconfig's fallbacks.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif, QFont::PreferOutline);
    font.setPointSizeF(FontPt);
    // Unhinted, so the widths measured here are the widths the PDF gets.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// Each page as a reader sees it, rotation and user unit applied, in points;
// nothing when a page has no usable size.
std::optional<std::vector<QSizeF>> viewedPageSizes(std::vector<QPDFPageObjectHelper> &pages)
{
    std::vector<QSizeF> sizes;
    for (QPDFPageObjectHelper &page : pages) {
        QPDFObjectHandle box = page.getTrimBox();
        if (!box.isRectangle())
            return std::nullopt;
        const QPDFObjectHandle::Rectangle rect = box.getArrayAsRectangle();
        QPDFObjectHandle unitKey = page.getObjectHandle().getKey("/UserUnit");
        const double unit = unitKey.isNumber() && unitKey.getNumericValue() > 0 ? unitKey.getNumericValue() : 1.0;
        const double width = std::abs(rect.urx - rect.llx) * unit;
        const double height = std::abs(rect.ury - rect.lly) * unit;
        if (!(width >= 1 && height >= 1))
            return std::nullopt;
        QPDFObjectHandle rotateKey = page.getAttribute("/Rotate", false);
        const long long rotate = rotateKey.isInteger() ? rotateKey.getIntValue() : 0;
        const bool sideways = ((rotate % 180) + 180) % 180 == 90;
        sizes.push_back(sideways ? QSizeF(height, width) : QSizeF(width, height));
    }
    if (sizes.empty())
        return std::nullopt;
    return sizes;
}

QPageLayout layoutFor(const QSizeF &points)
{
    // Qt describes a page size upright; a wide page is an upright size
    // turned on its side.
    const bool wide = points.width() > points.height();
    const QSizeF tall = wide ? points.transposed() : points;
    return QPageLayout(QPageSize(tall, QPageSize::Point, QString(), QPageSize::ExactMatch),
                       wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

// One line of the headings: a text at the left margin that yields, and a
// short text at the right margin that keeps `rightWidth` for itself (never
// more than half the line), with a gap between them so they cannot touch.
struct HeadingLine {
    double baseline = 0;
    QString left;
    Qt::TextElideMode leftElide = Qt::ElideRight;
    QString right;
    double rightWidth = 0;
};

void drawLine(QPainter &painter, const QFontMetricsF &metrics, double pageWidth, const HeadingLine &line)
{
    const double margin = MarginMm * PointsPerMm;
    const double lineWidth = pageWidth - 2 * margin;
    const double gap = SideGapMm * PointsPerMm;
    const double rightMax = std::max(0.0, (lineWidth - gap) / 2);
    const double leftMax = std::max(0.0, lineWidth - gap - std::min(line.rightWidth, rightMax));

    const QString right = metrics.elidedText(line.right, Qt::ElideRight, rightMax);
    if (!right.isEmpty())
        painter.drawText(QPointF(margin + lineWidth - metrics.horizontalAdvance(right), line.baseline), right);
    const QString left = metrics.elidedText(line.left, line.leftElide, leftMax);
    if (!left.isEmpty())
        painter.drawText(QPointF(margin, line.baseline), left);
}

// A PDF with one page of headings for each page size, the same sizes in
// the same order; nothing when Qt cannot paint on a PDF.
std::optional<QByteArray> drawHeadings(const std::vector<QSizeF> &sizes, const PageHeadings &headings)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    // One device unit is one point, as in the engine's PDF.
    writer.setResolution(72);
    writer.setPageLayout(layoutFor(sizes.front()));
    QPainter painter;
    if (!painter.begin(&writer))
        return std::nullopt;
    painter.setFont(headingFont());
    painter.setPen(Qt::black);
    // Each text takes its own direction from its first strong character, so
    // a Hebrew title reads right to left whatever the user's language.
    painter.setLayoutDirection(Qt::LayoutDirectionAuto);

    const int count = int(sizes.size());
    const QFontMetricsF metrics(painter.font(), painter.device());
    // The title keeps one width on every page, whatever the page number's width.
    double labelWidth = 0;
    for (int number = 1; number <= count; ++number)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(pageLabel(number, count)));
    HeadingLine top{TopBaselineMm * PointsPerMm, oneLine(headings.title), Qt::ElideRight, {}, labelWidth};
    const QString date = oneLine(headings.dateText);
    HeadingLine bottom{0, oneLine(headings.address), Qt::ElideMiddle, date, metrics.horizontalAdvance(date)};

    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutFor(sizes[size_t(i)]));
            writer.newPage();
        }
        const QSizeF &page = sizes[size_t(i)];
        top.right = pageLabel(i + 1, count);
        bottom.baseline = page.height() - BottomBaselineMm * PointsPerMm;
        drawLine(painter, metrics, page.width(), top);
        drawLine(painter, metrics, page.width(), bottom);
    }
    painter.end();
    return bytes;
}

// Makes a change to a page's /XObject resources touch that page alone, even
// when the engine shares one resource dictionary between pages.
QPDFObjectHandle ownXObjects(QPDFPageObjectHelper &page)
{
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    return resources;
}

void layOver(QPDF &target, QPDFPageObjectHelper &page, QPDFObjectHandle form)
{
    QPDFObjectHandle resources = ownXObjects(page);
    int suffix = 0;
    const std::string name = resources.getUniqueResourceName("/Fx", suffix);
    resources.getKey("/XObject").replaceKey(name, form);
    // Turned and scaled back when the page itself is rotated or uses a user
    // unit, so the headings stand upright where the reader sees the page.
    const std::string placement =
        page.placeFormXObject(form, name, page.getTrimBox().getArrayAsRectangle(), true, true, true);
    // The engine's drawing goes inside its own q ... Q, so no transformation
    // or colour it leaves set can move or tint the headings.
    page.addPageContents(target.newStream("q\n"), true);
    page.addPageContents(target.newStream("\nQ\n" + placement), false);
}

} // namespace

std::optional<QByteArray> addHeadersAndFooters(const QByteArray &pdf, const PageHeadings &headings)
{
    try {
        QPDF target;
        target.setSuppressWarnings(true);
        target.processMemoryFile("engine PDF", pdf.constData(), size_t(pdf.size()));
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(target).getAllPages();
        const std::optional<std::vector<QSizeF>> sizes = viewedPageSizes(pages);
        if (!sizes)
            return std::nullopt;
        const std::optional<QByteArray> drawn = drawHeadings(*sizes, headings);
        if (!drawn)
            return std::nullopt;

        // Lives until the result is written: copied forms read their data from it then.
        QPDF overlay;
        overlay.setSuppressWarnings(true);
        overlay.processMemoryFile("headings", drawn->constData(), size_t(drawn->size()));
        std::vector<QPDFPageObjectHelper> headingPages = QPDFPageDocumentHelper(overlay).getAllPages();
        if (headingPages.size() != pages.size())
            return std::nullopt;
        for (size_t i = 0; i < pages.size(); ++i)
            layOver(target, pages[i], target.copyForeignObject(headingPages[i].getFormXObjectForPage()));
        return pdfBytes(target);
    } catch (const std::exception &) {
        // qpdf reports a file it cannot read, or repair, by throwing.
        return std::nullopt;
    }
}

QString runStartText(const QDateTime &start, const QLocale &locale)
{
    return locale.toString(start, QLocale::ShortFormat);
}

} // namespace printing
