// SPDX-License-Identifier: GPL-3.0-or-later
#include "headerfooter.h"
#include "fontnames.h"

#include "core/printsink.h"

#include "core/messagetext.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QTextLayout>

// The headings become forms drawn on top of the engine's pages: both stay
// text, nothing is rasterised. Texts in Latin script are a few text
// operators in a standard font; a text in any other script is drawn by Qt
// into a PDF of its own, whose pages become forms too, so that Qt shapes it,
// orders it for its direction and embeds the font it needs. The PDF library
// lays them over the pages.
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace printing {

namespace {

using core::oneLine;

constexpr double PointsPerMm = 72.0 / 25.4;
// The engine prints every page with the print layout's margins; the
// headings stay in them.
constexpr double MarginMm = core::PrintMarginMm;
constexpr double TopBaselineMm = 6.0;     // below the top edge
constexpr double BottomBaselineMm = 5.0;  // above the bottom edge
constexpr double SideGapMm = 5.0;         // the least space between a left and a right text
constexpr double FontPt = 8.0;
// More characters than any heading line shows at that size, even on the
// widest paper.
constexpr qsizetype MostCharactersShown = 2000;

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

QPageLayout headingPageLayout(const QSizeF &points)
{
    // Qt describes a page size upright; a wide page is an upright size
    // turned on its side.
    const bool wide = points.width() > points.height();
    const QSizeF tall = wide ? points.transposed() : points;
    return QPageLayout(QPageSize(tall, QPageSize::Point, QString(), QPageSize::ExactMatch),
                       wide ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

// Headings need no font of their own in the job where the standard font
// can write them. Every PDF reader and printer has Helvetica, one of the
// fonts the PDF standard guarantees, and Liberation Sans, in which such
// texts are measured, has its widths; a text written in it is a few dozen
// bytes of text in the page, where a font embedded anew in every job, and
// the map back from its glyphs to the characters, would add several
// kilobytes to a small job and most of the headings' processor time. Only
// the texts the standard font cannot write, a Hebrew title say, are drawn
// by Qt, which shapes them, orders them for their direction and embeds the
// fonts they need; the page labels, the address and the date stay in the
// standard font beside them.

// The byte that stands for `c` in the standard Latin text encoding
// (WinAnsiEncoding), or nothing. Only characters that read back as
// themselves are taken: a soft hyphen or a no-break space might be
// extracted as something else than what the title says.
std::optional<char> winAnsiByte(char16_t c)
{
    if ((c >= 0x20 && c <= 0x7e) || (c >= 0xa1 && c <= 0xff && c != 0xad))
        return char(c);
    // 0x80 to 0x9f: the typographic characters the encoding puts where
    // Latin-1 has controls.
    static constexpr char16_t Extra[32] = {
        0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
        0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};
    for (int i = 0; i < 32; ++i) {
        if (Extra[i] != 0 && Extra[i] == c)
            return char(0x80 + i);
    }
    return std::nullopt;
}

// `text` as a PDF hex string in that encoding, or nothing when a character
// has no place in it. Hex leaves nothing in a title to escape.
std::optional<QByteArray> winAnsiHex(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const std::optional<char> byte = winAnsiByte(c.unicode());
        if (!byte)
            return std::nullopt;
        bytes += *byte;
    }
    return '<' + bytes.toHex() + '>';
}

bool inStandardFont(const QString &text)
{
    return winAnsiHex(text).has_value();
}

// The font Qt draws `text` in. Where the headings' font lacks some of its
// characters, Qt takes them from fallback fonts and keeps the spaces and
// digits in its own, so the job would carry two fonts, each with its map
// back to the text. When one fallback font has every character of the
// text, the whole text is drawn in it: one font, and fewer bytes.
QFont drawnFont(const QString &text)
{
    const QFont font = headingFont();
    // The font is chosen by what a heading line can show: a page's title
    // may run to megabytes, and laying all of it out would take seconds.
    // A character further on that the font lacks still gets drawn, from a
    // fallback of Qt's own.
    QString start = text.left(MostCharactersShown);
    if (!start.isEmpty() && start.back().isHighSurrogate())
        start.chop(1);
    QTextLayout layout(start, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<uint> characters = start.toUcs4();
    for (const QGlyphRun &run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        if (raw.familyName() == font.family())
            continue;
        if (std::all_of(characters.begin(), characters.end(), [&raw](uint c) { return raw.supportsCharacter(c); })) {
            QFont fallback = font;
            fallback.setFamily(raw.familyName());
            fallback.setStyleName(raw.styleName());
            return fallback;
        }
    }
    return font;
}

// Each text measured in the font it is written in: the standard font,
// measured in Liberation Sans without kerning, which a standard font's text
// does not get, or the font Qt draws it with. Both at 72 dots an inch, so
// that one device unit is one point.
class HeadingMetrics {
public:
    HeadingMetrics()
        : m_device(&m_nowhere)
    {
        m_nowhere.open(QIODevice::WriteOnly);
        m_device.setResolution(72);
        QFont standard = headingFont();
        standard.setKerning(false);
        m_standard.emplace(standard, &m_device);
    }
    const QFontMetricsF &of(const QString &text) { return inStandardFont(text) ? *m_standard : drawn(text).metrics; }
    // The font Qt draws a text in that the standard font cannot write.
    QFont fontOf(const QString &text) { return drawn(text).font; }

private:
    struct Drawn {
        QFont font;
        QFontMetricsF metrics;
    };
    const Drawn &drawn(const QString &text)
    {
        auto found = m_drawn.find(text);
        if (found == m_drawn.end()) {
            const QFont font = drawnFont(text);
            found = m_drawn.emplace(text, Drawn{font, QFontMetricsF(font, &m_device)}).first;
        }
        return found->second;
    }

    QBuffer m_nowhere;
    QPdfWriter m_device;
    std::optional<QFontMetricsF> m_standard;
    std::map<QString, Drawn> m_drawn;
};

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

// One text of the headings where it stands: its baseline's left end, in
// points from the page's top left, and whether the standard font writes it.
struct PlacedText {
    QPointF at;
    QString text;
    bool standard = true;
    QFont drawnIn;  // the font Qt draws it in, when not standard
};
using PageTexts = std::vector<PlacedText>;

// `text` cut to `width` as the font that writes it measures it; the
// ellipsis is in both fonts, so a cut text stays in the font it was
// measured in.
PlacedText fitted(HeadingMetrics &metrics, const QString &text, Qt::TextElideMode elide, double width)
{
    const bool standard = inStandardFont(text);
    return {QPointF(0, 0), metrics.of(text).elidedText(text, elide, width), standard,
            standard ? QFont() : metrics.fontOf(text)};
}

void placeLine(PageTexts &texts, HeadingMetrics &metrics, double pageWidth, const HeadingLine &line)
{
    const double margin = MarginMm * PointsPerMm;
    const double lineWidth = pageWidth - 2 * margin;
    const double gap = SideGapMm * PointsPerMm;
    const double rightMax = std::max(0.0, (lineWidth - gap) / 2);
    const double leftMax = std::max(0.0, lineWidth - gap - std::min(line.rightWidth, rightMax));

    PlacedText right = fitted(metrics, line.right, Qt::ElideRight, rightMax);
    if (!right.text.isEmpty()) {
        right.at = QPointF(margin + lineWidth - metrics.of(line.right).horizontalAdvance(right.text), line.baseline);
        texts.push_back(std::move(right));
    }
    PlacedText left = fitted(metrics, line.left, line.leftElide, leftMax);
    if (!left.text.isEmpty()) {
        left.at = QPointF(margin, line.baseline);
        texts.push_back(std::move(left));
    }
}

// The texts of every page.
std::vector<PageTexts> placeHeadings(const std::vector<QSizeF> &sizes, const PageHeadings &headings)
{
    HeadingMetrics metrics;
    const int count = int(sizes.size());
    // The title keeps one width on every page, whatever the page number's width.
    double labelWidth = 0;
    for (int number = 1; number <= count; ++number) {
        const QString label = pageLabel(number, count);
        labelWidth = std::max(labelWidth, metrics.of(label).horizontalAdvance(label));
    }
    HeadingLine top{TopBaselineMm * PointsPerMm, oneLine(headings.title), Qt::ElideRight, {}, labelWidth};
    const QString date = oneLine(headings.dateText);
    HeadingLine bottom{0, oneLine(headings.address), Qt::ElideMiddle, date, metrics.of(date).horizontalAdvance(date)};

    std::vector<PageTexts> pages(sizes.size());
    for (int i = 0; i < count; ++i) {
        const QSizeF &page = sizes[size_t(i)];
        top.right = pageLabel(i + 1, count);
        bottom.baseline = page.height() - BottomBaselineMm * PointsPerMm;
        placeLine(pages[size_t(i)], metrics, page.width(), top);
        placeLine(pages[size_t(i)], metrics, page.width(), bottom);
    }
    return pages;
}

bool anyDrawn(const std::vector<PageTexts> &pages)
{
    return std::any_of(pages.begin(), pages.end(), [](const PageTexts &texts) {
        return std::any_of(texts.begin(), texts.end(), [](const PlacedText &placed) { return !placed.standard; });
    });
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 3);
}

// The drawing of one page's texts in the standard font: black, in
// Helvetica under the resource name /Hd, in the form's space whose origin
// is the page's bottom left.
QByteArray standardFontContent(const PageTexts &texts, double pageHeight)
{
    QByteArray content = "0 g BT /Hd " + number(FontPt) + " Tf\n";
    for (const PlacedText &placed : texts) {
        if (!placed.standard)
            continue;
        if (const std::optional<QByteArray> hex = winAnsiHex(placed.text))
            content += "1 0 0 1 " + number(placed.at.x()) + ' ' + number(pageHeight - placed.at.y()) + " Tm " + *hex
                + " Tj\n";
    }
    return content + "ET\n";
}

std::vector<QByteArray> standardFontContents(const std::vector<QSizeF> &sizes, const std::vector<PageTexts> &pages)
{
    std::vector<QByteArray> contents;
    for (size_t i = 0; i < sizes.size(); ++i)
        contents.push_back(standardFontContent(pages[i], sizes[i].height()));
    return contents;
}

const char *const StandardFont = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>";

// A PDF with one page for each page size, the same sizes in the same
// order, on which Qt drew the texts the standard font cannot write, with
// the fonts it embeds; nothing when Qt cannot paint on a PDF.
std::optional<QByteArray> drawHeadings(const std::vector<QSizeF> &sizes, const std::vector<PageTexts> &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    // One device unit is one point, as in the engine's PDF.
    writer.setResolution(72);
    writer.setPageLayout(headingPageLayout(sizes.front()));
    QPainter painter;
    if (!painter.begin(&writer))
        return std::nullopt;
    painter.setPen(Qt::black);
    // Each text takes its own direction from its first strong character, so
    // a Hebrew title reads right to left whatever the user's language.
    painter.setLayoutDirection(Qt::LayoutDirectionAuto);
    for (size_t i = 0; i < sizes.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(headingPageLayout(sizes[i]));
            writer.newPage();
        }
        for (const PlacedText &placed : pages[i]) {
            if (!placed.standard) {
                painter.setFont(placed.drawnIn);
                painter.drawText(placed.at, placed.text);
            }
        }
    }
    painter.end();
    return bytes;
}

} // namespace

bool addHeadersAndFooters(PdfDocument &document, const PageHeadings &headings)
{
    const std::optional<std::vector<QSizeF>> sizes = document.viewedPageSizes();
    if (!sizes)
        return false;
    const std::vector<PageTexts> texts = placeHeadings(*sizes, headings);
    PageOverlay overlay{"/Hd", StandardFont, standardFontContents(*sizes, texts), {}, {}};
    if (anyDrawn(texts)) {
        std::optional<QByteArray> drawn = drawHeadings(*sizes, texts);
        if (!drawn)
            return false;
        overlay.drawn = std::move(*drawn);
        // See fontnames.h.
        overlay.trimFont = withNamesOnly;
    }
    return document.layOver(std::move(overlay));
}

std::optional<QByteArray> addHeadersAndFooters(const QByteArray &pdf, const PageHeadings &headings)
{
    std::optional<PdfDocument> document = PdfDocument::read(pdf);
    if (!document || !addHeadersAndFooters(*document, headings))
        return std::nullopt;
    return document->bytes();
}

QString runStartText(const QDateTime &start, const QLocale &locale)
{
    return locale.toString(start, QLocale::ShortFormat);
}

} // namespace printing
