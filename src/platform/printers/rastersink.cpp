// SPDX-License-Identifier: GPL-3.0-or-later
#include "rastersink.h"
#include "core/reasontext.h"

#include "core/jobtitle.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfDocument>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>

using core::appliedByTheProgram;
using core::JobOption;
using core::JobTicket;
using core::jobTitle;
using core::layoutFor;
using core::noDefaultPrinter;
namespace option = core::option;
using core::PrinterSettings;
using core::printLayout;
using core::SinkAnswer;
using core::SinkProblem;
using core::StopToken;

namespace platform {

namespace {
// Finer than this only makes the job bigger, not the print sharper.
constexpr int MaxDotsPerInch = 300;
} // namespace

std::optional<SinkProblem> RasterSink::problem(const PrinterSettings &settings, StopToken &)
{
    // Without CUPS only the default printer and its own options are at hand.
    if (!settings.printer.isEmpty() || std::any_of(settings.options.cbegin(), settings.options.cend(), [](const JobOption &option) {
            return option.name != option::Media && !appliedByTheProgram(option.name);
        }))
        return SinkProblem{QCoreApplication::translate(
                               "platform::Printers",
                               "Only the default printer with its own options can be used here, so nothing was "
                               "printed."),
                           true};
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return SinkProblem{noDefaultPrinter()};
    m_layout = layoutFor(settings, printLayout(info.defaultPageSize()));
    m_copies = settings.copies;
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
        return {SinkAnswer::Kind::DocumentRefused,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "its pages could not be read back"))};

    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(jobTitle(ticket.entry)));
    printer.setCopyCount(m_copies);
    printer.setFullPage(true);  // the engine's pages carry their margins already
    QPainter painter;
    if (!painter.begin(&printer))
        return {SinkAnswer::Kind::PrinterFailed,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer did not take it"))};
    const int dpi = std::min(printer.resolution(), MaxDotsPerInch);
    for (int page = 0; page < document.pageCount(); ++page) {
        if (stop.abandoned()) {
            printer.abort();
            return {SinkAnswer::Kind::PrinterFailed,
                    core::reasonText(QT_TRANSLATE_NOOP("Reason", "printing was abandoned"))};
        }
        if (page > 0)
            printer.newPage();
        const QSizeF points = document.pagePointSize(page);
        const QImage image = document.render(page, (points * dpi / 72.0).toSize());
        painter.drawImage(QRectF(printer.paperRect(QPrinter::DevicePixel)), image);
        stop.progressed();
    }
    if (!painter.end())
        return {SinkAnswer::Kind::PrinterFailed,
                core::reasonText(QT_TRANSLATE_NOOP("Reason", "the printer did not take it"))};
    return {SinkAnswer::Kind::Taken, {}};
}

} // namespace platform
