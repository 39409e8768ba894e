// SPDX-License-Identifier: GPL-3.0-or-later
#include "contentspage.h"

#include "printing/pdf/pdfdocument.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <optional>

using namespace Qt::StringLiterals;

namespace printing {

namespace {

QString contentsTitle()
{
    return QCoreApplication::translate("printing::Contents", "Contents");
}

// The engine's PDF of the page at `path`; nothing when it failed.
std::optional<QByteArray> render(core::DocumentRenderer &renderer, const QString &path, const QPageLayout &layout,
                                 const core::Readiness &readiness)
{
    std::optional<QByteArray> pdf;
    QEventLoop loop;
    const QMetaObject::Connection done = QObject::connect(
        &renderer, &core::DocumentRenderer::rendered, &loop, [&pdf, &loop](quint64, const core::RenderedDocument &document) {
            if (document.state != core::RenderedDocument::State::Failed)
                pdf = document.pdf;
            loop.quit();
        });
    renderer.render(1, path, layout, readiness);
    // The renderer answers once, within its bound, whatever the page does.
    loop.exec();
    QObject::disconnect(done);
    return pdf;
}

bool write(const QString &path, const QString &html)
{
    QFile file(path);
    const QByteArray bytes = html.toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The pages a PDF of `pages` pages takes in front of the documents: one
// more where each document starts on a sheet of its own.
int frontPages(int pages, bool evenPages)
{
    return evenPages && pages % 2 == 1 ? pages + 1 : pages;
}

} // namespace

QString contentsHtml(const std::vector<PdfCombiner::Start> &starts, int shift)
{
    const QString title = contentsTitle().toHtmlEscaped();
    QString html = u"<!doctype html><html><head><meta charset=\"utf-8\"><title>"_s + title
        + u"</title><style>body{font-family:sans-serif}table{width:100%;border-collapse:collapse}"
          "td{padding:.2em 0;vertical-align:top}td.page{text-align:right;padding-left:1em;white-space:nowrap}"
          "</style></head><body><h1>"_s
        + title + u"</h1><table>"_s;
    for (const PdfCombiner::Start &start : starts) {
        html += u"<tr><td>"_s + start.title.toHtmlEscaped() + u"</td><td class=\"page\">"_s
            + QString::number(start.page + shift) + u"</td></tr>"_s;
    }
    return html + u"</table></body></html>"_s;
}

QString addContents(CombiningSink &sink, core::DocumentRenderer &renderer, const QPageLayout &layout,
                    const core::Readiness &readiness)
{
    const std::vector<PdfCombiner::Start> starts = sink.starts();
    if (starts.empty())
        return {};
    QTemporaryDir dir;
    if (!dir.isValid())
        return QCoreApplication::translate("printing::Contents", "no temporary folder could be made for it");
    const QString path = dir.filePath(QStringLiteral("contents.html"));
    // Guessed one page first; a longer contents moves every number on, and
    // may then take a page more itself, so it is made again until it holds.
    int shift = frontPages(1, sink.evenPages());
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!write(path, contentsHtml(starts, shift)))
            return QCoreApplication::translate("printing::Contents", "it could not be written");
        const std::optional<QByteArray> pdf = render(renderer, path, layout, readiness);
        if (!pdf)
            return QCoreApplication::translate("printing::Contents", "the engine could not make it");
        const std::optional<PdfDocument> read = PdfDocument::read(*pdf);
        if (!read)
            return QCoreApplication::translate("printing::Contents", "the engine could not make it");
        const int needed = frontPages(read->pageCount(), sink.evenPages());
        if (needed == shift)
            return sink.addFront(*pdf, contentsTitle()) ? QString() : QCoreApplication::translate("printing::Contents", "it could not be added");
        shift = needed;
    }
    return QCoreApplication::translate("printing::Contents", "its length would not settle");
}

} // namespace printing
