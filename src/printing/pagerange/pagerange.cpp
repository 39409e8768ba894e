// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagerange.h"
#include "core/reasontext.h"
#include "printing/pdf/pdfdocument.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
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

void keepRanges(PdfDocument &document, const PageRanges &ranges)
{
    document.keepPages([&ranges](int page) { return ranges.contains(page); });
}

SelectedPages selectPages(const QByteArray &pdf, const PageRanges &ranges)
{
    std::optional<PdfDocument> document = PdfDocument::read(pdf);
    if (!document)
        return {{}, core::reasonText(QT_TRANSLATE_NOOP("Reason", "its PDF could not be read"))};
    keepRanges(*document, ranges);
    if (document->keptPageCount() == 0)
        return {{}, core::reasonText(QT_TRANSLATE_NOOP("Reason", "no page of it is in the range %1")).arg(ranges.text())};
    // Untouched, a document printed whole goes out as it came.
    std::optional<QByteArray> bytes = document->bytes();
    if (!bytes)
        return {{}, core::reasonText(QT_TRANSLATE_NOOP("Reason", "its PDF could not be read"))};
    return {std::move(*bytes), {}};
}

int pageCount(const QByteArray &pdf)
{
    return pdfPageCount(pdf);
}

} // namespace printing
