#pragma once

#include "core/desktop.h"
#include "core/printersettings.h"

#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPrinter>

#include <memory>

// The printer settings dialog and the two ways across between the program's
// settings and the QPrinter the dialog edits. Only the dialog itself needs a
// screen; the mappings can be tried without one.
namespace platform {

// What a queue does when a job says nothing, and what it offers at all: the
// settings store only a choice the queue offers that differs from its
// default, so an untouched dialog adds no option a queue without a driver
// would refuse. (The dialog shows such a queue as colour on A4 paper all
// the same.)
struct PrinterDefaults {
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageSize pageSize;  // invalid when the queue names none
    QPrinter::ColorMode colorMode = QPrinter::GrayScale;
    QList<QPrinter::DuplexMode> duplexModes;
    QList<QPageSize> pageSizes;
    QList<QPrinter::ColorMode> colorModes;
};

// The queue's own defaults and offers, as the print system reports them.
PrinterDefaults defaultsOf(const QString &printerName);

// What the dialog leaves in its QPrinter, in the terms the settings need.
struct PrinterChoice {
    QString printer;
    int copies = 1;
    QPrinter::DuplexMode duplex = QPrinter::DuplexNone;
    QPageSize pageSize;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPrinter::ColorMode colorMode = QPrinter::GrayScale;
    QPageRanges pages;  // empty: all pages
};
PrinterChoice choiceOf(const QPrinter &printer);

// Sets `printer` up as `settings` ask; what they leave unsaid stays as the
// queue has it. A page range is carried over only when it is a single one.
void applySettings(const PrinterSettings &settings, QPrinter &printer);

// The settings a choice stands for: its queue by name, its copies, and an
// option for each thing in which it differs from `defaults` where the queue
// offers it; orientation and pages always, since the program itself lays
// them out.
PrinterSettings settingsFrom(const PrinterChoice &choice, const PrinterDefaults &defaults);

// The real dialog: the system's print dialog, titled "Printer Settings", its
// accept button reading "OK".
std::unique_ptr<PrinterSettingsEditor> makePrinterDialog();

} // namespace platform
