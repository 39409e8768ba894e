#include "printers.h"

#ifdef TAVIMARK_HAVE_CUPS
#include "cupssink.h"
#else
#include "rastersink.h"
#endif

namespace platform {

std::unique_ptr<PrintSink> makePrinterSink(const QString &server, const QString &destination)
{
#ifdef TAVIMARK_HAVE_CUPS
    return std::make_unique<CupsSink>(server, destination);
#else
    Q_UNUSED(server)
    Q_UNUSED(destination)
    return std::make_unique<RasterSink>();
#endif
}

} // namespace platform
