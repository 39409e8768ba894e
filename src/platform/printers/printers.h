// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/printsink.h"

#include <QList>
#include <QString>

#include <memory>

namespace platform {

// The printers runs print on: the CUPS queues on `server` (empty: wherever
// the client configuration points), each run on the queue its settings name,
// or the default printer through QPrinter where CUPS is not at hand.
std::unique_ptr<core::PrintSink> makePrinterSink(const QString &server = {});

// One queue a user can print on.
struct PrinterName {
    QString name;
    bool isDefault = false;
};
// Every queue where the client configuration points (CUPS_SERVER, say), in
// the print system's order; nothing when the print system cannot be reached.
std::optional<QList<PrinterName>> listPrinters();


} // namespace platform
