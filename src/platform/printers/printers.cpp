// SPDX-License-Identifier: GPL-3.0-or-later
#include "printers.h"

#ifdef TAVIMARK_HAVE_CUPS
#include "cupssink.h"

#include <cups/cups.h>
#else
#include "rastersink.h"
#endif

using core::PrintSink;

namespace platform {

std::unique_ptr<PrintSink> makePrinterSink(const QString &server)
{
#ifdef TAVIMARK_HAVE_CUPS
    return std::make_unique<CupsSink>(server);
#else
    Q_UNUSED(server)
    return std::make_unique<RasterSink>();
#endif
}

#ifdef TAVIMARK_HAVE_CUPS
std::optional<QList<PrinterName>> listPrinters()
{
    // The configuration keeps the host and its port apart.
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 10'000, nullptr);
    if (!http)
        return std::nullopt;
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    const bool answered = count > 0 || cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
    QList<PrinterName> printers;
    for (int i = 0; i < count; ++i) {
        // Instances are the user's saved option sets, not queues.
        if (!dests[i].instance)
            printers.append({QString::fromUtf8(dests[i].name), dests[i].is_default != 0});
    }
    cupsFreeDests(count, dests);
    httpClose(http);
    if (!answered)
        return std::nullopt;
    return printers;
}
#else
std::optional<QList<PrinterName>> listPrinters()
{
    return std::nullopt;
}
#endif

} // namespace platform
