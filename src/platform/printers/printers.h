#pragma once

#include "core/printsink.h"

#include <QString>

#include <memory>

namespace platform {

// The printer a run prints on: the CUPS queue `destination` (empty: the
// default one) on `server` (empty: wherever the client configuration points),
// or the default printer through QPrinter where CUPS is not at hand.
std::unique_ptr<PrintSink> makePrinterSink(const QString &server = {}, const QString &destination = {});


} // namespace platform
