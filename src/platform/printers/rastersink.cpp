#include "rastersink.h"

#include "core/jobtitle.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

namespace platform {

namespace {
// Finer than this only makes the job bigger, not the print sharper.
constexpr int MaxDotsPerInch = 300;
} // namespace

std::optional<QString> RasterSink::problem(StopToken &)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return noDefaultPrinter();
    m_layout = printLayout(info.defaultPageSize());
    return std::nullopt;
}

SinkAnswer RasterSink::send(const QByteArray &pdf, const JobTicket &ticket, StopToken &stop)
{
    QByteArray bytes = pdf;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() == 0)
        return {SinkAnswer::Kind::DocumentRefused, QStringLiteral("its pages could not be read back")};

    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(jobTitle(ticket.entry)));
    printer.setCopyCount(ticket.copies);
    printer.setFullPage(true);  // the engine's pages carry their margins already
    QPainter painter;
    if (!painter.begin(&printer))
        return {SinkAnswer::Kind::PrinterFailed, QStringLiteral("the printer did not take it")};
    const int dpi = std::min(printer.resolution(), MaxDotsPerInch);
    for (int page = 0; page < document.pageCount(); ++page) {
        if (stop.abandoned()) {
            printer.abort();
            return {SinkAnswer::Kind::PrinterFailed, QStringLiteral("printing was abandoned")};
        }
        if (page > 0)
            printer.newPage();
        const QSizeF points = document.pagePointSize(page);
        const QImage image = document.render(page, (points * dpi / 72.0).toSize());
        painter.drawImage(QRectF(printer.paperRect(QPrinter::DevicePixel)), image);
        stop.progressed();
    }
    if (!painter.end())
        return {SinkAnswer::Kind::PrinterFailed, QStringLiteral("the printer did not take it")};
    return {SinkAnswer::Kind::Taken, {}};
}

} // namespace platform
