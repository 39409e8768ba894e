// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The header and footer every printed page carries: the document's title and
// "Page x of y" in the top margin, its address and the date of the run in the
// bottom margin. They are laid over the PDF the browser engine made for one
// document, as text, so the job stays a vector PDF.
//
// Which title or address a document has, and whether headings are wanted at
// all, is not decided here: the caller passes the texts.

#include "printing/pdf/pdfdocument.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace printing {

struct PageHeadings {
    QString title;     // top left, cut at its end when it does not fit
    QString address;   // bottom left, as the entry stands in the list; cut in the middle
    QString dateText;  // bottom right, already formatted (see runStartText)
};

// The given PDF with the headings drawn in the top and bottom page margins of
// every page; nothing when `pdf` cannot be read as a PDF or has no pages.
// Safe to call from any thread while a QGuiApplication exists.
std::optional<QByteArray> addHeadersAndFooters(const QByteArray &pdf, const PageHeadings &headings);
// The same, on a document the caller goes on changing and writes itself;
// false, and the document left as it was, when the headings cannot be laid.
bool addHeadersAndFooters(PdfDocument &document, const PageHeadings &headings);

// When a run started, as the footer shows it: the locale's short date and time.
QString runStartText(const QDateTime &start, const QLocale &locale = QLocale());

} // namespace printing
