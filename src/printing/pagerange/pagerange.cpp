// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagerange.h"
#include "core/reasontext.h"
#include "pdfbytes.h"

#include <QRegularExpression>
#include <QStringList>

// Pages are taken out with qpdf, as the headings are laid on with it: the
// engine's streams are copied as they are, so what is left stays text.
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <vector>

namespace printing {

namespace {

// A page number as written, when it is one: ASCII digits only (the parser
// has already made sure of that), no larger than an int, and below the value
// that stands for "to the end" so no written number can be mistaken for it.
std::optional<int> pageNumber(QStringView digits)
{
    bool ok = false;
    const int number = digits.toInt(&ok);
    if (!ok || number < 1 || number >= PageRanges::ToTheEnd)
        return std::nullopt;
    return number;
}

std::optional<PageRanges::Range> parseRange(const QString &item)
{
    // Digits spelled out as [0-9]: \d would take other scripts' digits too,
    // which no print system reads as page numbers.
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]+)\\s*(?:(-)\\s*([0-9]*)\\s*)?$"));
    const QRegularExpressionMatch match = form.match(item);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<int> first = pageNumber(match.capturedView(1));
    if (!first)
        return std::nullopt;
    if (!match.hasCaptured(2))
        return PageRanges::Range{*first, *first};
    if (match.capturedView(3).isEmpty())
        return PageRanges::Range{*first, PageRanges::ToTheEnd};
    const std::optional<int> last = pageNumber(match.capturedView(3));
    if (!last || *last < *first)
        return std::nullopt;
    return PageRanges::Range{*first, *last};
}

QString rangeText(const PageRanges::Range &range)
{
    if (range.last == PageRanges::ToTheEnd)
        return QString::number(range.first) + u'-';
    if (range.first == range.last)
        return QString::number(range.first);
    return QString::number(range.first) + u'-' + QString::number(range.last);
}

} // namespace

QString PageRanges::text() const
{
    QStringList parts;
    for (const Range &range : ranges)
        parts << rangeText(range);
    return parts.join(u',');
}

bool PageRanges::contains(int page) const
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [page](const Range &range) { return range.first <= page && page <= range.last; });
}

std::optional<PageRanges> parsePageRanges(const QString &text)
{
    PageRanges result;
    // Empty items are kept so that "1,,3" and "1-3," are refused, not tidied.
    for (const QString &item : text.split(u',', Qt::KeepEmptyParts)) {
        const std::optional<PageRanges::Range> range = parseRange(item);
        if (!range)
            return std::nullopt;
        result.ranges.append(*range);
    }
    return result;
}

SelectedPages selectPages(const QByteArray &pdf, const PageRanges &ranges)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("document", pdf.constData(), size_t(pdf.size()));
        QPDFPageDocumentHelper pageTree(document);
        const std::vector<QPDFPageObjectHelper> pages = pageTree.getAllPages();
        std::vector<QPDFPageObjectHelper> unwanted;
        for (size_t i = 0; i < pages.size(); ++i) {
            if (!ranges.contains(int(i) + 1))
                unwanted.push_back(pages[i]);
        }
        if (unwanted.size() == pages.size())
            return {
                {},
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "no page of it is in the range %1")).arg(ranges.text())};
        // Writing again costs more than reading; a document printed whole
        // goes out as it came.
        if (unwanted.empty())
            return {pdf, {}};
        for (const QPDFPageObjectHelper &page : unwanted)
            pageTree.removePage(page);
        return {pdfBytes(document), {}};
    } catch (const std::exception &) {
        // qpdf reports a file it cannot read, or repair, by throwing.
        return {{}, core::reasonText(QT_TRANSLATE_NOOP("Reason", "its PDF could not be read"))};
    }
}

int pageCount(const QByteArray &pdf)
{
    try {
        QPDF document;
        document.setSuppressWarnings(true);
        document.processMemoryFile("document", pdf.constData(), size_t(pdf.size()));
        return int(QPDFPageDocumentHelper(document).getAllPages().size());
    } catch (const std::exception &) {
        return 0;
    }
}

QByteArray pdfBytes(QPDF &pdf)
{
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.setDecodeLevel(qpdf_dl_none);
    writer.write();
    return bytesOf(*writer.getBufferSharedPointer());
}

QByteArray bytesOf(const Buffer &buffer)
{
    return QByteArray(reinterpret_cast<const char *>(buffer.getBuffer()), qsizetype(buffer.getSize()));
}

QByteArray deflated(const QByteArray &data)
{
    // qCompress puts the length in front of a zlib stream; FlateDecode
    // wants the stream alone.
    return qCompress(data, 9).mid(4);
}

} // namespace printing
